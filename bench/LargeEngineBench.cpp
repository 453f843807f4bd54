// The engines at photograph scale, on the 2048 x 2048 mosaic of photographs
// and its top-left quarter with their segmentation maps (shared test data;
// skipped when absent): the cost of one iteration against the window's side,
// and Encode All by the engines alone (every shape to the request, notified
// every iteration as Encode does, one thread). The reference engine runs once
// on the quarter at 30 dB (about a minute):
//   nice -n 10 tvlc_bench --benchmark_filter=Large
#include <benchmark/benchmark.h>

#include <time.h>

#include <map>
#include <string>

#include "SharedTestData.h"
#include "WindowJob.h"
#include "coding/FastDctEngine.h"

namespace tvlc {
namespace {

const std::string kMosaic = "large/tiles_2048";
const std::string kQuarter = "large/tiles_2048_topleft_1024";

// The shapes of a picture of the shared test data and its felzenszwalb map,
// loaded once; null when the files are absent.
const SampleShapes* LargeSample(const std::string& name) {
  static std::map<std::string, SampleShapes> loaded;
  const std::string picture = SharedFile(name + ".bmp");
  const std::string map = SharedFile(name + "_felzenszwalb.bmp");
  if (!SharedFilesPresent({picture, map})) return nullptr;
  auto found = loaded.find(name);
  if (found == loaded.end()) found = loaded.emplace(name, LoadSampleShapes(picture, map)).first;
  return &found->second;
}

// A request no expansion reaches in the measured iterations.
constexpr double kUnreachablePSNR = 1000.0;

// Iterations of the fast engine on the shape of the mosaic with the most
// pixels among those whose window is side x side; the processor time per
// iteration leaves out the set-up before the first (transform state, moment
// table, first analysis). A refresh period of the largest windows is far
// longer than the iterations measured: their exact analyses are left out.
constexpr int32_t kMeasuredIterations = 300;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

void BM_LargeIteration(benchmark::State& state) {
  const auto side = int32_t(state.range(0));
  const SampleShapes* mosaic = LargeSample(kMosaic);
  if (!mosaic) return state.SkipWithError("no large pictures in the shared test data");
  const TShape* chosen = nullptr;
  for (const TShapeItem& item : mosaic->Shapes) {
    const TShape& shape = *item.Shape;
    if (shape.RoundedWidth() == side && shape.RoundedHeight() == side &&
        (!chosen || shape.PointCount > chosen->PointCount))
      chosen = &shape;
  }
  if (!chosen) return state.SkipWithError("no window of that side in the map");
  const TWindowJob job(*chosen);
  double first = 0.0, seconds = 0.0;
  const TProgressHandler time = [&](int32_t iteration, const TShapeData&, double,
                                    const TShapeData&, uint16_t, uint16_t, bool& stop) {
    if (iteration == 1) first = ThreadSeconds();
    stop = iteration >= kMeasuredIterations;
    if (stop) seconds += ThreadSeconds() - first;
  };
  for (auto _ : state)
    if (job.Run(AnalyzeShapeFastDct, kUnreachablePSNR, time) != 0)
      state.SkipWithError("engine failed");
  state.counters["mask_pixels"] = double(chosen->PointCount);
  state.counters["cpu_ms_per_iteration"] =
      1e3 * seconds / double(state.iterations()) / double(kMeasuredIterations - 1);
}

BENCHMARK(BM_LargeIteration)
    ->RangeMultiplier(2)
    ->Range(64, 2048)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Every shape of the picture to the request.
void BM_LargeEncodeAll(benchmark::State& state, TShapeAnalysis analysis, std::string name,
                       double request) {
  const SampleShapes* sample = LargeSample(name);
  if (!sample) return state.SkipWithError("no large pictures in the shared test data");
  EncodeAllShapes(state, *sample, analysis, request);
}

BENCHMARK_CAPTURE(BM_LargeEncodeAll, quarter_30dB_fast, AnalyzeShapeFastDct, kQuarter, 30.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_LargeEncodeAll, quarter_30dB_literal, AnalyzeShapeLiteral, kQuarter, 30.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_LargeEncodeAll, mosaic_30dB_fast, AnalyzeShapeFastDct, kMosaic, 30.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_LargeEncodeAll, mosaic_36dB_fast, AnalyzeShapeFastDct, kMosaic, 36.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace tvlc
