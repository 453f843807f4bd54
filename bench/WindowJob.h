// One shape's window as the analysis engines take it, for the engine
// benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

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

// Encode All by an engine alone: every shape of a sample to the request,
// notified every iteration as Encode does, with its counters.
inline void EncodeAllShapes(benchmark::State& state, const SampleShapes& sample,
                            TShapeAnalysis analysis, double request) {
  std::vector<TWindowJob> jobs;
  for (const TShapeItem& item : sample.Shapes) jobs.emplace_back(*item.Shape);
  int64_t iterations = 0;
  const TProgressHandler count = [&](int32_t, const TShapeData&, double, const TShapeData&,
                                     uint16_t, uint16_t, bool&) { ++iterations; };
  for (auto _ : state)
    for (const TWindowJob& job : jobs)
      if (job.Run(analysis, request, count) != 0) state.SkipWithError("engine failed");
  state.counters["shapes"] = double(jobs.size());
  state.counters["iterations"] = double(iterations) / double(state.iterations());
  state.counters["pixels"] = double(sample.PicWidth) * sample.PicHeight;
}

}  // namespace tvlc
