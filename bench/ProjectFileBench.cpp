// Save and open of a project of the 512 x 512 sample with every shape
// encoded (spectra filled with random coefficients of the right size).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "appcore/MainCore.h"
#include "base/ReplaceFile.h"
#include "files/ProjectFile.h"

namespace tvlc {
namespace {

struct TEncodedSample {
  THost host;
  TMainCore core{host, std::string(TVLC_BIN_DIR) + "/"};
  std::string path = (std::filesystem::temp_directory_path() / "tvlc-bench.tvp").string();

  TEncodedSample() {
    core.LoadPicture1Click(std::string(TVLC_SAMPLES) + "/camera.bmp");
    core.LoadMap1Click(std::string(TVLC_SAMPLES) + "/camera_felzenszwalb.bmp");
    std::mt19937 random(5);
    std::normal_distribution<double> coefficient(0.0, 100.0);
    for (TShapeItem& item : core.Shapes) {
      TShape& s = *item.Shape;
      s.Spectrum.assign(size_t(s.WindowSize()), 0.0);
      for (double& c : s.Spectrum) c = coefficient(random);
      s.Iterations = 1;
    }
  }
};

TEncodedSample& Sample() {
  static TEncodedSample sample;
  return sample;
}

void BM_SaveProject(benchmark::State& state) {
  TEncodedSample& sample = Sample();
  for (auto _ : state) {
    const std::string bytes = ProjectBytes(sample.core.Picture, sample.core.Map, sample.core.Shapes);
    ReplaceFile(sample.path, bytes);
    state.counters["bytes"] = double(bytes.size());
  }
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_OpenProject(benchmark::State& state) {
  TEncodedSample& sample = Sample();
  ReplaceFile(sample.path, ProjectBytes(sample.core.Picture, sample.core.Map, sample.core.Shapes));
  for (auto _ : state) {
    const TProjectContents project = ReadProject(ReadWholeFile(sample.path));
    benchmark::DoNotOptimize(project.Shapes.size());
  }
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvlc
