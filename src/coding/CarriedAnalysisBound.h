// How far an analysis carried across iterations can be from the analysis
// the reference transform would compute of the same residual, and what the
// engine does about it: a choice the bound cannot separate from its rivals,
// or a residual fallen so far below the energy the carried analysis was last
// refreshed from that the bound swamps it, calls for an exact analysis.
//
// The bound, per coefficient, in units of the double's rounding unit u:
// - one analysis transform (radix-2 FFTs over log2 N levels, each adding a
//   few units relative to the 2-norm of its input, plus the DCT's twiddle
//   and scale steps) is within TransformError(N) * ||r|| of the exact one;
// - a Gram entry made from the transform of the mask is within
//   GramError(N): the moments' error divided by their scales, times the
//   four scales of the entry (at most 4 / N), is at most 4 TransformError(N);
// - every carried update adds |m| * GramError(N) and a few u * ||r|| for the
//   rounding of the subtraction, of the residual update and of the basis
//   values.
// After a refresh the carried analysis is the exact one; then
//   bound = TransformError(N) * (||r at refresh|| + ||r now||) + sum of the
//   updates since.
#pragma once

#include <cstddef>

#include "coding/LeadingCandidates.h"
#include "model/Arrays.h"

namespace tvlc {

class TCarriedAnalysisBound {
 public:
  // `smallestNorm`: the smallest usable basis energy on the mask.
  TCarriedAnalysisBound(size_t coefficientCount, double smallestNorm);

  static double TransformError(size_t coefficientCount);
  static double GramError(size_t coefficientCount);
  // The carried analysis keeps at least half the digits of a double as long
  // as its error from the refresh energy alone, 2 TransformError * ||r0||,
  // stays below sqrt(u) * ||r||: so it is refreshed once the residual energy
  // has fallen below this fraction of the energy at refresh.
  static double NoiseFloorRatio(size_t coefficientCount);

  // The carried analysis was just computed exactly from a residual of this energy.
  void Refresh(double energy);
  // The carried analysis just lost m times a Gram column; `energy` is that
  // of the residual it now stands for.
  void Update(double m, double energy);

  bool Exact() const { return exact_; }
  double Value() const;
  bool BelowNoiseFloor(double energy) const { return energy < noiseFloorRatio_ * refreshEnergy_; }

  // Whether the best candidate of `pair`, chosen from the carried analysis
  // `work`, is the one the engine's rule would choose from the exact
  // analysis whatever the rounding within the bound.
  bool Separates(const TLeadingPair& pair, const TShapeData& work, const TShapeData& norms) const;
  // Its two halves: the quick test on the best's and the runner-up's gains
  // (the runner-up's may be an upper bound), and the error every value of
  // the analysis may carry, for AnyRivalWithin.
  bool SeparatesByGap(const TLeadingPair& pair) const;
  double Error() const;

 private:
  double transformError_, gramError_, noiseFloorRatio_;
  double smallestNorm_;
  bool exact_ = true;
  double refreshEnergy_ = 0.0, refreshNorm_ = 0.0, currentNorm_ = 0.0, largestNorm_ = 0.0;
  double updates_ = 0.0;
};

}  // namespace tvlc
