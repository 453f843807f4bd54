#include "coding/CosineMoments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "FakeTransform.h"
#include "SampleShapes.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

// A region with holes and several pieces, so that no symmetry of the window
// hides a wrong fold.
TShapeMask IrregularMask(uint16_t w, uint16_t h) {
  TShapeMask mask(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) mask[size_t(y) * w + x] = (x * 7 + y * 3 + x * y) % 5 < 3;
  return mask;
}

TShapeData DirectDct(const TShapeMask& mask, uint16_t w, uint16_t h) {
  TShapeData spectrum(mask.size());
  for (uint32_t v = 0; v < h; ++v)
    for (uint32_t u = 0; u < w; ++u)
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
          spectrum[size_t(v) * w + u] +=
              mask[size_t(y) * w + x] * fake::DctFactor(u, x, w) * fake::DctFactor(v, y, h);
  return spectrum;
}

double DirectMoment(const TShapeMask& mask, uint16_t w, uint16_t h, int64_t a, int64_t b) {
  double sum = 0.0;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      if (mask[size_t(y) * w + x])
        sum += std::cos(std::numbers::pi * double(a) * (2.0 * x + 1.0) / (2.0 * w)) *
               std::cos(std::numbers::pi * double(b) * (2.0 * y + 1.0) / (2.0 * h));
  return sum;
}

// G[k][j] for every k, as the moments give it.
TShapeData GramColumn(const TCosineMoments& moments, size_t j, size_t count) {
  TShapeData column(count);
  moments.SubtractGramColumn(j, -1.0, column);
  return column;
}

struct WindowSize {
  uint16_t w, h;
};

class CosineMomentsTest : public ::testing::TestWithParam<WindowSize> {};

TEST_P(CosineMomentsTest, MomentsAreTheCosineSumsOverTheMaskForAnyFrequencies) {
  const auto [w, h] = GetParam();
  const TShapeMask mask = IrregularMask(w, h);
  const TCosineMoments moments(w, h, DirectDct(mask, w, h));
  // Two periods each way, negative frequencies included.
  for (int64_t b = -4 * int64_t(h); b <= 4 * int64_t(h); ++b)
    for (int64_t a = -4 * int64_t(w); a <= 4 * int64_t(w); ++a)
      ASSERT_NEAR(moments.Moment(a, b), DirectMoment(mask, w, h, a, b), 1e-12 * double(mask.size()))
          << a << "," << b;
}

TEST_P(CosineMomentsTest, GramColumnsAreTheInnerProductsOfBasisFunctionsOverTheMask) {
  const auto [w, h] = GetParam();
  const size_t count = size_t(w) * h;
  const TShapeMask mask = IrregularMask(w, h);
  const TCosineMoments moments(w, h, DirectDct(mask, w, h));
  for (size_t j = 0; j < count; ++j) {
    const TShapeData column = GramColumn(moments, j, count);
    for (size_t k = 0; k < count; ++k) {
      double expected = 0.0;
      for (size_t p = 0; p < count; ++p)
        if (mask[p])
          expected += fake::DctFactor(uint32_t(k % w), uint32_t(p % w), w) *
                      fake::DctFactor(uint32_t(k / w), uint32_t(p / w), h) *
                      fake::DctFactor(uint32_t(j % w), uint32_t(p % w), w) *
                      fake::DctFactor(uint32_t(j / w), uint32_t(p / w), h);
      ASSERT_NEAR(column[k], expected, 1e-13) << "k " << k << ", j " << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, CosineMomentsTest,
                         ::testing::Values(WindowSize{1, 1}, WindowSize{1, 8}, WindowSize{8, 1},
                                           WindowSize{8, 4}, WindowSize{4, 16}, WindowSize{16, 8}),
                         [](const auto& info) {
                           return std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

TEST(CosineMoments, SubtractsTheGramColumnScaledByTheGivenMultiple) {
  constexpr uint16_t w = 8, h = 4;
  const TShapeMask mask = IrregularMask(w, h);
  const TCosineMoments moments(w, h, DirectDct(mask, w, h));
  constexpr size_t j = 13;
  const TShapeData column = GramColumn(moments, j, mask.size());
  TShapeData work(mask.size());
  for (size_t k = 0; k < work.size(); ++k) work[k] = 10.0 - double(k);
  moments.SubtractGramColumn(j, 2.5, work);
  for (size_t k = 0; k < work.size(); ++k)
    EXPECT_NEAR(work[k], 10.0 - double(k) - 2.5 * column[k], 1e-13) << k;
}

TEST(CosineMoments, GramDiagonalIsTheDctIIBasisNormsOnRealShapes) {
  const SampleShapes sample =
      LoadSampleShapes(std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp",
                       std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp");
  const TTransDescriptor& dct = *DctIIDescriptor();
  for (const TShapeItem& item : sample.Shapes) {
    SCOPED_TRACE(item.Name);
    const uint16_t w = uint16_t(item.Shape->RoundedWidth());
    const uint16_t h = uint16_t(item.Shape->RoundedHeight());
    const TShapeMask mask = WindowMask(*item.Shape);
    TShapeData maskSpectrum(mask.size()), scratch(mask.size()), norms(mask.size());
    for (size_t p = 0; p < mask.size(); ++p) scratch[p] = maskSpectrum[p] = mask[p];
    ASSERT_EQ(dct.Init(w, h), 0);
    dct.Transform(0, maskSpectrum.data());
    dct.BasisNorms(scratch.data(), norms.data());
    ASSERT_EQ(dct.Done(), 0);

    const TCosineMoments moments(w, h, maskSpectrum);
    for (size_t k = 0; k < mask.size(); ++k)
      ASSERT_NEAR(GramColumn(moments, k, mask.size())[k], norms[k], 1e-12) << k;
  }
}

}  // namespace
}  // namespace tvlc
