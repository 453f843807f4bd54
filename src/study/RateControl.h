// Settings found for the user: the requested PSNR, quality and
// normalization that give the best picture within a bit budget, or the
// smallest file that reaches a PSNR. Bits and PSNR grow with the requested
// PSNR at a fixed quality and normalization, so each such pair is searched
// by bisection over the encoded levels; the pairs are then compared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "study/RegionSweep.h"

namespace tvlc {

enum class TRateGoal {
  WithinBpp,  // the highest PSNR whose total bits per pixel stay within the target
  ReachPsnr,  // the fewest bytes whose decoded picture reaches the target PSNR
};

struct TRateSearch {
  TRateGoal Goal = TRateGoal::WithinBpp;
  double Target = 0.0;
  std::vector<int> Qualities = {10, 25, 50, 75, 100};
  std::vector<int> Norms = {0, 1, 2, 3, 4};
};

// The requested PSNRs a search encodes to: 15 to 50 dB in steps of 0.25.
std::vector<double> RateSearchLevels();

struct TRateChoice {
  std::optional<TRdRow> Chosen;  // none when no setting meets the target
  size_t Tried = 0;              // settings measured
  std::string Error;
};

// `coder` must have encoded its levels.
TRateChoice SearchRate(TRegionCoder& coder, const TRateSearch& search);

// True when `a` serves the goal better than `b`.
bool BetterForGoal(const TRdRow& a, const TRdRow& b, TRateGoal goal);

}  // namespace tvlc
