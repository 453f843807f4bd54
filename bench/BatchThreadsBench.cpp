// Encode All on worker threads against one thread: the encode alone (the
// picture and map are loaded before the clock starts), at 30 dB, of the
// 512 x 512 sample, and at 30 and 36 dB of the 2048 x 2048 tiles pictures
// and their top-left quarter from the shared test data beside the
// repository (SharedTestData.h; skipped when absent). Counters: the process's CPU
// seconds (every thread), the CPU/wall ratio, and the process's peak
// resident memory so far (run one case per process to read it per case).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "SharedTestData.h"
#include "appcore/MainCore.h"

namespace tvlc {
namespace {

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double PeakResidentMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

// The encode writes a diagnostic bitmap per shape into the current folder.
class TScratchFolder {
 public:
  TScratchFolder()
      : previous_(std::filesystem::current_path()),
        folder_(std::filesystem::temp_directory_path() /
                ("tvlc-batch-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }
  ~TScratchFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }

 private:
  std::filesystem::path previous_, folder_;
};

// state.range(0): worker threads, 0 for every core (std::thread::hardware_concurrency);
// state.range(1): the requested PSNR in dB.
void EncodeAll(benchmark::State& state, const std::string& picture, const std::string& map) {
  if (!std::filesystem::exists(picture) || !std::filesystem::exists(map)) {
    state.SkipWithError(("missing " + picture).c_str());
    return;
  }
  TScratchFolder scratch;
  THost host;
  TMainCore core(host, TVLC_BIN_DIR "/");
  core.Threads = state.range(0) == 0 ? AllCores() : unsigned(state.range(0));
  core.Controls.ReqPSNRText = std::to_string(state.range(1));
  if (!core.LoadPicture1Click(picture)) {
    state.SkipWithError("picture refused");
    return;
  }
  double cpu = 0.0, wall = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    core.LoadMap1Click(map);  // fresh shapes
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    state.ResumeTiming();
    core.EncAllBtnClick();
    state.PauseTiming();
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.ResumeTiming();
  }
  state.counters["threads"] = double(core.Threads);
  state.counters["shapes"] = double(core.Shapes.size());
  state.counters["cpu_s"] = cpu / double(state.iterations());
  state.counters["cpu_per_wall"] = wall > 0 ? cpu / wall : 0.0;
  state.counters["peak_MB"] = PeakResidentMB();
}

void At30(benchmark::internal::Benchmark* b) {
  b->Args({1, 30})
      ->Args({0, 30})
      ->ArgNames({"threads", "dB"})
      ->UseRealTime()
      ->Unit(benchmark::kSecond);
}

void At30And36(benchmark::internal::Benchmark* b) {
  At30(b);
  b->Args({1, 36})->Args({0, 36});
}

BENCHMARK_CAPTURE(EncodeAll, sample_512, TVLC_SAMPLES "/camera.bmp",
                  TVLC_SAMPLES "/camera_felzenszwalb.bmp")
    ->Apply(At30)
    ->Iterations(3);
BENCHMARK_CAPTURE(EncodeAll, tiles_2048_topleft_1024,
                  SharedFile("large/tiles_2048_topleft_1024.bmp"),
                  SharedFile("large/tiles_2048_topleft_1024_felzenszwalb.bmp"))
    ->Apply(At30And36)
    ->Iterations(1);
BENCHMARK_CAPTURE(EncodeAll, tiles_2048, SharedFile("large/tiles_2048.bmp"),
                  SharedFile("large/tiles_2048_felzenszwalb.bmp"))
    ->Apply(At30And36)
    ->Iterations(1);

}  // namespace
}  // namespace tvlc
