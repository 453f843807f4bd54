#include "coding/EngineSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FakeTransform.h"

namespace tvlc {
namespace {

TShapeData Values(std::initializer_list<double> values) {
  TShapeData data(values.size());
  size_t i = 0;
  for (double value : values) data[i++] = value;
  return data;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(MaskPixelCount, SumsTheMaskBytes) {
  EXPECT_EQ(MaskPixelCount({}), 0u);
  EXPECT_EQ(MaskPixelCount({0, 1, 1, 0, 1}), 3u);
}

TEST(ResidualPSNR, ZeroResidualIsUnlimited) {
  EXPECT_EQ(ResidualPSNR(TShapeData(16), 5), kUnlimitedPSNR);
  EXPECT_EQ(ResidualPSNR(TShapeData(), 0), kUnlimitedPSNR);
}

TEST(ResidualPSNR, OffByOneOnEveryMaskPixelGivesPeakRatio) {
  // Five mask pixels off by +-1, the rest of the window 0: E = Count.
  const TShapeData residual = Values({1, 0, -1, 1, 0, 0, -1, 1});
  const double psnr = ResidualPSNR(residual, 5);
  EXPECT_DOUBLE_EQ(psnr, 10.0 * std::log10(65025.0));
  EXPECT_NEAR(psnr, 48.13, 0.005);
}

TEST(ResidualPSNR, MatchesTheDefinitionOverTheMaskCount) {
  const TShapeData residual = Values({3.5, -2.0, 0.0, 7.25});
  const double energy = 3.5 * 3.5 + 2.0 * 2.0 + 7.25 * 7.25;
  EXPECT_NEAR(ResidualPSNR(residual, 3), 10.0 * std::log10(3 * 255.0 * 255.0 / energy), 1e-12);
  // Only the count scales it, not the window size.
  EXPECT_NEAR(ResidualPSNR(residual, 30) - ResidualPSNR(residual, 3), 10.0, 1e-12);
}

TEST(ChooseCoefficient, LargestGainPerUnitEnergyWins) {
  // Gains work^2 / norm: 4, 9, 2.25, 8.
  EXPECT_EQ(ChooseCoefficient(Values({2, 3, -3, 4}), Values({1, 1, 4, 2})), 1u);
  EXPECT_EQ(ChooseCoefficient(Values({2, -3, 9, 4}), Values({1, 1, 4, 2})), 2u);
}

TEST(ChooseCoefficient, EqualGainsKeepTheLowerIndex) {
  // 2^2 / 1 == 4^2 / 4 == (-2)^2 / 1.
  EXPECT_EQ(ChooseCoefficient(Values({1, 2, 4, -2}), Values({1, 1, 4, 1})), 1u);
  EXPECT_EQ(ChooseCoefficient(Values({-5, 5}), Values({1, 1})), 0u);
}

TEST(ChooseCoefficient, ZeroAndNaNNormsAreNeverChosen) {
  EXPECT_EQ(ChooseCoefficient(Values({100, 50, 1, 2}), Values({kNaN, 0, 1, 1})), 3u);
  EXPECT_EQ(ChooseCoefficient(Values({1, 100, 50}), Values({1, kNaN, 0})), 0u);
  // Even with no energy anywhere else, the first usable index is the answer.
  EXPECT_EQ(ChooseCoefficient(Values({9, 9, 0}), Values({0, kNaN, 1})), 2u);
}

TEST(ChooseCoefficient, NoUsableNormMeansNoChoice) {
  EXPECT_EQ(ChooseCoefficient(Values({1, 2, 3}), Values({0, kNaN, 0})), kNoCoefficient);
  EXPECT_EQ(ChooseCoefficient(TShapeData(), TShapeData()), kNoCoefficient);
}

class ComputeBasisNormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ASSERT_EQ(fake::Init(4, 2), 0);
  }
  void TearDown() override { fake::Done(); }
  const TShapeMask mask_{1, 0, 1, 1, 0, 0, 1, 0};
};

TEST_F(ComputeBasisNormsTest, BasisRouteSumsSquaresOverTheMaskOnly) {
  const TTransDescriptor descriptor = fake::Descriptor({.basisNorms = false});
  TShapeData scratch(8), norms(8, 99.0);
  ComputeBasisNorms(descriptor, 4, 2, mask_, scratch, norms);
  for (uint32_t v = 0; v < 2; ++v)
    for (uint32_t u = 0; u < 4; ++u) {
      double expected = 0.0;
      for (uint32_t p = 0; p < 8; ++p)
        if (mask_[p]) expected += std::pow(fake::BasisValue(u, v, p % 4, p / 4), 2);
      EXPECT_NEAR(norms[v * 4 + u], expected, 1e-15) << u << "," << v;
    }
  EXPECT_EQ(fake::State().basisCalls, 8 * MaskPixelCount(mask_));
  EXPECT_EQ(fake::State().basisNormsCalls, 0);
}

TEST_F(ComputeBasisNormsTest, SlotRouteGetsTheMaskAsDoublesAndAgreesExactly) {
  TShapeData viaBasis(8), viaSlot(8), scratch(8);
  ComputeBasisNorms(fake::Descriptor({.basisNorms = false}), 4, 2, mask_, scratch, viaBasis);
  fake::State().basisCalls = 0;
  ComputeBasisNorms(fake::Descriptor(), 4, 2, mask_, scratch, viaSlot);
  EXPECT_EQ(fake::State().basisNormsCalls, 1);
  EXPECT_EQ(fake::State().basisCalls, 0);
  EXPECT_FALSE(fake::State().wrongArrayLength);
  for (size_t k = 0; k < 8; ++k) EXPECT_EQ(viaSlot[k], viaBasis[k]) << k;
}

}  // namespace
}  // namespace tvlc
