// The default rate-distortion sweep of the 512 x 512 sample (requested PSNR
// 20 to 45 dB in steps of 0.5, quality 50): one encode with snapshots, then
// 51 settings requantized, written, read back, decoded and measured. Goal:
// under 60 s for 32 x 32 rectangles and for the felzenszwalb map. The parts
// are timed apart to show where the seconds go.
#include <benchmark/benchmark.h>

#include "appcore/MainCore.h"
#include "appcore/StudyInput.h"
#include "study/RdStudy.h"
#include "study/Ssim.h"

namespace tvlc {
namespace {

struct TSample {
  THost host;
  TMainCore core{host, std::string(TVLC_BIN_DIR) + "/"};
  explicit TSample(bool rectangles) {
    core.LoadPicture1Click(std::string(TVLC_SAMPLES) + "/camera.bmp");
    if (rectangles)
      core.GenerateRectangles(32, 32);
    else
      core.LoadMap1Click(std::string(TVLC_SAMPLES) + "/camera_felzenszwalb.bmp");
  }
};

void BM_DefaultSweep(benchmark::State& state) {
  TSample sample(state.range(0) == 0);
  TSweepSettings settings;
  settings.Psnr = PsnrRange(20.0, 45.0, 0.5);
  settings.Qualities = {50};
  settings.Norms = {2};
  double encode = 0.0, measure = 0.0;
  for (auto _ : state) {
    const TSweepInput input = StudyInputOf(sample.core, sample.core.Shapes, "map", false);
    const TSweepResult result = RunRegionSweep(input, settings);
    benchmark::DoNotOptimize(result.Rows.data());
    encode += result.EncodeSeconds;
    measure += result.MeasureSeconds;
  }
  state.counters["encode_s"] = encode / double(state.iterations());
  state.counters["measure_s"] = measure / double(state.iterations());
  state.SetLabel(state.range(0) == 0 ? "rect 32x32" : "felzenszwalb map");
}
BENCHMARK(BM_DefaultSweep)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

void BM_SsimOf512(benchmark::State& state) {
  std::vector<uint8_t> a(512 * 512), b(512 * 512);
  for (size_t i = 0; i < a.size(); ++i) {
    a[i] = uint8_t(i * 7 % 251);
    b[i] = uint8_t(i * 7 % 241);
  }
  for (auto _ : state) benchmark::DoNotOptimize(StructuralSimilarity(a, b, 512, 512));
}
BENCHMARK(BM_SsimOf512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvlc
