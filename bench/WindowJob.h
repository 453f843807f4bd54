// One shape's window as the analysis engines take it, for the engine
// benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "../tests/coding/SampleShapes.h"
#include "coding/TransformShape.h"
#include "transform/DCTII.h"

namespace tvlc {

struct TWindowJob {
  uint16_t Width, Height;
  TShapeMask Mask;
  TShapeData Pixels;

  explicit TWindowJob(const TShape& shape)
      : Width(uint16_t(shape.RoundedWidth())),
        Height(uint16_t(shape.RoundedHeight())),
        Mask(WindowMask(shape)),
        Pixels(CentredShapePixels(shape)) {}

  uint8_t Run(TShapeAnalysis analysis, double request, const TProgressHandler& onProgress) const {
    TShapeData coefficients = Pixels;
    const uint8_t status =
        analysis(*DctIIDescriptor(), Width, Height, coefficients, Mask, request, 1, onProgress);
    benchmark::DoNotOptimize(coefficients.data());
    return status;
  }
};

}  // namespace tvlc
