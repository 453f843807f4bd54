// SLIC superpixels: the seed grid, agreement with a map made by
// scikit-image, region counts and connectivity.
#include <gtest/gtest.h>

#include "SegmentationTestSupport.h"
#include "model/segmentation/RandIndex.h"
#include "model/segmentation/Slic.h"

namespace tvlc {
namespace {

using namespace segtest;

void ExpectGrid(const TSeedGrid& grid, int32_t startY, int32_t stepY, int32_t startX,
                int32_t stepX) {
  EXPECT_EQ(grid.StartY, startY);
  EXPECT_EQ(grid.StepY, stepY);
  EXPECT_EQ(grid.StartX, startX);
  EXPECT_EQ(grid.StepX, stepX);
}

TEST(SlicSeedGrid, CellsOfEqualSideOnOrdinaryPictures) {
  // sqrt(512 * 512 / 450) = 24.14: start 12, step 24, 21 x 21 seeds.
  ExpectGrid(SeedGrid(512, 512, 450), 12, 24, 12, 24);
  // sqrt(301 * 203 / 50) = 34.96: start 17, step 35.
  ExpectGrid(SeedGrid(301, 203, 50), 17, 35, 17, 35);
  // sqrt(64 * 48 / 10) = 17.53: start 8, step 18.
  ExpectGrid(SeedGrid(64, 48, 10), 8, 18, 8, 18);
}

TEST(SlicSeedGrid, NarrowPicturesGiveTheirWholeExtentToOneCell) {
  // 1000 x 3 with 10 seeds: a square cell of side 17 is taller than the
  // picture, so the cell is 3 high and 1000 / 10 = 100 wide.
  ExpectGrid(SeedGrid(1000, 3, 10), 1, 3, 50, 100);
  ExpectGrid(SeedGrid(3, 1000, 10), 50, 100, 1, 3);
}

TEST(SlicSeedGrid, EveryPixelASeedWhenSeedsAreAsManyAsPixels) {
  ExpectGrid(SeedGrid(4, 3, 12), 0, 1, 0, 1);
  ExpectGrid(SeedGrid(4, 3, 100), 0, 1, 0, 1);
}

TEST(Slic, AgreesWithTheReferenceMapOfChelsea) {
  const TGreyPicture picture = ReadPicture(DataFile("pictures/chelsea_grey_301x203.bmp"));
  const std::vector<int32_t> expected =
      ReadMapLabels(DataFile("maps/chelsea_grey_301x203_slic_grey8.bmp"));
  const TLabelMap map = SegmentSlic(picture.Levels, picture.Width, picture.Height, {50, 0.3});
  ASSERT_EQ(map.Labels.size(), expected.size());
  const double ari = AdjustedRandIndex(map.Labels, expected);
  RecordProperty("adjusted_rand_index", std::to_string(ari));
  EXPECT_GE(ari, 0.95) << "adjusted Rand index " << ari;
  ExpectNumberedByFirstAppearance(map);
}

class SlicCounts : public ::testing::TestWithParam<int32_t> {};

TEST_P(SlicCounts, NearTheRequestAndEveryRegionConnected) {
  const TGreyPicture picture = ReadPicture(DataFile("pictures/chelsea_grey_301x203.bmp"));
  const int32_t requested = GetParam();
  std::vector<double> fractions;
  const TLabelMap map = SegmentSlic(picture.Levels, picture.Width, picture.Height, {requested, 0.3},
                                    [&](double f) { fractions.push_back(f); });
  EXPECT_GE(map.Count, 0.75 * requested);
  EXPECT_LE(map.Count, 1.25 * requested);
  EXPECT_EQ(PiecesPerRegion(map), std::vector<int>(size_t(map.Count), 1));
  ExpectNumberedByFirstAppearance(map);
  ASSERT_FALSE(fractions.empty());
  EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
  EXPECT_EQ(fractions.back(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Requests, SlicCounts, ::testing::Values(20, 100, 400, 1500));

TEST(Slic, CompactnessTradesLevelsForSquareness) {
  // A step inside the grid cells of seed column 25 (cells 21..30): with a
  // small compactness the level difference dominates and no region crosses
  // the step; with a large one the regions are grid cells that cross it.
  const int32_t w = 60, h = 40;
  std::vector<uint8_t> levels(size_t(w) * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) levels[size_t(y) * w + x] = x < 28 ? 10 : 240;
  auto crossings = [&](double compactness) {
    const TLabelMap map = SegmentSlic(levels, w, h, {24, compactness});
    int crossing = 0;
    for (int32_t y = 0; y < h; ++y)
      crossing += map.Labels[size_t(y) * w + 27] == map.Labels[size_t(y) * w + 28];
    return crossing;
  };
  EXPECT_EQ(crossings(0.01), 0);
  EXPECT_GT(crossings(1000.0), 0);
}

TEST(Slic, FlatAndTinyPictures) {
  // A flat picture (range 0) gives grid cells: 4 x 4 seeds on 40 x 40.
  const TLabelMap flat = SegmentSlic(std::vector<uint8_t>(40 * 40, 128), 40, 40, {16, 0.3});
  EXPECT_EQ(flat.Count, 16);
  EXPECT_EQ(PiecesPerRegion(flat), std::vector<int>(16, 1));
  EXPECT_EQ(SegmentSlic({5}, 1, 1, {400, 0.3}).Count, 1);
  EXPECT_EQ(SegmentSlic({}, 0, 0, {}).Count, 0);
  EXPECT_EQ(SegmentSlic({1, 2}, 2, 1, {0, 0.3}).Count, 0);
  EXPECT_THROW(SegmentSlic({}, 1 << 15, 1 << 15, {}), std::length_error);
}

}  // namespace
}  // namespace tvlc
