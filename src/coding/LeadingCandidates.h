// The choice of the next coefficient from an analysis known only to within
// an error: the engine's rule (largest work^2 / norm, lowest index on ties)
// gives the best candidate, and two kernels tell whether that choice could
// change if every analysis value moved by up to the error.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Arrays.h"

namespace tvlc {

struct TLeadingPair {
  size_t Best;          // as ChooseCoefficient chooses; kNoCoefficient when none
  double BestGain;      // work^2 / norm of the best
  double RunnerUpGain;  // the largest gain of the other usable coefficients, 0 when none
};

// The same choice over stretches of the analysis added in increasing index
// order (a block of rows of a window, say): after adding every coefficient
// its result is ChooseLeadingPair's. The arrays must outlive the scan.
class TLeadingScan {
 public:
  // `normsPositive`: as for ChooseLeadingPair.
  TLeadingScan(const TShapeData& work, const TShapeData& norms, bool normsPositive);
  void Add(size_t from, size_t to);
  TLeadingPair Result() const;

 private:
  const double* work_;
  const double* norms_;
  bool normsPositive_;
  size_t best_ = SIZE_MAX;  // none yet
  double bestSquare_ = 0.0, bestNorm_ = 1.0;
  // The runner-up starts as a gain of 0 (0 / 1).
  double runnerSquare_ = 0.0, runnerNorm_ = 1.0;
  double filterSquare_ = 0.0;
};

// One pass over the analysis; the best is ChooseCoefficient's bit for bit.
// `normsPositive`: no usable norm is negative (SmallestUsableNorm > 0),
// which allows a faster pass.
TLeadingPair ChooseLeadingPair(const TShapeData& work, const TShapeData& norms,
                               bool normsPositive);

// Whether some usable coefficient k other than `best` could win the rule
// against `best` if every work value were off by up to `error`:
// (|work[k]| + error)^2 * norms[best] >= (|work[best]| - error)^2 * norms[k].
// Only the coefficients [from, to) are looked at.
bool AnyRivalWithin(const TShapeData& work, const TShapeData& norms, size_t best, double error,
                    size_t from = 0, size_t to = SIZE_MAX);

// The smallest usable norm (neither 0 nor NaN); 0 when there is none.
double SmallestUsableNorm(const TShapeData& norms);

}  // namespace tvlc
