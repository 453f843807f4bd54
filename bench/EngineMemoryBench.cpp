// What the two analysis engines allocate on a 2048 x 2048 window: the peak
// of the heap bytes in use during one analysis, counted by the heap probe,
// in doubles per window coefficient (N), and the process's peak resident
// size. The fast engine must stay within 4.5 N; the reference needs its
// three working arrays. Run one engine per process for the process peak:
//   tvlc_bench --benchmark_filter=EngineMemory/fast
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <string>

#include "../tests/coding/HeapProbe.h"
#include "coding/FastDctEngine.h"
#include "coding/TransformShape.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

constexpr uint16_t kSide = 2048;
constexpr size_t kCoefficients = size_t(kSide) * kSide;
// A few iterations show the working set; the reference's cost a second each.
constexpr int32_t kIterations = 3;

// Peak resident size of the process so far, in bytes.
double ProcessPeakBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024.0;
  return 0.0;
}

void BM_EngineMemory(benchmark::State& state, TShapeAnalysis analysis) {
  if (!heap_probe::Installed()) state.SkipWithError("no heap probe in this build");
  // An irregular region (a disc with a wavy edge) over most of the window,
  // with smooth content and fine texture.
  TShapeMask mask(kCoefficients);
  TShapeData pixels(kCoefficients);
  for (uint32_t y = 0; y < kSide; ++y)
    for (uint32_t x = 0; x < kSide; ++x) {
      const double dx = x - 1024.0, dy = y - 1024.0;
      const double radius = 900.0 + 60.0 * std::sin(std::atan2(dy, dx) * 7.0);
      const size_t p = size_t(y) * kSide + x;
      mask[p] = dx * dx + dy * dy < radius * radius;
      pixels[p] = std::round(80.0 * std::sin(x / 97.0) * std::cos(y / 61.0) +
                             20.0 * std::sin(x * 0.9 + y * 1.7));
    }
  const TProgressHandler stopAfter = [](int32_t iteration, const TShapeData&, double,
                                        const TShapeData&, uint16_t, uint16_t, bool& stop) {
    stop = iteration >= kIterations;
  };
  double engineDoubles = 0.0;
  for (auto _ : state) {
    TShapeData coefficients = pixels;
    const size_t before = heap_probe::BytesInUse();
    heap_probe::ResetPeak();
    if (analysis(*DctIIDescriptor(), kSide, kSide, coefficients, mask, 1000.0, 1, stopAfter) != 0)
      state.SkipWithError("engine failed");
    engineDoubles = double(heap_probe::PeakBytes() - before) / sizeof(double);
  }
  state.counters["N"] = double(kCoefficients);
  state.counters["peak_doubles_per_N"] = engineDoubles / double(kCoefficients);
  state.counters["process_peak_MiB"] = ProcessPeakBytes() / (1024.0 * 1024.0);
}

BENCHMARK_CAPTURE(BM_EngineMemory, fast, AnalyzeShapeFastDct)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_EngineMemory, literal, AnalyzeShapeLiteral)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace tvlc
