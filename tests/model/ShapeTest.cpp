#include <gtest/gtest.h>

#include "model/Shape.h"

namespace tvlc {
namespace {

// A map of w x h labels from a row-major list.
TMapData MakeMap(std::vector<int32_t> labels) {
  return std::make_shared<const std::vector<int32_t>>(std::move(labels));
}

TEST(RoundUpPow2, FollowsTheExtentRule) {
  EXPECT_EQ(RoundUpPow2(0), 1);   // extent 1
  EXPECT_EQ(RoundUpPow2(1), 2);   // extent 2
  EXPECT_EQ(RoundUpPow2(4), 8);   // extent 5
  EXPECT_EQ(RoundUpPow2(7), 8);   // extent 8
  EXPECT_EQ(RoundUpPow2(8), 16);  // extent 9
  EXPECT_EQ(RoundUpPow2(16383), 16384);
  // Only the low 16 bits of the extent take part.
  EXPECT_EQ(RoundUpPow2(0x10000 + 4), 8);
}

TEST(HexLabel, DropsLeadingZeroBytes) {
  EXPECT_EQ(HexLabel(8421504), "808080");
  EXPECT_EQ(HexLabel(657930), "0A0A0A");
  EXPECT_EQ(HexLabel(1), "01");
  EXPECT_EQ(HexLabel(65536), "010000");
  EXPECT_EQ(HexLabel(0), "");
  EXPECT_EQ(HexLabel(0xFFFFFFFFu), "FFFFFFFF");
  EXPECT_EQ(HexLabel(0x01000000u), "01000000");
}

TEST(Shape, CreateStartsAsOnePixel) {
  TShape s(7, nullptr, 0, MakeMap({7}), 1, 3, 4);
  EXPECT_EQ(s.Left, 3);
  EXPECT_EQ(s.Right, 3);
  EXPECT_EQ(s.Top, 4);
  EXPECT_EQ(s.Bottom, 4);
  EXPECT_EQ(s.PointCount, 1);
  EXPECT_FALSE(s.HasSpectrum());
  EXPECT_EQ(s.NormKind, 2);
  EXPECT_EQ(s.NormFactor, 1.0);
  EXPECT_EQ(s.Quality, 0);
  EXPECT_EQ(s.QuantScale, 0.0);
  EXPECT_EQ(s.ModuleCode, 0u);
  EXPECT_EQ(s.TransCode, 0u);
}

TEST(Shape, OnePixelShapeHasNoSlack) {
  TShape s(1, nullptr, 0, MakeMap({1}), 1, 0, 0);
  EXPECT_EQ(s.BoxWidth(), 1);
  EXPECT_EQ(s.RoundedWidth(), 1);
  EXPECT_DOUBLE_EQ(s.RoundingSlack(), 0.0);
  EXPECT_DOUBLE_EQ(s.TotalSlack(), 0.0);
}

TEST(Shape, FiveByNineBoxRoundsToEightBySixteen) {
  TShape s(1, nullptr, 0, MakeMap({1}), 1, 0, 0);
  s.Right = 4;
  s.Bottom = 8;
  s.PointCount = 30;
  EXPECT_EQ(s.RoundedWidth(), 8);
  EXPECT_EQ(s.RoundedHeight(), 16);
  EXPECT_NEAR(s.RoundingSlack(), 64.84375, 1e-12);
  EXPECT_NEAR(s.TotalSlack(), 76.5625, 1e-12);
  s.Right = 7;
  s.Bottom = 15;
  EXPECT_DOUBLE_EQ(s.RoundingSlack(), 0.0);
}

TEST(Shape, ExtentOf16384RoundsTo16384) {
  TShape s(1, nullptr, 0, MakeMap({1}), 1, 0, 0);
  s.Right = 16383;
  EXPECT_EQ(s.RoundedWidth(), 16384);
}

TEST(Shape, AddPointGrowsOnlyForItsLabel) {
  TShape s(5, nullptr, 0, MakeMap({5}), 10, 4, 4);
  EXPECT_FALSE(s.AddPoint(6, 9, 9));
  EXPECT_EQ(s.Right, 4);
  EXPECT_EQ(s.PointCount, 1);
  EXPECT_TRUE(s.AddPoint(5, 6, 2));
  EXPECT_EQ(s.Right, 6);
  EXPECT_EQ(s.Top, 2);
  EXPECT_EQ(s.PointCount, 2);
  EXPECT_TRUE(s.AddPoint(5, 5, 3));  // inside the box: only the count grows
  EXPECT_EQ(s.Left, 4);
  EXPECT_EQ(s.Right, 6);
  EXPECT_EQ(s.Top, 2);
  EXPECT_EQ(s.Bottom, 4);
  EXPECT_EQ(s.PointCount, 3);
  // The comparison is of all 32 bits: label -1 is ID 0xFFFFFFFF.
  TShape all(0xFFFFFFFFu, nullptr, 0, MakeMap({-1}), 1, 0, 0);
  EXPECT_TRUE(all.AddPoint(-1, 0, 0));
}

TEST(Shape, WithoutMapNothingIsContainedOrAdded) {
  TShape s(5, nullptr, 0, nullptr, 0, 0, 0);
  EXPECT_FALSE(s.AddPoint(5, 0, 0));
  EXPECT_FALSE(s.Contains(0, 0));
}

TEST(Shape, ContainsChecksBoxMapAndLabel) {
  // 3 x 2 map: label 1 at (0,0), (2,0) and (1,1).
  TShape s(1, nullptr, 0, MakeMap({1, 2, 1, 2, 1, 2}), 3, 0, 0);
  s.Right = 2;
  s.Bottom = 1;
  EXPECT_TRUE(s.Contains(0, 0));
  EXPECT_FALSE(s.Contains(1, 0));
  EXPECT_TRUE(s.Contains(1, 1));
  EXPECT_FALSE(s.Contains(-1, 0));
  // A box reaching past the map (generated rectangles) contains nothing there.
  s.Right = 5;
  s.Bottom = 5;
  EXPECT_FALSE(s.Contains(3, 0));
  EXPECT_FALSE(s.Contains(0, 2));
}

TEST(Shape, DrawBoundsPaintsFramesAndOutline) {
  // 4 x 4 map with a 2 x 2 block of label 1 at (1,1)..(2,2).
  std::vector<int32_t> labels(16, 0);
  for (int y = 1; y <= 2; ++y)
    for (int x = 1; x <= 2; ++x) labels[y * 4 + x] = 1;
  TShape s(1, nullptr, 0, MakeMap(labels), 4, 1, 1);
  s.Right = 2;
  s.Bottom = 2;
  s.PointCount = 4;
  TImage pic(4, 4, kWhite), map(4, 4, kWhite);
  s.DrawBounds(pic, map);
  // Rounded window 2x2 covers the same rectangle: the red frame wins.
  for (int y = 1; y <= 2; ++y)
    for (int x = 1; x <= 2; ++x) {
      EXPECT_EQ(map.Pixel(x, y), RGB(255, 0, 0));
      EXPECT_EQ(pic.Pixel(x, y), RGB(255, 0, 0));
    }
  EXPECT_EQ(map.Pixel(0, 0), kWhite);
  EXPECT_EQ(map.Pixel(3, 3), kWhite);
}

TEST(Shape, DrawBoundsMarksOutlineBlueInsideBox) {
  // 5 x 5 map, label 1 everywhere: the outline paints over the green box frame
  // on the box edge, the interior stays untouched, and the 8 x 8 window frame
  // covers the left and top edges.
  TShape s(1, nullptr, 0, MakeMap(std::vector<int32_t>(25, 1)), 5, 0, 0);
  s.Right = 4;
  s.Bottom = 4;
  s.PointCount = 25;
  TImage pic(5, 5, kWhite), map(5, 5, kWhite);
  s.DrawBounds(pic, map);
  EXPECT_EQ(map.Pixel(2, 2), kWhite);
  EXPECT_EQ(map.Pixel(0, 2), RGB(255, 0, 0));  // left edge: window frame
  EXPECT_EQ(map.Pixel(4, 2), RGB(0, 0, 255));
  EXPECT_EQ(pic.Pixel(4, 4), RGB(0, 0, 255));
}

TEST(Shape, DrawBoundsLeavesTheBoxFrameGreenOffTheShape) {
  // Diagonal of label 1 in a 3 x 3 map: box 3 x 3, window 4 x 4.
  std::vector<int32_t> labels(9, 0);
  labels[0] = labels[4] = labels[8] = 1;
  TShape s(1, nullptr, 0, MakeMap(labels), 3, 0, 0);
  s.Right = 2;
  s.Bottom = 2;
  TImage pic(3, 3, kWhite), map(3, 3, kWhite);
  s.DrawBounds(pic, map);
  EXPECT_EQ(map.Pixel(2, 1), RGB(0, 128, 0));  // box edge, not in the shape
  EXPECT_EQ(map.Pixel(2, 2), RGB(0, 0, 255));  // shape pixel on the box edge
  EXPECT_EQ(map.Pixel(1, 1), RGB(0, 0, 255));  // diagonal neighbours are outside
  EXPECT_EQ(map.Pixel(2, 0), RGB(255, 0, 0));  // top edge of the window
  EXPECT_EQ(pic.Pixel(2, 1), RGB(0, 128, 0));
}

TEST(Shape, OnePixelShapeIsItsOwnOutline) {
  std::vector<int32_t> labels(9, 0);
  labels[4] = 1;
  TShape s(1, nullptr, 0, MakeMap(labels), 3, 1, 1);
  TImage pic(3, 3, kWhite), map(3, 3, kWhite);
  // Without the frames the pixel would be blue; the frames of a 1x1 box and
  // window paint over it last in red.
  s.DrawBounds(pic, map);
  EXPECT_EQ(map.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(map.Pixel(0, 0), kWhite);
}

TEST(Shape, QualityScaleTable) {
  TShape s(1, nullptr, 0, nullptr, 0, 0, 0);
  s.SetQuality(15);
  EXPECT_DOUBLE_EQ(s.QuantScale, 50.0 / 15);
  s.SetQuality(50);
  EXPECT_DOUBLE_EQ(s.QuantScale, 1.0);
  s.SetQuality(75);
  EXPECT_DOUBLE_EQ(s.QuantScale, 0.5);
  s.SetQuality(99);
  EXPECT_DOUBLE_EQ(s.QuantScale, 2.0 - 99 / 50.0);
  s.SetQuality(100);
  EXPECT_DOUBLE_EQ(s.QuantScale, 1.0);
  s.SetQuality(101);
  EXPECT_EQ(s.Quality, 100);
  s.SetQuality(40);
  s.SetQuality(0);
  EXPECT_EQ(s.Quality, 0);
  EXPECT_DOUBLE_EQ(s.QuantScale, 1.25);  // kept while switched off
}

TEST(Shape, NormalizationFactorsOfSixteenBySixteen) {
  TShape s(1, nullptr, 0, nullptr, 0, 0, 0);
  s.Right = 15;
  s.Bottom = 15;
  const double expected[5] = {16.0, 0.0625, 1.0, 0.5, 4.0};
  for (uint8_t kind = 0; kind < 5; ++kind) {
    s.SetNormKind(kind);
    EXPECT_EQ(s.NormKind, kind);
    EXPECT_DOUBLE_EQ(s.NormFactor, expected[kind]);
  }
  s.SetNormKind(9);
  EXPECT_EQ(s.NormKind, 2);
  EXPECT_EQ(s.NormFactor, 1.0);
}

}  // namespace
}  // namespace tvlc
