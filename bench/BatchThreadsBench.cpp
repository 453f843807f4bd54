// Encode All on worker threads against one thread: the encode alone (the
// picture and map are loaded before the clock starts), at 30 dB, of the
// 512 x 512 sample and of the 2048 x 2048 tiles pictures from the shared
// test data beside the repository (TVLC_SHARED_TESTDATA, or the environment
// variable of that name; skipped when absent). Counters: the process's CPU
// seconds (every thread), the CPU/wall ratio, and the process's peak
// resident memory so far (run one case per process to read it per case).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "appcore/MainCore.h"

namespace tvlc {
namespace {

std::string SharedFile(const std::string& name) {
  const char* folder = std::getenv("TVLC_SHARED_TESTDATA");
  return std::string(folder ? folder : TVLC_SHARED_TESTDATA) + "/" + name;
}

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

// state.range(0): worker threads, 0 for every core (std::thread::hardware_concurrency).
void EncodeAll(benchmark::State& state, const std::string& picture, const std::string& map) {
  if (!std::filesystem::exists(picture) || !std::filesystem::exists(map)) {
    state.SkipWithError(("missing " + picture).c_str());
    return;
  }
  TScratchFolder scratch;
  THost host;
  TMainCore core(host, TVLC_BIN_DIR "/");
  core.Threads = state.range(0) == 0 ? AllCores() : unsigned(state.range(0));
  core.Controls.ReqPSNRText = "30";
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

void ThreadCounts(benchmark::internal::Benchmark* b) {
  b->Arg(1)->Arg(0)->ArgName("threads")->UseRealTime()->Unit(benchmark::kSecond);
}

BENCHMARK_CAPTURE(EncodeAll, sample_512, TVLC_SAMPLES "/camera.bmp",
                  TVLC_SAMPLES "/camera_felzenszwalb.bmp")
    ->Apply(ThreadCounts)
    ->Iterations(3);
BENCHMARK_CAPTURE(EncodeAll, tiles_2048_topleft_1024,
                  SharedFile("large/tiles_2048_topleft_1024.bmp"),
                  SharedFile("large/tiles_2048_topleft_1024_felzenszwalb.bmp"))
    ->Apply(ThreadCounts)
    ->Iterations(1);
BENCHMARK_CAPTURE(EncodeAll, tiles_2048, SharedFile("large/tiles_2048.bmp"),
                  SharedFile("large/tiles_2048_felzenszwalb.bmp"))
    ->Apply(ThreadCounts)
    ->Iterations(1);

}  // namespace
}  // namespace tvlc
