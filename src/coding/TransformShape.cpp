#include "coding/TransformShape.h"

#include <algorithm>

#include "coding/EngineSteps.h"
#include "coding/FastDctEngine.h"
#include "coding/InitBracket.h"
#include "transform/DCTII.h"

namespace tvlc {

namespace {

// Residual -= m * basis function (u, v) inside the mask; 0 outside it.
void SubtractBasis(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                   const TShapeMask& mask, uint16_t u, uint16_t v, double m, TShapeData& residual) {
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const size_t p = size_t(y) * width + x;
      if (mask[p])
        residual[p] -= descriptor.Basis(u, v, x, y) * m;
      else
        residual[p] = 0.0;
    }
}

uint8_t Synthesize(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                   TShapeData& coefficients) {
  TInitBracket bracket(descriptor);
  const uint8_t status = bracket.Open(width, height);
  if (status != 0) return status;
  // A failing module reports it through Done.
  descriptor.Transform(1, coefficients.data());
  return bracket.Close();
}

uint8_t Analyze(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
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

    // From here on `coefficients` is the residual: the part of the shape's
    // pixels that `accumulated` does not explain yet. Whatever the input held
    // outside the mask, even a NaN, must not reach it.
    for (size_t i = 0; i < count; ++i) coefficients[i] = mask[i] ? coefficients[i] : 0.0;
    double psnr = ResidualPSNR(coefficients, maskPixels);

    bool stop = false;
    int32_t iteration = 0;
    // A NaN PSNR ends the loop too: the expansion could never recover.
    while (!stop && psnr < requestedPSNR) {
      work = coefficients;
      // A failing module reports it through Done.
      descriptor.Transform(0, work.data());
      const size_t chosen = ChooseCoefficient(work, norms);
      // No basis function reaches the mask: nothing could lower the error.
      if (chosen == kNoCoefficient) break;

      const double m = work[chosen] / norms[chosen];
      accumulated[chosen] += m;
      const uint16_t u = uint16_t(chosen % width);
      const uint16_t v = uint16_t(chosen / width);
      SubtractBasis(descriptor, width, height, mask, u, v, m, coefficients);
      psnr = ResidualPSNR(coefficients, maskPixels);

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

TEngineChoice engineChoice = TEngineChoice::Fast;

}  // namespace

void SetEngineChoice(TEngineChoice choice) { engineChoice = choice; }

uint8_t TransformShape(const TTransDescriptor* descriptor, uint16_t width, uint16_t height,
                       TShapeData& coefficients, bool inverse, const TShapeMask& mask,
                       double requestedPSNR, uint16_t notifyInterval,
                       const TProgressHandler& onProgress) {
  // The one place where an engine is picked for a transformation. Arrays that
  // do not fit the window are left to the reference engine, which refuses
  // them.
  const size_t count = size_t(width) * height;
  if (!inverse && engineChoice == TEngineChoice::Fast && descriptor == DctIIDescriptor() &&
      coefficients.size() == count && mask.size() == count)
    return AnalyzeShapeFastDct(*descriptor, width, height, coefficients, mask, requestedPSNR,
                               notifyInterval, onProgress);
  return TransformShapeLiteral(descriptor, width, height, coefficients, inverse, mask,
                               requestedPSNR, notifyInterval, onProgress);
}

uint8_t TransformShapeLiteral(const TTransDescriptor* descriptor, uint16_t width, uint16_t height,
                              TShapeData& coefficients, bool inverse, const TShapeMask& mask,
                              double requestedPSNR, uint16_t notifyInterval,
                              const TProgressHandler& onProgress) {
  if (!descriptor) return TVLC_STATUS_WRONG_STATE;
  const size_t count = size_t(width) * height;
  // Every loop below runs over width * height elements of these arrays.
  if (coefficients.size() != count || (!inverse && mask.size() != count))
    return TVLC_STATUS_LENGTH_MISMATCH;
  if (inverse) return Synthesize(*descriptor, width, height, coefficients);
  return Analyze(*descriptor, width, height, coefficients, mask, requestedPSNR, notifyInterval,
                 onProgress);
}

uint8_t AnalyzeShapeLiteral(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask,
                            double requestedPSNR, uint16_t notifyInterval,
                            const TProgressHandler& onProgress) {
  return TransformShapeLiteral(&descriptor, width, height, coefficients, false, mask,
                               requestedPSNR, notifyInterval, onProgress);
}

}  // namespace tvlc
