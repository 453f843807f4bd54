#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/RectGenerator.h"

namespace tvlc {
namespace {

TEST(RectGenerator, TilesA512PictureWith64Squares) {
  const TRectangleMap grid = GenerateRectangles(512, 512, 64, 64, nullptr, 0);
  ASSERT_EQ(grid.Shapes.size(), 64u);
  for (size_t n = 0; n < grid.Shapes.size(); ++n) {
    const TShape& s = *grid.Shapes[n].Shape;
    EXPECT_EQ(grid.Shapes[n].Name, "Shape " + std::to_string(n));
    EXPECT_EQ(s.ID, n);
    EXPECT_EQ(s.BoxWidth(), 64);
    EXPECT_EQ(s.BoxHeight(), 64);
    EXPECT_EQ(s.PointCount, 4096);
  }
  EXPECT_EQ(grid.Shapes[9].Shape->Left, 64);
  EXPECT_EQ(grid.Shapes[9].Shape->Top, 64);
  EXPECT_EQ((*grid.MapData)[size_t(100) * 512 + 130], 8 + 2);  // row 1, column 2
  EXPECT_EQ(grid.Image.Pixel(130, 100), TColor(10));
  EXPECT_TRUE(grid.Shapes[10].Shape->Contains(130, 100));
}

TEST(RectGenerator, ProgressMovesPerRectangleAndInputComesPerRow) {
  std::vector<std::string> calls;
  GenerateRectangles(
      100, 50, 64, 32, nullptr, 0,
      [&](int64_t reached) { calls.push_back(std::to_string(reached)); },
      [&] { calls.push_back("row"); });
  // Rectangles at (0, 0), (64, 0), (0, 32), (64, 32) of a 100-pixel-wide map.
  EXPECT_EQ(calls, (std::vector<std::string>{"0", "64", "row", "3200", "3264", "row"}));
}

TEST(RectGenerator, EdgeRectanglesKeepFullBoxesPastTheMap) {
  const TRectangleMap grid = GenerateRectangles(100, 50, 64, 32, nullptr, 0);
  ASSERT_EQ(grid.Shapes.size(), 4u);
  const TShape& s = *grid.Shapes[1].Shape;
  EXPECT_EQ(s.Left, 64);
  EXPECT_EQ(s.Right, 127);
  EXPECT_EQ(s.PointCount, 2048);
  EXPECT_TRUE(s.Contains(99, 0));
  EXPECT_FALSE(s.Contains(100, 0));  // in the box, past the map
  EXPECT_EQ((*grid.MapData)[99], 1);
  EXPECT_EQ((*grid.MapData)[size_t(49) * 100 + 99], 3);
  EXPECT_EQ(grid.Image.Pixel(70, 40), TColor(3));
}

TEST(RectGenerator, PictureSizedRectangleIsOneShape) {
  const TRectangleMap grid = GenerateRectangles(30, 20, 30, 20, nullptr, 0);
  ASSERT_EQ(grid.Shapes.size(), 1u);
  EXPECT_EQ(grid.Shapes[0].Name, "Shape 0");
  EXPECT_EQ(grid.Shapes[0].Shape->PointCount, 600);
}

TEST(RectGenerator, HugeSizesDoNotOverflowTheGridLoop) {
  const TRectangleMap grid = GenerateRectangles(10, 10, kMaxShapeExtent, kMaxShapeExtent, nullptr, 0);
  ASSERT_EQ(grid.Shapes.size(), 1u);
  EXPECT_EQ(grid.Shapes[0].Shape->PointCount, kMaxShapeExtent * kMaxShapeExtent);
  EXPECT_THROW(GenerateRectangles(10, 10, 0, 5, nullptr, 0), std::invalid_argument);
  // A full rectangle's point count would overflow.
  EXPECT_THROW(GenerateRectangles(10, 10, INT32_MAX, INT32_MAX, nullptr, 0), std::invalid_argument);
  EXPECT_THROW(GenerateRectangles(10, 10, 1, kMaxShapeExtent + 1, nullptr, 0),
               std::invalid_argument);
}

}  // namespace
}  // namespace tvlc
