#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/Bmp.h"
#include "model/MapAnalysis.h"
#include "model/PictureArrays.h"

namespace tvlc {
namespace {

struct TExpectedShape {
  uint32_t label;
  std::string hex;
  int left, top, right, bottom, points, roundedWidth, roundedHeight;
};

std::vector<TExpectedShape> ReadExpected(const std::string& path) {
  std::ifstream in(path);
  std::vector<TExpectedShape> shapes;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) f.push_back(cell);
    if (f.size() == 10) f.insert(f.begin() + 2, "");  // label 0 has an empty hex cell
    shapes.push_back({uint32_t(std::stoul(f[1])), f[2], std::stoi(f[3]), std::stoi(f[4]),
                      std::stoi(f[5]), std::stoi(f[6]), std::stoi(f[7]), std::stoi(f[8]),
                      std::stoi(f[9])});
  }
  return shapes;
}

class MapAnalysisOnRealMaps : public ::testing::TestWithParam<std::string> {};

TEST_P(MapAnalysisOnRealMaps, MatchesTheExpectedShapeList) {
  const std::string base = GetParam();
  const std::string dir = base == "camera_felzenszwalb" ? std::string(TVLC_TEST_DATA) + "/../../samples/"
                                                        : std::string(TVLC_TEST_DATA) + "/maps/";
  const TImage map = ReadBmpFile(dir + base + ".bmp");
  const auto expected = ReadExpected(std::string(TVLC_TEST_DATA) + "/maps/" + base + ".shapes.csv");
  int64_t lastIndex = -1;
  const TShapeList shapes =
      LocateShapes(ColorLabels(map), map.Width(), map.Height(), nullptr, 0,
                   [&](int64_t index) {
                     ASSERT_EQ(index, lastIndex + 1);
                     lastIndex = index;
                   });
  EXPECT_EQ(lastIndex, int64_t(map.Width()) * map.Height() - 1);
  ASSERT_EQ(shapes.size(), expected.size());
  for (size_t i = 0; i < shapes.size(); ++i) {
    const TShape& s = *shapes[i].Shape;
    const TExpectedShape& e = expected[i];
    SCOPED_TRACE(shapes[i].Name);
    EXPECT_EQ(shapes[i].Name, "Shape " + e.hex);
    EXPECT_EQ(s.ID, e.label);
    EXPECT_EQ(s.Left, e.left);
    EXPECT_EQ(s.Top, e.top);
    EXPECT_EQ(s.Right, e.right);
    EXPECT_EQ(s.Bottom, e.bottom);
    EXPECT_EQ(s.PointCount, e.points);
    EXPECT_EQ(s.RoundedWidth(), e.roundedWidth);
    EXPECT_EQ(s.RoundedHeight(), e.roundedHeight);
  }
}

INSTANTIATE_TEST_SUITE_P(Maps, MapAnalysisOnRealMaps,
                         ::testing::Values("camera_64x48_felzenszwalb", "camera_felzenszwalb",
                                           "camera_felzenszwalb_crop300x200",
                                           "camera_multiotsu_grey8",
                                           "chelsea_grey_301x203_slic_grey8"));

TEST(MapAnalysis, OneLevelGivesOneShapeOverTheWholeMap) {
  auto map = std::make_shared<const std::vector<int32_t>>(12, 0);
  const TShapeList shapes = LocateShapes(map, 4, 3, nullptr, 0);
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].Name, "Shape ");
  EXPECT_EQ(shapes[0].Shape->Right, 3);
  EXPECT_EQ(shapes[0].Shape->Bottom, 2);
  EXPECT_EQ(shapes[0].Shape->PointCount, 12);
}

TEST(MapAnalysis, RepeatedLabelIsOneShapeInFirstAppearanceOrder) {
  auto map = std::make_shared<const std::vector<int32_t>>(std::vector<int32_t>{10, 20, 10});
  const TShapeList shapes = LocateShapes(map, 3, 1, nullptr, 0);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0].Shape->ID, 10u);
  EXPECT_EQ(shapes[0].Shape->Left, 0);
  EXPECT_EQ(shapes[0].Shape->Right, 2);
  EXPECT_EQ(shapes[0].Shape->PointCount, 2);
  EXPECT_EQ(shapes[1].Shape->ID, 20u);
  EXPECT_EQ(shapes[1].Name, "Shape 14");
}

TEST(MapAnalysis, ShapesShareThePictureAndMapArrays) {
  auto map = std::make_shared<const std::vector<int32_t>>(std::vector<int32_t>{1, 2});
  auto pic = std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{5, 6});
  const TShapeList shapes = LocateShapes(map, 2, 1, pic, 2);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[1].Shape->PicData, pic);
  EXPECT_EQ(shapes[1].Shape->MapData, map);
  EXPECT_EQ(shapes[1].Shape->PicWidth, 2);
}

TEST(MapAnalysis, FindsShapesWiderThanTheLimit) {
  const int32_t width = kMaxShapeExtent + 1;
  auto map = std::make_shared<const std::vector<int32_t>>(size_t(width), 3);
  const TShapeList shapes = LocateShapes(map, width, 1, nullptr, 0);
  ASSERT_NE(FindOversizeShape(shapes), nullptr);
  auto small = std::make_shared<const std::vector<int32_t>>(size_t(kMaxShapeExtent), 3);
  EXPECT_EQ(FindOversizeShape(LocateShapes(small, kMaxShapeExtent, 1, nullptr, 0)), nullptr);
}

}  // namespace
}  // namespace tvlc
