#include "coding/LeadingCandidates.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "coding/EngineSteps.h"

namespace tvlc {

namespace {

bool UsableNorm(double norm) { return norm != 0.0 && !std::isnan(norm); }

// Blocks of the analysis tested together: a block where no value beats the
// best or the runner-up is passed over without a branch per element.
constexpr size_t kBlock = 16;
// A comparison by cross-multiplication is off by at most a few roundings
// (2^-53 each); 2^-40 is far beyond that.
constexpr double kFilterMargin = 0x1p-40;

}  // namespace

TLeadingPair ChooseLeadingPair(const TShapeData& work, const TShapeData& norms,
                               bool normsPositive) {
  const size_t count = norms.size();
  const double* w = work.data();
  const double* n = norms.data();
  size_t best = 0;
  while (best < count && !UsableNorm(n[best])) ++best;
  if (best == count) return {kNoCoefficient, 0.0, 0.0};
  double bestSquare = w[best] * w[best], bestNorm = n[best];
  // The runner-up starts as a gain of 0 (0 / 1).
  double runnerSquare = 0.0, runnerNorm = 1.0;
  // ChooseCoefficient's own test, so that the best is its choice bit for
  // bit; a NaN norm fails it by itself.
  const auto beatsBest = [&](size_t k) {
    return n[k] != 0.0 && w[k] * w[k] * bestNorm > bestSquare * n[k];
  };
  const auto beatsRunnerUp = [&](size_t k) {
    return n[k] != 0.0 && w[k] * w[k] * runnerNorm > runnerSquare * n[k];
  };
  // Whatever beats the best beats the runner-up lowered by a few roundings,
  // when no norm is negative: one comparison per element then finds the
  // blocks worth a closer look.
  double filterSquare = 0.0;
  const auto mayMatter = [&](size_t k) {
    return normsPositive ? w[k] * w[k] * runnerNorm > filterSquare * n[k]
                         : beatsBest(k) | beatsRunnerUp(k);
  };
  const auto take = [&](size_t k) {
    const double square = w[k] * w[k];
    if (beatsBest(k)) {
      runnerSquare = bestSquare;
      runnerNorm = bestNorm;
      best = k;
      bestSquare = square;
      bestNorm = n[k];
    } else if (beatsRunnerUp(k)) {
      runnerSquare = square;
      runnerNorm = n[k];
    } else {
      return;
    }
    filterSquare = runnerSquare * (1.0 - kFilterMargin);
  };
  size_t k = best + 1;
  for (; k + kBlock <= count; k += kBlock) {
    bool any = false;
    for (size_t i = k; i < k + kBlock; ++i) any |= mayMatter(i);
    if (!any) continue;
    for (size_t i = k; i < k + kBlock; ++i) take(i);
  }
  for (; k < count; ++k) take(k);
  return {best, bestSquare / bestNorm, runnerSquare / runnerNorm};
}

bool AnyRivalWithin(const TShapeData& work, const TShapeData& norms, size_t best, double error,
                    size_t from, size_t to) {
  const double* w = work.data();
  const double* n = norms.data();
  const double bestLow = std::fabs(w[best]) - error;
  if (bestLow <= 0.0) return true;
  const double bestLowSquare = bestLow * bestLow, bestNorm = n[best];
  to = std::min(to, norms.size());
  bool any = false;
  for (size_t k = from; k < to; ++k) {
    const double high = std::fabs(w[k]) + error;
    any |= k != best && n[k] != 0.0 && high * high * bestNorm >= bestLowSquare * n[k];
  }
  return any;
}

double SmallestUsableNorm(const TShapeData& norms) {
  double smallest = std::numeric_limits<double>::infinity();
  for (double norm : norms)
    if (UsableNorm(norm) && norm < smallest) smallest = norm;
  return std::isinf(smallest) ? 0.0 : smallest;
}

}  // namespace tvlc
