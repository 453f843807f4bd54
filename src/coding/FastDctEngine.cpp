#include "coding/FastDctEngine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "coding/BlockAnalysis.h"
#include "coding/CarriedAnalysisBound.h"
#include "coding/CosineMoments.h"
#include "coding/EngineSteps.h"
#include "coding/InitBracket.h"
#include "coding/LeadingCandidates.h"
#include "coding/MaskedDctBasis.h"
#include "coding/TransformShape.h"

namespace tvlc {

namespace {

// Everything the engine allocates, made at once before any other work.
struct TFastDctMemory {
  TFastDctMemory(uint16_t width, uint16_t height, const TShapeMask& mask)
      : norms(mask.size()),
        accumulated(mask.size()),
        work(mask.size()),
        momentTable(mask.size()),
        inverseNorms(mask.size() > kExactAnalysisWindow ? mask.size() : 0),
        basis(width, height, mask) {}

  TShapeData norms, accumulated, work;
  TShapeData momentTable;  // the mask's spectrum until it becomes the moment table
  TShapeData inverseNorms;  // for the block analysis of a large window
  TMaskedDctBasis basis;
};

// A multiple of a basis function the residual has lost since it was last
// worked out.
struct TPendingMultiple {
  size_t Coefficient;
  double M;
};

// Relative rounding of the tracked energy per iteration, in units of u.
constexpr double kEnergyRounding = 8.0 * std::numeric_limits<double>::epsilon();

// What a handler that does not read the residual gets in its place.
const TShapeData kNoResidual;

// The residual as it stands: the multiples taken since it was last worked
// out, synthesised together by one inverse transform in `scratch` and
// subtracted on the mask.
void SettleResidual(const TTransDescriptor& descriptor, const TShapeMask& mask,
                    std::vector<TPendingMultiple>& pending, TShapeData& scratch,
                    TShapeData& residual) {
  if (pending.empty()) return;
  std::fill(scratch.begin(), scratch.end(), 0.0);
  for (const TPendingMultiple& taken : pending) scratch[taken.Coefficient] += taken.M;
  pending.clear();
  // A failing module reports it through Done.
  descriptor.Transform(1, scratch.data());
  for (size_t p = 0; p < mask.size(); ++p)
    if (mask[p]) residual[p] -= scratch[p];
}

// The exact analysis of the residual, by the transformation itself.
void AnalyseExactly(const TTransDescriptor& descriptor, const TShapeData& residual,
                    TShapeData& work) {
  std::copy(residual.begin(), residual.end(), work.begin());
  // A failing module reports it through Done.
  descriptor.Transform(0, work.data());
}

}  // namespace

int32_t FreshAnalysisInterval(size_t coefficientCount) {
  return int32_t(std::max<size_t>(kFreshAnalysisInterval, coefficientCount / 256));
}

uint8_t AnalyzeShapeFastDct(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask, double requestedPSNR,
                            uint16_t notifyInterval, const TProgressHandler& onProgress) {
  std::optional<TFastDctMemory> memory;
  try {
    memory.emplace(width, height, mask);
  } catch (const std::bad_alloc&) {
    // The literal engine needs less and makes the same choices.
    return AnalyzeShapeLiteral(descriptor, width, height, coefficients, mask, requestedPSNR,
                               notifyInterval, onProgress);
  }
  TShapeData &norms = memory->norms, &accumulated = memory->accumulated, &work = memory->work;
  TMaskedDctBasis& basis = memory->basis;

  TInitBracket bracket(descriptor);
  try {
    const uint8_t initStatus = bracket.Open(width, height);
    if (initStatus != 0) return initStatus;

    const uint32_t maskPixels = MaskPixelCount(mask);
    ComputeBasisNorms(descriptor, width, height, mask, work, norms);
    for (size_t i = 0; i < mask.size(); ++i) memory->momentTable[i] = double(mask[i]);
    // A failing module reports it through Done.
    descriptor.Transform(0, memory->momentTable.data());
    const TCosineMoments moments(width, height, std::move(memory->momentTable));
    const double smallestNorm = SmallestUsableNorm(norms);
    const bool normsPositive = smallestNorm > 0.0;
    TCarriedAnalysisBound bound(mask.size(), smallestNorm);
    // The block bounds need positive norms, which the DCT II always has.
    const bool alwaysExact = mask.size() <= kExactAnalysisWindow || !normsPositive;
    std::optional<TBlockAnalysis> blocks;
    if (!alwaysExact) blocks.emplace(moments, norms, memory->inverseNorms, work, width, height);
    const int32_t freshInterval = FreshAnalysisInterval(mask.size());

    // From here on `coefficients` is the residual; whatever the input held
    // outside the mask, even a NaN, must not reach it. Where the analysis is
    // carried it is the residual of the last exact analysis, and `pending`
    // the multiples taken since.
    for (size_t i = 0; i < mask.size(); ++i) coefficients[i] = mask[i] ? coefficients[i] : 0.0;
    std::vector<TPendingMultiple> pending;
    double energy = basis.Energy(coefficients);
    // How far the energy tracked since may be from that of the residual.
    double energyError = 0.0;
    double psnr = PSNROfEnergy(energy, maskPixels);
    // The residual as it stands, with its own energy, in index order.
    const auto settleResidual = [&] {
      SettleResidual(descriptor, mask, pending, work, coefficients);
      energy = basis.Energy(coefficients);
      energyError = 0.0;
      psnr = PSNROfEnergy(energy, maskPixels);
    };
    const auto analyseExactly = [&] {
      settleResidual();
      AnalyseExactly(descriptor, coefficients, work);
      bound.Refresh(energy);
      if (blocks) blocks->Refresh();
    };

    bool stop = false, analysisStale = true;
    int32_t iteration = 0;
    size_t chosen = kNoCoefficient;
    double m = 0.0;
    // A NaN PSNR ends the loop too: the expansion could never recover.
    while (!stop && psnr < requestedPSNR) {
      if (analysisStale || iteration % freshInterval == 0 || bound.BelowNoiseFloor(energy) ||
          blocks->ExactAnalysisPays()) {
        analyseExactly();
      } else {
        blocks->Update(chosen, m);
        bound.Update(m, energy + energyError);
      }
      TLeadingPair pair = !blocks         ? ChooseLeadingPair(work, norms, normsPositive)
                          : bound.Exact() ? blocks->ChooseOnExactAnalysis()
                                          : blocks->Choose();
      if (pair.Best != kNoCoefficient && !bound.SeparatesByGap(pair) &&
          blocks->AnyRivalWithin(pair.Best, bound.Error())) {
        analyseExactly();
        pair = ChooseLeadingPair(work, norms, normsPositive);
      }
      chosen = pair.Best;
      // No basis function reaches the mask: nothing could lower the error.
      if (chosen == kNoCoefficient) break;

      m = work[chosen] / norms[chosen];
      accumulated[chosen] += m;
      const uint16_t u = uint16_t(chosen % width);
      const uint16_t v = uint16_t(chosen / width);
      ++iteration;
      const bool notify = notifyInterval > 0 && iteration % notifyInterval == 0 && onProgress;
      analysisStale = alwaysExact;
      if (alwaysExact) {
        basis.Subtract(u, v, m, coefficients);
        energy = basis.Energy(coefficients);
        psnr = PSNROfEnergy(energy, maskPixels);
      } else {
        // The residual loses m times basis function `chosen`, whose analysis
        // value is work[chosen]: its energy loses m * work[chosen], up to
        // twice |m| times the analysis's error.
        pending.push_back({chosen, m});
        energyError += 2.0 * std::fabs(m) * bound.Error() + kEnergyRounding * energy;
        energy -= m * work[chosen];
        psnr = PSNROfEnergy(energy, maskPixels);
        // The request decides on the residual's own energy, as the literal
        // engine's; so does a handler that reads the residual.
        const double highest = PSNROfEnergy(std::max(energy - energyError, 0.0), maskPixels);
        if (!(highest < requestedPSNR) || (notify && onProgress.ReadsResidual)) {
          settleResidual();
          analysisStale = true;
        }
      }

      if (notify)
        onProgress(iteration, accumulated, psnr, pending.empty() ? coefficients : kNoResidual, u,
                   v, stop);
    }

    coefficients = accumulated;
    return bracket.Close();
  } catch (...) {
    bracket.CloseQuietly();
    std::fill(coefficients.begin(), coefficients.end(), 0.0);
    return kEngineFailedStatus;
  }
}

}  // namespace tvlc
