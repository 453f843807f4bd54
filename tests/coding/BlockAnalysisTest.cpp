#include "coding/BlockAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "coding/EngineSteps.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

// A matching pursuit carried by the block analysis beside the same pursuit
// carried over the whole window, in a window of several blocks each way:
// - a disc off centre;
// - a grid of 3 x 7 pixel cells over the whole window, whose moments peak
//   far from frequency 0, so that an update changes coefficients far from
//   the one chosen, where a bound that looked in the wrong place would miss
//   them.
enum class TTestMask { kDisc, kGrid };

class BlockAnalysisPursuit : public ::testing::TestWithParam<TTestMask> {
 protected:
  static constexpr uint16_t kW = 128, kH = 64;

  static bool Inside(uint32_t x, uint32_t y) {
    const double dx = x - 50.0, dy = y - 30.0;
    const bool disc = dx * dx + 2.0 * dy * dy < 1600.0;
    return GetParam() == TTestMask::kDisc ? disc : (x / 3) % 2 == 0 && (y / 7) % 2 == 0;
  }

  void SetUp() override {
    const size_t n = size_t(kW) * kH;
    mask.resize(n);
    TShapeData pixels(n);
    for (uint32_t y = 0; y < kH; ++y)
      for (uint32_t x = 0; x < kW; ++x) {
        mask[size_t(y) * kW + x] = Inside(x, y);
        pixels[size_t(y) * kW + x] =
            mask[size_t(y) * kW + x] ? std::round(60.0 * std::sin(x / 9.0 + y / 13.0) +
                                                  25.0 * std::cos(x * 1.3 - y * 0.7))
                                     : 0.0;
      }
    const TTransDescriptor& dct = *DctIIDescriptor();
    ASSERT_EQ(dct.Init(kW, kH), 0);
    norms = TShapeData(n);
    TShapeData scratch(n);
    ComputeBasisNorms(dct, kW, kH, mask, scratch, norms);
    TShapeData spectrum(n);
    for (size_t i = 0; i < n; ++i) spectrum[i] = mask[i];
    dct.Transform(0, spectrum.data());
    moments = std::make_unique<TCosineMoments>(kW, kH, std::move(spectrum));
    work = pixels;
    dct.Transform(0, work.data());
    dct.Done();
  }

  TShapeMask mask;
  TShapeData norms, work;
  std::unique_ptr<TCosineMoments> moments;
};

TEST_P(BlockAnalysisPursuit, ChoosesAsTheWholeWindowAndKeepsItsValuesBitForBit) {
  TShapeData whole = work;
  TShapeData inverseNorms(norms.size());
  TBlockAnalysis blocks(*moments, norms, inverseNorms, work, kW, kH);
  blocks.Refresh();
  size_t separated = 0;
  for (int iteration = 0; iteration < 300; ++iteration) {
    const TLeadingPair expected = ChooseLeadingPair(whole, norms, true);
    const TLeadingPair pair = blocks.Choose();
    // The runner-up may be a bound, never below the true one.
    EXPECT_GE(pair.RunnerUpGain, expected.RunnerUpGain * (1.0 - 1e-12)) << iteration;
    EXPECT_GE(pair.BestGain, expected.RunnerUpGain * (1.0 - 1e-12)) << iteration;
    if (expected.BestGain > expected.RunnerUpGain * (1.0 + 1e-9)) {
      ++separated;
      ASSERT_EQ(pair.Best, expected.Best) << iteration;
      EXPECT_EQ(work[pair.Best], whole[pair.Best]) << iteration;
    }
    // The rival test agrees with the whole window's, at a tight and a loose error.
    for (double error : {1e-9, 0.5})
      EXPECT_EQ(blocks.AnyRivalWithin(expected.Best, error),
                AnyRivalWithin(whole, norms, expected.Best, error))
          << iteration << " " << error;
    const size_t j = expected.Best;
    const double m = whole[j] / norms[j];
    moments->SubtractGramColumn(j, m, whole);
    blocks.Update(j, m);
    for (size_t k = 0; k < whole.size(); ++k)
      ASSERT_GE(blocks.AmplitudeBound(k), std::fabs(whole[k]) / std::sqrt(norms[k]) * (1.0 - 1e-12))
          << iteration << " " << k;
  }
  EXPECT_GT(separated, 250u);
}

INSTANTIATE_TEST_SUITE_P(Masks, BlockAnalysisPursuit,
                         ::testing::Values(TTestMask::kDisc, TTestMask::kGrid));

// Two candidates a unit of rounding apart in different blocks, where the
// rule's cross-multiplied comparison keeps a (lower index, later block) and
// the quotients would pick b: on an exact analysis the rule's pick stands.
TEST_P(BlockAnalysisPursuit, OnAnExactAnalysisARoundingTieGoesTheRulesWay) {
  const size_t a = 40, b = kW;  // (40, 0) in the second block, (0, 1) in the first
  const double workA = 1.7057655176256357, normA = 1.0979629776004782;
  const double workB = 1.4854420690932595, normB = 0.83264614066649445;
  ASSERT_GT(workB * workB / normB, workA * workA / normA);
  ASSERT_FALSE(workB * workB * normA > workA * workA * normB);
  TShapeData tieNorms(norms.size(), 1.0), tieWork(norms.size(), 0.0);
  tieNorms[a] = normA, tieNorms[b] = normB;
  tieWork[a] = workA, tieWork[b] = workB;
  TShapeData inverseNorms(norms.size());
  TBlockAnalysis blocks(*moments, tieNorms, inverseNorms, tieWork, kW, kH);
  blocks.Refresh();
  EXPECT_EQ(ChooseLeadingPair(tieWork, tieNorms, true).Best, a);
  EXPECT_EQ(blocks.ChooseOnExactAnalysis().Best, a);
}

}  // namespace
}  // namespace tvlc
