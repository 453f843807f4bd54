#include "coding/LeadingCandidates.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/VectorClones.h"

#include "coding/EngineSteps.h"

namespace tvlc {

namespace {

bool UsableNorm(double norm) { return norm != 0.0 && !std::isnan(norm); }

// Stretches of the analysis tested together: a stretch where no value beats
// the best or the runner-up is passed over without a branch per element.
constexpr size_t kBlock = 16;
// A comparison by cross-multiplication is off by at most a few roundings
// (2^-53 each); 2^-40 is far beyond that.
constexpr double kFilterMargin = 0x1p-40;

// Whether w^2 * runnerNorm > filterSquare * n for any of `count` values: a
// loop without branches, which the compiler vectorises.
inline bool AnyAbove(const double* __restrict w, const double* __restrict n, size_t count,
                     double runnerNorm, double filterSquare) {
  int any = 0;
  for (size_t i = 0; i < count; ++i) any |= int(w[i] * w[i] * runnerNorm > filterSquare * n[i]);
  return any != 0;
}

}  // namespace

TLeadingScan::TLeadingScan(const TShapeData& work, const TShapeData& norms, bool normsPositive)
    : work_(work.data()), norms_(norms.data()), normsPositive_(normsPositive) {}

TVLC_VECTOR_CLONES
void TLeadingScan::Add(size_t from, size_t to) {
  const double* w = work_;
  const double* n = norms_;
  size_t k = from;
  if (best_ == kNoCoefficient) {
    while (k < to && !UsableNorm(n[k])) ++k;
    if (k == to) return;
    best_ = k;
    bestSquare_ = w[k] * w[k];
    bestNorm_ = n[k];
    ++k;
  }
  // ChooseCoefficient's own test, so that the best is its choice bit for
  // bit; a NaN norm fails it by itself.
  const auto beatsBest = [&](size_t i) {
    return n[i] != 0.0 && w[i] * w[i] * bestNorm_ > bestSquare_ * n[i];
  };
  const auto beatsRunnerUp = [&](size_t i) {
    return n[i] != 0.0 && w[i] * w[i] * runnerNorm_ > runnerSquare_ * n[i];
  };
  // Whatever beats the best beats the runner-up lowered by a few roundings,
  // when no norm is negative: one comparison per element then finds the
  // stretches of kBlock values worth a closer look.
  const auto mayMatter = [&](size_t first) {
    if (normsPositive_) return AnyAbove(w + first, n + first, kBlock, runnerNorm_, filterSquare_);
    bool any = false;
    for (size_t i = first; i < first + kBlock; ++i) any |= beatsBest(i) | beatsRunnerUp(i);
    return any;
  };
  const auto take = [&](size_t i) {
    const double square = w[i] * w[i];
    if (beatsBest(i)) {
      runnerSquare_ = bestSquare_;
      runnerNorm_ = bestNorm_;
      best_ = i;
      bestSquare_ = square;
      bestNorm_ = n[i];
    } else if (beatsRunnerUp(i)) {
      runnerSquare_ = square;
      runnerNorm_ = n[i];
    } else {
      return;
    }
    filterSquare_ = runnerSquare_ * (1.0 - kFilterMargin);
  };
  for (; k + kBlock <= to; k += kBlock) {
    if (!mayMatter(k)) continue;
    for (size_t i = k; i < k + kBlock; ++i) take(i);
  }
  for (; k < to; ++k) take(k);
}

TLeadingPair TLeadingScan::Result() const {
  if (best_ == kNoCoefficient) return {kNoCoefficient, 0.0, 0.0};
  return {best_, bestSquare_ / bestNorm_, runnerSquare_ / runnerNorm_};
}

TLeadingPair ChooseLeadingPair(const TShapeData& work, const TShapeData& norms,
                               bool normsPositive) {
  TLeadingScan scan(work, norms, normsPositive);
  scan.Add(0, norms.size());
  return scan.Result();
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
