#include "coding/FastDctEngine.h"

#include <algorithm>
#include <new>
#include <optional>

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
        basis(width, height, mask) {}

  TShapeData norms, accumulated, work;
  TShapeData momentTable;  // the mask's spectrum until it becomes the moment table
  TMaskedDctBasis basis;
};

// The exact analysis of the residual, by the transformation itself.
void AnalyseExactly(const TTransDescriptor& descriptor, const TShapeData& residual,
                    TShapeData& work) {
  std::copy(residual.begin(), residual.end(), work.begin());
  // A failing module reports it through Done.
  descriptor.Transform(0, work.data());
}

}  // namespace

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

    // From here on `coefficients` is the residual; whatever the input held
    // outside the mask, even a NaN, must not reach it.
    for (size_t i = 0; i < mask.size(); ++i) coefficients[i] = mask[i] ? coefficients[i] : 0.0;
    double energy = basis.Energy(coefficients);
    double psnr = PSNROfEnergy(energy, maskPixels);

    const bool alwaysExact = mask.size() <= kExactAnalysisWindow;
    bool stop = false;
    int32_t iteration = 0;
    size_t chosen = kNoCoefficient;
    double m = 0.0;
    // A NaN PSNR ends the loop too: the expansion could never recover.
    while (!stop && psnr < requestedPSNR) {
      if (alwaysExact || iteration % kFreshAnalysisInterval == 0 || bound.BelowNoiseFloor(energy)) {
        AnalyseExactly(descriptor, coefficients, work);
        bound.Refresh(energy);
      } else {
        moments.SubtractGramColumn(chosen, m, work);
        bound.Update(m, energy);
      }
      TLeadingPair pair = ChooseLeadingPair(work, norms, normsPositive);
      if (pair.Best != kNoCoefficient && !bound.Separates(pair, work, norms)) {
        AnalyseExactly(descriptor, coefficients, work);
        bound.Refresh(energy);
        pair = ChooseLeadingPair(work, norms, normsPositive);
      }
      chosen = pair.Best;
      // No basis function reaches the mask: nothing could lower the error.
      if (chosen == kNoCoefficient) break;

      m = work[chosen] / norms[chosen];
      accumulated[chosen] += m;
      const uint16_t u = uint16_t(chosen % width);
      const uint16_t v = uint16_t(chosen / width);
      basis.Subtract(u, v, m, coefficients);
      energy = basis.Energy(coefficients);
      psnr = PSNROfEnergy(energy, maskPixels);

      ++iteration;
      if (notifyInterval > 0 && iteration % notifyInterval == 0 && onProgress)
        onProgress(iteration, accumulated, psnr, coefficients, u, v, stop);
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
