// The choice kernels of the fast engine against direct evaluations: the best
// candidate is ChooseCoefficient's bit for bit, the runner-up is the best of
// the others, and a rival is any coefficient that could win within an error.
#include "coding/LeadingCandidates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>

#include "coding/EngineSteps.h"

namespace tvlc {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Analyses with the traps of the rule: exact ties of gain between different
// values and norms, zero and NaN norms, zero and NaN values, long runs of
// equal gains across the kernel's blocks.
struct Analysis {
  TShapeData work, norms;
};

Analysis RandomAnalysis(std::mt19937& random, size_t count, bool negativeNorms = false) {
  Analysis a{TShapeData(count), TShapeData(count)};
  std::uniform_int_distribution<int> pick(0, 9), small(1, 4);
  for (size_t k = 0; k < count; ++k) {
    const int kind = pick(random);
    const double scale = small(random);
    // work / sqrt(norm) takes few values, so ties are frequent.
    a.norms[k] = scale * scale;
    a.work[k] = scale * double(small(random)) * (pick(random) < 5 ? 1.0 : -1.0);
    if (kind == 0) a.norms[k] = 0.0;
    if (kind == 1) a.norms[k] = kNaN;
    if (kind == 2) a.work[k] = 0.0;
    if (kind == 3 && pick(random) == 0) a.work[k] = kNaN;
    if (kind == 4 && negativeNorms) a.norms[k] = -a.norms[k];
  }
  return a;
}

TShapeData Data(std::initializer_list<double> values) {
  TShapeData data(values.size());
  std::copy(values.begin(), values.end(), data.begin());
  return data;
}

double Gain(const Analysis& a, size_t k) { return a.work[k] * a.work[k] / a.norms[k]; }
bool Usable(double norm) { return norm != 0.0 && !std::isnan(norm); }

TEST(LeadingCandidates, BestIsChooseCoefficientsAndRunnerUpTheBestOfTheRest) {
  std::mt19937 random(11);
  for (int round = 0; round < 800; ++round) {
    // The fast pass where no norm is negative, the general one elsewhere.
    const bool positive = round % 2 == 0;
    const size_t count = 1 + size_t(random() % 90);
    const Analysis a = RandomAnalysis(random, count, !positive);
    const TLeadingPair pair = ChooseLeadingPair(a.work, a.norms, positive);
    ASSERT_EQ(pair.Best, ChooseCoefficient(a.work, a.norms)) << "round " << round;
    if (pair.Best == kNoCoefficient) continue;
    if (!std::isnan(pair.BestGain)) {
      EXPECT_EQ(pair.BestGain, Gain(a, pair.Best));
    }
    if (!positive) continue;  // gains of negative norms have no order
    double runnerUp = 0.0;
    for (size_t k = 0; k < count; ++k)
      if (k != pair.Best && Usable(a.norms[k]) && Gain(a, k) > runnerUp) runnerUp = Gain(a, k);
    EXPECT_EQ(pair.RunnerUpGain, runnerUp) << "round " << round;
  }
}

TEST(LeadingCandidates, ScanOverStretchesChoosesAsOnePass) {
  std::mt19937 random(23);
  for (int round = 0; round < 400; ++round) {
    const bool positive = round % 2 == 0;
    const size_t count = 1 + size_t(random() % 120);
    const Analysis a = RandomAnalysis(random, count, !positive);
    const TLeadingPair whole = ChooseLeadingPair(a.work, a.norms, positive);
    TLeadingScan scan(a.work, a.norms, positive);
    // Stretches of random lengths, empty ones and ones of unusable norms included.
    for (size_t from = 0; from < count;) {
      const size_t to = std::min(count, from + size_t(random() % 20));
      scan.Add(from, to);
      from = to;
    }
    const TLeadingPair pieces = scan.Result();
    ASSERT_EQ(pieces.Best, whole.Best) << "round " << round;
    if (whole.Best == kNoCoefficient) continue;
    EXPECT_EQ(std::isnan(pieces.BestGain), std::isnan(whole.BestGain));
    if (!std::isnan(whole.BestGain)) {
      EXPECT_EQ(pieces.BestGain, whole.BestGain);
    }
    if (positive) {
      EXPECT_EQ(pieces.RunnerUpGain, whole.RunnerUpGain) << "round " << round;
    }
  }
}

TEST(LeadingCandidates, NoUsableNormLeavesNoCandidate) {
  const TShapeData work(20, 3.0);
  TShapeData norms(20, 0.0);
  norms[7] = kNaN;
  EXPECT_EQ(ChooseLeadingPair(work, norms, true).Best, kNoCoefficient);
  EXPECT_EQ(SmallestUsableNorm(norms), 0.0);
  norms[12] = 0.25;
  norms[3] = 0.5;
  EXPECT_EQ(ChooseLeadingPair(work, norms, true).Best, 12u);
  EXPECT_EQ(ChooseLeadingPair(work, norms, true).RunnerUpGain, 18.0);
  EXPECT_EQ(SmallestUsableNorm(norms), 0.25);
}

TEST(LeadingCandidates, RivalsAreTheCoefficientsThatCouldWinWithinTheError) {
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    const Analysis a = RandomAnalysis(random, 40);
    const size_t best = ChooseCoefficient(a.work, a.norms);
    if (best == kNoCoefficient || std::isnan(a.work[best])) continue;
    for (double error : {0.0, 0.01, 0.5, 3.0}) {
      bool rival = std::fabs(a.work[best]) <= error;
      for (size_t k = 0; k < a.work.size(); ++k) {
        if (k == best || !Usable(a.norms[k])) continue;
        const double high = std::fabs(a.work[k]) + error, low = std::fabs(a.work[best]) - error;
        rival |= high * high * a.norms[best] >= low * low * a.norms[k];
      }
      EXPECT_EQ(AnyRivalWithin(a.work, a.norms, best, error), rival)
          << "round " << round << ", error " << error;
    }
  }
  // Alone, or far ahead: no rival until the error closes the gap.
  const TShapeData work = Data({10.0, 1.0, -2.0}), norms = Data({1.0, 1.0, 4.0});
  EXPECT_FALSE(AnyRivalWithin(work, norms, 0, 0.0));
  EXPECT_FALSE(AnyRivalWithin(work, norms, 0, 4.4));
  EXPECT_TRUE(AnyRivalWithin(work, norms, 0, 4.5));
}

}  // namespace
}  // namespace tvlc
