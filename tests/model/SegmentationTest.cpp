// The pieces shared by the segmentation methods: smoothing, numbering and
// colours of regions, the Rand index, parameters and their descriptions.
#include <gtest/gtest.h>

#include <cmath>

#include "model/segmentation/GaussianSmoothing.h"
#include "model/segmentation/RandIndex.h"
#include "model/segmentation/Segmentation.h"

namespace tvlc {
namespace {

TEST(GaussianSmoothing, WeightsAreTruncatedAtFourSigmaAndSumToOne) {
  EXPECT_EQ(GaussianWeights(0.8).size(), 7u);  // radius int(3.2 + 0.5) = 3
  EXPECT_EQ(GaussianWeights(1.0).size(), 9u);  // radius 4
  EXPECT_EQ(GaussianWeights(0.1).size(), 1u);  // radius 0
  const std::vector<double> w = GaussianWeights(0.8);
  double sum = 0.0;
  for (double v : w) sum += v;
  EXPECT_NEAR(sum, 1.0, 1e-15);
  EXPECT_NEAR(w[4] / w[3], std::exp(-1.0 / (2 * 0.64)), 1e-15);
  EXPECT_NEAR(w[6] / w[3], std::exp(-9.0 / (2 * 0.64)), 1e-15);
}

TEST(GaussianSmoothing, ReflectsBordersLikeTheReferenceFilter) {
  // A unit impulse in the middle of 3 x 3, sigma 1, reflected borders; the
  // figures are those published with scikit-image's gaussian filter.
  std::vector<double> impulse(9, 0.0);
  impulse[4] = 1.0;
  const std::vector<double> out = SmoothGaussian(impulse, 3, 3, 1.0);
  const double corner = 0.08767308, edge = 0.12075024, centre = 0.16630671;
  const double expected[9] = {corner, edge, corner, edge, centre, edge, corner, edge, corner};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(out[size_t(i)], expected[i], 5e-9) << i;
}

TEST(GaussianSmoothing, KeepsFlatPicturesAndSumsOnReflectedLines) {
  const std::vector<double> flat(5 * 4, 0.25);
  for (double v : SmoothGaussian(flat, 5, 4, 2.0)) EXPECT_NEAR(v, 0.25, 1e-15);
  // One row of 2 reflects to ... b | a b | b a | a ...: positions 1 and 3
  // away from a read a again, position 2 reads b.
  const std::vector<double> row = SmoothGaussian({1.0, 0.0}, 2, 1, 0.8);
  const std::vector<double> w = GaussianWeights(0.8);  // w[3] is the centre
  EXPECT_NEAR(row[0], w[3] + w[4] + w[6], 1e-15);
  EXPECT_NEAR(row[0] + row[1], 1.0, 1e-15);
  EXPECT_EQ(SmoothGaussian({0.5, 0.0}, 2, 1, 0.0), (std::vector<double>{0.5, 0.0}));
}

TEST(AdjustedRandIndex, KnownValuesAndInvariances) {
  // sum C(n_ij, 2) = 2, rows 6, columns 3, pairs 15: (2 - 1.2) / (4.5 - 1.2).
  EXPECT_NEAR(AdjustedRandIndex({0, 0, 0, 1, 1, 1}, {0, 0, 1, 1, 2, 2}), 0.8 / 3.3, 1e-12);
  EXPECT_NEAR(AdjustedRandIndex({0, 0, 1, 1, 2, 2}, {0, 0, 0, 1, 1, 1}), 0.8 / 3.3, 1e-12);
  // Same partition under other label values.
  EXPECT_EQ(AdjustedRandIndex({3, 3, 7, 7, -1}, {0, 0, 5, 5, 9}), 1.0);
  // Independent halves: below 0.
  EXPECT_LT(AdjustedRandIndex({0, 0, 1, 1}, {0, 1, 0, 1}), 0.0);
  EXPECT_EQ(AdjustedRandIndex({4, 4, 4}, {1, 1, 1}), 1.0);
  EXPECT_EQ(AdjustedRandIndex({}, {}), 1.0);
  EXPECT_THROW(AdjustedRandIndex({1}, {1, 2}), std::invalid_argument);
}

TEST(LabelMap, NumbersRegionsByFirstAppearance) {
  const TLabelMap map = NumberByFirstAppearance(3, 2, {5, 2, 5, 0, 2, 0}, 6);
  EXPECT_EQ(map.Labels, (std::vector<int32_t>{0, 1, 0, 2, 1, 2}));
  EXPECT_EQ(map.Count, 3);
  EXPECT_EQ(map.Width, 3);
  EXPECT_EQ(map.Height, 2);
}

TEST(LabelMap, ColoursAreDistinctAndNeverBlack) {
  EXPECT_EQ(LabelColor(0), 0x9E3779u);
  EXPECT_EQ(LabelColor(1), 0x3C6EF2u);
  EXPECT_EQ(LabelColor(2), 0xDAA66Bu);
  std::vector<bool> used(size_t(1) << 24, false);
  for (int32_t n = 0; n < kMaxMapRegions; ++n) {
    const TColor c = LabelColor(n);
    ASSERT_FALSE(used[c]) << n;
    used[c] = true;
  }
  EXPECT_FALSE(used[0]);
}

TEST(LabelMap, ImageCarriesTheColourOfEveryRegion) {
  const TLabelMap map{2, 2, {0, 1, 1, 2}, 3};
  const TImage image = LabelMapImage(map);
  EXPECT_EQ(image.Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(image.Pixel(0, 0), LabelColor(0));
  EXPECT_EQ(image.Pixel(1, 0), LabelColor(1));
  EXPECT_EQ(image.Pixel(0, 1), LabelColor(1));
  EXPECT_EQ(image.Pixel(1, 1), LabelColor(2));
}

TEST(SegmentParams, DescriptionsAndNames) {
  TSegmentParams params;
  EXPECT_EQ(Describe(params), "felzenszwalb (scale 250, sigma 0.8, min size 100)");
  params.Method = TSegmentMethod::Slic;
  EXPECT_EQ(Describe(params), "slic (400 segments, compactness 0.3)");
  params.Slic = {1500, 1e-5};
  EXPECT_EQ(Describe(params), "slic (1500 segments, compactness 1e-05)");
  EXPECT_EQ(MethodNamed("slic"), TSegmentMethod::Slic);
  EXPECT_EQ(MethodNamed("felzenszwalb"), TSegmentMethod::Felzenszwalb);
  EXPECT_EQ(MethodNamed("SLIC"), std::nullopt);
  EXPECT_EQ(MethodNamed(""), std::nullopt);
}

TEST(SegmentParams, BoundsOfEveryParameter) {
  TSegmentParams p;
  EXPECT_EQ(ParamsError(p, 100), "");
  p.Felzenszwalb.Scale = -1;
  EXPECT_EQ(ParamsError(p, 100), "scale -1 is not between 0 and 1e+09");
  p.Felzenszwalb.Scale = NAN;
  EXPECT_EQ(ParamsError(p, 100), "scale nan is not between 0 and 1e+09");
  p.Felzenszwalb = {0.0, 50.5, 0};
  EXPECT_EQ(ParamsError(p, 100), "sigma 50.5 is not between 0 and 50");
  p.Felzenszwalb = {0.0, 0.0, -3};
  EXPECT_EQ(ParamsError(p, 100), "min size -3 is below 0");

  p.Method = TSegmentMethod::Slic;
  p.Slic = {100, 0.3};
  EXPECT_EQ(ParamsError(p, 100), "");
  p.Slic.Segments = 101;
  EXPECT_EQ(ParamsError(p, 100), "101 segments are not between 1 and 100");
  p.Slic.Segments = 0;
  EXPECT_EQ(ParamsError(p, 1 << 30), "0 segments are not between 1 and 16777215");
  p.Slic = {10, 0.0};
  EXPECT_EQ(ParamsError(p, 100), "compactness 0 is not above 0 and up to 1e+06");
  p.Slic.Compactness = INFINITY;
  EXPECT_EQ(ParamsError(p, 100), "compactness inf is not above 0 and up to 1e+06");
}

TEST(SegmentParams, SegmentRunsTheChosenMethod) {
  std::vector<uint8_t> levels(30 * 20);
  for (size_t i = 0; i < levels.size(); ++i) levels[i] = uint8_t(i * 7 % 256);
  TSegmentParams params;
  params.Felzenszwalb = {50.0, 0.5, 5};
  EXPECT_EQ(Segment(levels, 30, 20, params).Labels,
            SegmentFelzenszwalb(levels, 30, 20, params.Felzenszwalb).Labels);
  params.Method = TSegmentMethod::Slic;
  params.Slic = {6, 0.2};
  EXPECT_EQ(Segment(levels, 30, 20, params).Labels,
            SegmentSlic(levels, 30, 20, params.Slic).Labels);
}

}  // namespace
}  // namespace tvlc
