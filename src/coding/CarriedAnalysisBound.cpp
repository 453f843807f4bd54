#include "coding/CarriedAnalysisBound.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tvlc {

namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2.0;

// Rounding of the update of one carried value and of the residual, and of
// the basis values the residual loses, in units of u times ||r||.
constexpr double kUpdateRounding = 10.0;
// Rounding of the separation tests themselves, same units.
constexpr double kTestRounding = 4.0;

}  // namespace

TCarriedAnalysisBound::TCarriedAnalysisBound(size_t coefficientCount, double smallestNorm)
    : transformError_(TransformError(coefficientCount)),
      gramError_(GramError(coefficientCount)),
      noiseFloorRatio_(NoiseFloorRatio(coefficientCount)),
      smallestNorm_(smallestNorm) {}

double TCarriedAnalysisBound::TransformError(size_t coefficientCount) {
  return (8.0 * std::log2(double(std::max<size_t>(coefficientCount, 1))) + 16.0) * kUnit;
}

double TCarriedAnalysisBound::GramError(size_t coefficientCount) {
  return 4.0 * TransformError(coefficientCount) + 40.0 * kUnit;
}

double TCarriedAnalysisBound::NoiseFloorRatio(size_t coefficientCount) {
  const double e = 2.0 * TransformError(coefficientCount);
  return e * e / kUnit;
}

void TCarriedAnalysisBound::Refresh(double energy) {
  exact_ = true;
  refreshEnergy_ = energy;
  refreshNorm_ = currentNorm_ = largestNorm_ = std::sqrt(energy);
  updates_ = 0.0;
}

void TCarriedAnalysisBound::Update(double m, double energy) {
  const double before = Value();
  exact_ = false;
  currentNorm_ = std::sqrt(energy);
  largestNorm_ = std::max(largestNorm_, currentNorm_);
  updates_ += std::fabs(m) * gramError_ + kUpdateRounding * kUnit * largestNorm_ + kUnit * before;
}

double TCarriedAnalysisBound::Value() const {
  if (exact_) return 0.0;
  return transformError_ * (refreshNorm_ + currentNorm_) + updates_;
}

double TCarriedAnalysisBound::Error() const {
  return Value() + kTestRounding * kUnit * largestNorm_;
}

bool TCarriedAnalysisBound::SeparatesByGap(const TLeadingPair& pair) const {
  if (exact_) return true;
  // No value's amplitude |work| / sqrt(norm) can move by more than
  // error / sqrt(smallest norm), so a gap of twice that between the best
  // and the runner-up settles it.
  const double best = std::sqrt(pair.BestGain), runnerUp = std::sqrt(pair.RunnerUpGain);
  return smallestNorm_ > 0.0 &&
         best - runnerUp > 2.0 * Error() / std::sqrt(smallestNorm_) + kTestRounding * kUnit * best;
}

bool TCarriedAnalysisBound::Separates(const TLeadingPair& pair, const TShapeData& work,
                                      const TShapeData& norms) const {
  // Exact: each rival with the uncertainty of its own norm.
  return SeparatesByGap(pair) || !AnyRivalWithin(work, norms, pair.Best, Error());
}

}  // namespace tvlc
