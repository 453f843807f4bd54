// The rounding bound of the carried analysis: its constants must cover the
// errors the DCT II and the moment table really make (measured against sums
// in long double), and its decisions must follow from it.
#include "coding/CarriedAnalysisBound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "coding/CosineMoments.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

using Exact = long double;

// The orthonormal DCT II factor of frequency k at x on an axis of length n,
// from a table per length.
Exact Factor(uint32_t k, uint32_t x, uint32_t n) {
  static std::map<uint32_t, std::vector<Exact>> tables;
  std::vector<Exact>& table = tables[n];
  if (table.empty()) {
    table.resize(size_t(n) * n);
    for (uint32_t f = 0; f < n; ++f)
      for (uint32_t p = 0; p < n; ++p)
        table[size_t(f) * n + p] =
            (f == 0 ? std::sqrt(Exact(1) / n) : std::sqrt(Exact(2) / n)) *
            std::cos(std::numbers::pi_v<Exact> * f * (2 * p + 1) / (2 * Exact(n)));
  }
  return table[size_t(k) * n + x];
}

// The separable DCT II of a block in long double, rows then columns.
std::vector<Exact> ExactDct(const TShapeData& block, uint16_t w, uint16_t h) {
  std::vector<Exact> rows(block.size()), out(block.size());
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t u = 0; u < w; ++u) {
      Exact sum = 0;
      for (uint32_t x = 0; x < w; ++x) sum += block[size_t(y) * w + x] * Factor(u, x, w);
      rows[size_t(y) * w + u] = sum;
    }
  for (uint32_t u = 0; u < w; ++u)
    for (uint32_t v = 0; v < h; ++v) {
      Exact sum = 0;
      for (uint32_t y = 0; y < h; ++y) sum += rows[size_t(y) * w + u] * Factor(v, y, h);
      out[size_t(v) * w + u] = sum;
    }
  return out;
}

struct Window {
  uint16_t w, h;
};

class BoundConstants : public ::testing::TestWithParam<Window> {};

TEST_P(BoundConstants, TransformErrorCoversTheDctII) {
  const auto [w, h] = GetParam();
  std::mt19937 random(w * 131 + h);
  std::normal_distribution<double> noise(0.0, 60.0);
  TShapeData block(size_t(w) * h);
  for (int trial = 0; trial < 3; ++trial) {
    // Noise, and a flat block with one spike: the extremes of spread.
    Exact norm = 0;
    for (size_t p = 0; p < block.size(); ++p) {
      block[p] = trial < 2 ? std::round(noise(random)) : (p == 3 ? 255.0 : 100.0);
      norm += Exact(block[p]) * block[p];
    }
    const std::vector<Exact> exact = ExactDct(block, w, h);
    ASSERT_EQ(DctIIDescriptor()->Init(w, h), 0);
    DctIIDescriptor()->Transform(0, block.data());
    ASSERT_EQ(DctIIDescriptor()->Done(), 0);
    Exact largest = 0;
    for (size_t k = 0; k < block.size(); ++k)
      largest = std::max(largest, std::fabs(block[k] - exact[k]));
    const double allowed = TCarriedAnalysisBound::TransformError(block.size()) * std::sqrt(double(norm));
    EXPECT_LE(double(largest), allowed) << "trial " << trial;
    // A worst case, yet not absurdly loose: within four orders of magnitude.
    EXPECT_GT(double(largest) * 1e4, allowed) << "trial " << trial;
  }
}

TEST_P(BoundConstants, GramErrorCoversTheMomentTable) {
  const auto [w, h] = GetParam();
  TShapeMask mask(size_t(w) * h);
  TShapeData spectrum(mask.size());
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const size_t p = size_t(y) * w + x;
      mask[p] = (x * 5 + y * 3 + x * y) % 7 < 4;
      spectrum[p] = mask[p];
    }
  ASSERT_EQ(DctIIDescriptor()->Init(w, h), 0);
  DctIIDescriptor()->Transform(0, spectrum.data());
  ASSERT_EQ(DctIIDescriptor()->Done(), 0);
  const TCosineMoments moments(w, h, spectrum);
  const size_t count = mask.size();
  double largest = 0.0;
  for (size_t j : {size_t(0), count / 3, count - 1}) {
    TShapeData column(count);
    moments.SubtractGramColumn(j, -1.0, column);
    const uint32_t uj = uint32_t(j % w), vj = uint32_t(j / w);
    for (size_t k = 0; k < count; k += 1 + count / 100) {
      const uint32_t u = uint32_t(k % w), v = uint32_t(k / w);
      Exact gram = 0;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
          if (mask[size_t(y) * w + x])
            gram += Factor(u, x, w) * Factor(v, y, h) * Factor(uj, x, w) * Factor(vj, y, h);
      largest = std::max(largest, double(std::fabs(column[k] - gram)));
    }
  }
  EXPECT_LE(largest, TCarriedAnalysisBound::GramError(count));
}

INSTANTIATE_TEST_SUITE_P(Windows, BoundConstants,
                         ::testing::Values(Window{8, 8}, Window{64, 2}, Window{1, 128},
                                           Window{64, 32}, Window{256, 128}),
                         [](const auto& info) {
                           return std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

TEST(CarriedAnalysisBound, GrowsWithEveryUpdateAndVanishesOnRefresh) {
  TCarriedAnalysisBound bound(4096, 0.01);
  bound.Refresh(1e6);
  EXPECT_TRUE(bound.Exact());
  EXPECT_EQ(bound.Value(), 0.0);
  bound.Update(50.0, 9e5);
  const double one = bound.Value();
  // The two analyses' own errors and the update's.
  EXPECT_GE(one, TCarriedAnalysisBound::TransformError(4096) * (1e3 + std::sqrt(9e5)) +
                     50.0 * TCarriedAnalysisBound::GramError(4096));
  bound.Update(-50.0, 8e5);
  EXPECT_GT(bound.Value(), one);
  bound.Refresh(8e5);
  EXPECT_EQ(bound.Value(), 0.0);
}

TEST(CarriedAnalysisBound, NoiseFloorIsTheDerivedRatioOfTheRefreshEnergy) {
  const double ratio = TCarriedAnalysisBound::NoiseFloorRatio(65536);
  // 2 TransformError ||r0|| = sqrt(u) ||r||, in energies.
  const double e = 2.0 * TCarriedAnalysisBound::TransformError(65536);
  EXPECT_DOUBLE_EQ(ratio, e * e / (std::numeric_limits<double>::epsilon() / 2.0));
  // About 110 dB below the energy of the last exact analysis.
  EXPECT_GT(-10.0 * std::log10(ratio), 100.0);
  EXPECT_LT(-10.0 * std::log10(ratio), 130.0);
  TCarriedAnalysisBound bound(65536, 0.5);
  bound.Refresh(1e8);
  EXPECT_FALSE(bound.BelowNoiseFloor(1e8 * ratio * 1.01));
  EXPECT_TRUE(bound.BelowNoiseFloor(1e8 * ratio * 0.99));
}

TEST(CarriedAnalysisBound, SeparatesOnlyWhatTheBoundCannotReorder) {
  // Norms 1 and 0.25; the bound after one update is about 1e-12 here.
  TShapeData work(4), norms(4, 1.0);
  norms[3] = 0.25;
  TCarriedAnalysisBound bound(work.size(), 0.25);
  bound.Refresh(1e6);
  work[0] = 100.0, work[1] = 99.0, work[2] = 1.0, work[3] = 0.5;
  EXPECT_TRUE(bound.Separates(ChooseLeadingPair(work, norms, true), work, norms));  // exact
  bound.Update(3.0, 1e6);
  const double error = bound.Value();
  ASSERT_GT(error, 0.0);
  EXPECT_TRUE(bound.Separates(ChooseLeadingPair(work, norms, true), work, norms));
  // A rival within the bound: the carried values cannot tell them apart.
  work[1] = 100.0 - error;
  EXPECT_FALSE(bound.Separates(ChooseLeadingPair(work, norms, true), work, norms));
  // A small norm magnifies the uncertainty of its gain: |0.5| / sqrt(0.25)
  // = 1 against 100 - 1 is safe, the same gain close to the best is not.
  work[1] = 99.0;
  work[3] = 50.0 - error / 2.0;
  EXPECT_FALSE(bound.Separates(ChooseLeadingPair(work, norms, true), work, norms));
}

}  // namespace
}  // namespace tvlc
