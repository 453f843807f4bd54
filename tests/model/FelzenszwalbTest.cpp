// Graph-based segmentation: agreement with maps made by scikit-image from
// the same pictures and parameters, and the rules on small pictures.
#include <gtest/gtest.h>

#include "SegmentationTestSupport.h"
#include "model/segmentation/Felzenszwalb.h"
#include "model/segmentation/RandIndex.h"

namespace tvlc {
namespace {

using namespace segtest;

struct TReferenceMap {
  std::string Picture, Map;
  TFelzenszwalbParams Params;
  size_t Regions;  // distinct labels of the reference map
};

class FelzenszwalbReference : public ::testing::TestWithParam<TReferenceMap> {};

TEST_P(FelzenszwalbReference, AgreesWithTheReferenceMap) {
  const TReferenceMap& reference = GetParam();
  const TGreyPicture picture = ReadPicture(reference.Picture);
  const std::vector<int32_t> expected = ReadMapLabels(reference.Map);
  std::vector<double> fractions;
  const TLabelMap map =
      SegmentFelzenszwalb(picture.Levels, picture.Width, picture.Height, reference.Params,
                          [&](double f) { fractions.push_back(f); });
  ASSERT_EQ(map.Labels.size(), expected.size());
  const double ari = AdjustedRandIndex(map.Labels, expected);
  RecordProperty("adjusted_rand_index", std::to_string(ari));
  EXPECT_GE(ari, 0.99) << "adjusted Rand index " << ari;
  EXPECT_NEAR(double(map.Count), double(reference.Regions), 0.05 * double(reference.Regions));
  ExpectNumberedByFirstAppearance(map);
  ASSERT_FALSE(fractions.empty());
  EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
  EXPECT_EQ(fractions.back(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(ScikitImageMaps, FelzenszwalbReference,
                         ::testing::Values(TReferenceMap{SampleFile("camera.bmp"),
                                                         SampleFile("camera_felzenszwalb.bmp"),
                                                         {250.0, 0.8, 100},
                                                         86},
                                           TReferenceMap{
                                               DataFile("pictures/camera_64x48.bmp"),
                                               DataFile("maps/camera_64x48_felzenszwalb.bmp"),
                                               {100.0, 0.8, 20},
                                               22}));

// A picture of two flat halves of the given levels.
std::vector<uint8_t> TwoHalves(int32_t width, int32_t height, uint8_t left, uint8_t right) {
  std::vector<uint8_t> levels(size_t(width) * height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      levels[size_t(y) * width + x] = x < width / 2 ? left : right;
  return levels;
}

TEST(Felzenszwalb, FlatPictureIsOneRegion) {
  const TLabelMap map = SegmentFelzenszwalb(std::vector<uint8_t>(40 * 30, 77), 40, 30, {});
  EXPECT_EQ(map.Count, 1);
  EXPECT_EQ(map.Width, 40);
  EXPECT_EQ(map.Height, 30);
  EXPECT_EQ(map.Labels, std::vector<int32_t>(40 * 30, 0));
}

TEST(Felzenszwalb, StepSplitsOrNotByItsHeightAgainstTheThreshold) {
  // Without smoothing a flat half joins at weight 0; the step edge of
  // weight d / 255 then joins the halves only when it is below
  // k / |C| = (scale / 255) / 200 for halves of 200 pixels.
  const std::vector<uint8_t> levels = TwoHalves(20, 20, 100, 110);
  TFelzenszwalbParams params{1000.0, 0.0, 0};  // k/|C| = 5 levels
  TLabelMap map = SegmentFelzenszwalb(levels, 20, 20, params);
  EXPECT_EQ(map.Count, 2);
  EXPECT_EQ(map.Labels[0], 0);
  EXPECT_EQ(map.Labels[19], 1);
  params.Scale = 2100.0;  // k/|C| = 10.5 levels, above the step
  map = SegmentFelzenszwalb(levels, 20, 20, params);
  EXPECT_EQ(map.Count, 1);
}

TEST(Felzenszwalb, RegionsBelowTheMinimumSizeJoinANeighbour) {
  // A 2 x 2 bright square in a flat field stays apart until min size 5.
  std::vector<uint8_t> levels(10 * 10, 20);
  for (int y = 4; y < 6; ++y)
    for (int x = 4; x < 6; ++x) levels[size_t(y) * 10 + x] = 200;
  TFelzenszwalbParams params{10.0, 0.0, 4};
  EXPECT_EQ(SegmentFelzenszwalb(levels, 10, 10, params).Count, 2);
  params.MinSize = 5;
  EXPECT_EQ(SegmentFelzenszwalb(levels, 10, 10, params).Count, 1);
}

TEST(Felzenszwalb, DiagonalNeighboursAreJoined) {
  // A dark diagonal line in a bright field is one region: its pixels touch
  // only at corners.
  std::vector<uint8_t> levels(8 * 8, 250);
  for (int i = 0; i < 8; ++i) levels[size_t(i) * 8 + i] = 0;
  const TLabelMap map = SegmentFelzenszwalb(levels, 8, 8, {1.0, 0.0, 0});
  for (int i = 1; i < 8; ++i) EXPECT_EQ(map.Labels[size_t(i) * 8 + i], map.Labels[0]);
  // The field either side of the line is one region too: (1, 0) and (0, 1)
  // are neighbours across the line's corner.
  EXPECT_EQ(map.Count, 2);
  EXPECT_EQ(map.Labels[1], map.Labels[8]);
}

TEST(Felzenszwalb, TinyAndEmptyPictures) {
  EXPECT_EQ(SegmentFelzenszwalb({9}, 1, 1, {}).Count, 1);
  const TLabelMap line = SegmentFelzenszwalb({0, 255, 0}, 3, 1, {0.0, 0.8, 0});
  EXPECT_EQ(line.Labels, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(SegmentFelzenszwalb({}, 0, 0, {}).Count, 0);
  EXPECT_THROW(SegmentFelzenszwalb({}, 1 << 15, 1 << 15, {}), std::length_error);
}

}  // namespace
}  // namespace tvlc
