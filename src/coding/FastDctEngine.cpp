#include "coding/FastDctEngine.h"

#include <algorithm>
#include <optional>

#include "coding/CosineMoments.h"
#include "coding/EngineSteps.h"
#include "coding/InitBracket.h"
#include "coding/MaskedDctBasis.h"
#include "coding/TransformShape.h"

namespace tvlc {

namespace {

TCosineMoments MomentsOfMask(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                             const TShapeMask& mask) {
  TShapeData spectrum(mask.size());
  for (size_t i = 0; i < mask.size(); ++i) spectrum[i] = double(mask[i]);
  // A failing module reports it through Done.
  descriptor.Transform(0, spectrum.data());
  return TCosineMoments(width, height, spectrum);
}

}  // namespace

uint8_t AnalyzeShapeFastDct(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask, double requestedPSNR,
                            uint16_t notifyInterval, const TProgressHandler& onProgress) {
  const size_t count = size_t(width) * height;
  TInitBracket bracket(descriptor);
  try {
    TShapeData norms(count), accumulated(count), work(count);
    const uint8_t initStatus = bracket.Open(width, height);
    if (initStatus != 0) return initStatus;

    const uint32_t maskPixels = MaskPixelCount(mask);
    ComputeBasisNorms(descriptor, width, height, mask, work, norms);
    TMaskedDctBasis basis(width, height, mask);
    // Only needed once the analysis is carried over an iteration.
    std::optional<TCosineMoments> moments;

    // From here on `coefficients` is the residual; whatever the input held
    // outside the mask, even a NaN, must not reach it. The iterations work on
    // its packed mask pixels and bring the window up to date whenever it is
    // looked at.
    for (size_t i = 0; i < count; ++i) coefficients[i] = mask[i] ? coefficients[i] : 0.0;
    TShapeData residual = basis.Pack(coefficients);
    double psnr = ResidualPSNR(residual, maskPixels);

    bool stop = false;
    int32_t iteration = 0;
    size_t chosen = kNoCoefficient;
    double m = 0.0;
    // A NaN PSNR ends the loop too: the expansion could never recover.
    while (!stop && psnr < requestedPSNR) {
      if (iteration % kFreshAnalysisInterval == 0) {
        work = coefficients;
        // A failing module reports it through Done.
        descriptor.Transform(0, work.data());
      } else {
        if (!moments) moments.emplace(MomentsOfMask(descriptor, width, height, mask));
        moments->SubtractGramColumn(chosen, m, work);
      }
      chosen = ChooseCoefficient(work, norms);
      // No basis function reaches the mask: nothing could lower the error.
      if (chosen == kNoCoefficient) break;

      m = work[chosen] / norms[chosen];
      accumulated[chosen] += m;
      const uint16_t u = uint16_t(chosen % width);
      const uint16_t v = uint16_t(chosen / width);
      basis.Subtract(u, v, m, residual);
      psnr = ResidualPSNR(residual, maskPixels);

      ++iteration;
      const bool notifies = notifyInterval > 0 && iteration % notifyInterval == 0 && onProgress;
      if (notifies || iteration % kFreshAnalysisInterval == 0) basis.Unpack(residual, coefficients);
      if (notifies) onProgress(iteration, accumulated, psnr, coefficients, u, v, stop);
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
