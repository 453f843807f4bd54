// The fast DCT II engine beside the literal one on the camera picture: the
// cost of one iteration on real windows of each size, and Encode All of the
// whole map to 30 dB, by the engines alone and by the command. The literal
// runs take long: leave them out with --benchmark_filter=-literal.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "WindowJob.h"
#include "appcore/MainCore.h"
#include "coding/FastDctEngine.h"

namespace tvlc {
namespace {

const std::string kPicture = std::string(TVLC_SAMPLES) + "/camera.bmp";
const std::string kMap = std::string(TVLC_SAMPLES) + "/camera_felzenszwalb.bmp";

// Two periods of fresh analyses of the fast engine.
constexpr int32_t kMeasuredIterations = 2 * kFreshAnalysisInterval;
// A request no expansion reaches within kMeasuredIterations.
constexpr double kUnreachablePSNR = 1000.0;
constexpr double kEncodeAllPSNR = 30.0;

const SampleShapes& Camera() {
  static const SampleShapes sample = LoadSampleShapes(kPicture, kMap);
  return sample;
}

TWindowJob JobOfShape(const std::string& name) {
  for (const TShapeItem& item : Camera().Shapes)
    if (item.Name == name) return TWindowJob(*item.Shape);
  throw std::runtime_error("no " + name + " in the camera map");
}

// kMeasuredIterations iterations on one window, set-up included.
void BM_Iteration(benchmark::State& state, TShapeAnalysis analysis, const std::string& name) {
  const TWindowJob job = JobOfShape(name);
  int64_t iterations = 0;
  const TProgressHandler count = [&](int32_t iteration, const TShapeData&, double,
                                     const TShapeData&, uint16_t, uint16_t, bool& stop) {
    ++iterations;
    stop = iteration >= kMeasuredIterations;
  };
  for (auto _ : state)
    if (job.Run(analysis, kUnreachablePSNR, count) != 0) state.SkipWithError("engine failed");

  state.counters["window_pixels"] = double(job.Width) * job.Height;
  state.counters["iterations"] = double(iterations) / double(state.iterations());
  state.counters["s_per_iteration"] = benchmark::Counter(
      double(iterations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A large shape of each window size.
#define TVLC_ITERATION_BENCHMARKS(size, shape)                                          \
  BENCHMARK_CAPTURE(BM_Iteration, fast_##size, AnalyzeShapeFastDct, std::string(shape)) \
      ->Unit(benchmark::kMillisecond);                                                  \
  BENCHMARK_CAPTURE(BM_Iteration, literal_##size, AnalyzeShapeLiteral, std::string(shape))  \
      ->Unit(benchmark::kMillisecond)                                                   \
      ->Iterations(1)

TVLC_ITERATION_BENCHMARKS(64x64, "Shape C9492E");
TVLC_ITERATION_BENCHMARKS(128x128, "Shape D68375");
TVLC_ITERATION_BENCHMARKS(256x256, "Shape ADBD54");
TVLC_ITERATION_BENCHMARKS(512x512, "Shape 30774D");

// Every shape of the map to 30 dB, the engine alone, notified every
// iteration as Encode does.
void BM_EncodeAllEngines(benchmark::State& state, TShapeAnalysis analysis) {
  EncodeAllShapes(state, Camera(), analysis, kEncodeAllPSNR);
}

BENCHMARK_CAPTURE(BM_EncodeAllEngines, fast, AnalyzeShapeFastDct)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeAllEngines, literal, AnalyzeShapeLiteral)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A working directory of its own for the diagnostic bitmaps the command
// writes, removed afterwards.
class TScratchDirectory {
 public:
  TScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvlc_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch directory");
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~TScratchDirectory() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  std::string Path() const { return path_.string() + "/"; }

 private:
  std::filesystem::path previous_, path_;
};

// The Encode All command of the main window with the default transformation
// (the built-in DCT II, so the fast engine) and the default request, 30 dB.
void BM_EncodeAllCommand(benchmark::State& state) {
  const TScratchDirectory scratch;
  THost host;
  size_t shapes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // No modules in the scratch directory: the built-in module alone.
    auto core = std::make_unique<TMainCore>(host, scratch.Path());
    if (!core->LoadPicture1Click(kPicture) || !core->LoadMap1Click(kMap))
      state.SkipWithError("camera not loaded");
    state.ResumeTiming();
    core->EncAllBtnClick();
    state.PauseTiming();
    if (core->EncodeFailures != 0) state.SkipWithError("encode failed");
    shapes = core->Shapes.size();
    for (const TShapeItem& item : core->Shapes)
      if (!item.Shape->HasSpectrum()) state.SkipWithError("shape left without spectrum");
    core.reset();
    state.ResumeTiming();
  }
  state.counters["shapes"] = double(shapes);
}

BENCHMARK(BM_EncodeAllCommand)->Unit(benchmark::kMillisecond);

// The Decode All command on the sample encoded to 30 dB, diagnostic bitmaps
// included.
void BM_DecodeAllCommand(benchmark::State& state) {
  const TScratchDirectory scratch;
  THost host;
  TMainCore core(host, scratch.Path());
  if (!core.LoadPicture1Click(kPicture) || !core.LoadMap1Click(kMap))
    state.SkipWithError("camera not loaded");
  core.EncAllBtnClick();
  for (auto _ : state) core.DecAllBtnClick();
  state.counters["shapes"] = double(core.Shapes.size());
}

BENCHMARK(BM_DecodeAllCommand)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvlc
