// Segmentation of a 512 x 512 photograph and of a 2048 x 2048 mosaic of
// photographs by both methods, with the agreement (adjusted Rand index) with
// the maps scikit-image made from the same pictures where those are present.
// The large pictures are read from the shared test data beside the
// repository (TVLC_SHARED_TESTDATA, or the environment variable of that name).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "SharedTestData.h"
#include "model/Bmp.h"
#include "model/PictureArrays.h"
#include "model/segmentation/RandIndex.h"
#include "model/segmentation/Segmentation.h"

namespace tvlc {
namespace {

struct TCase {
  std::string Picture;
  std::string Reference;  // scikit-image's map with the same parameters, or empty
  TSegmentParams Params;
};

TSegmentParams Felzenszwalb(double scale, double sigma, int32_t minSize) {
  TSegmentParams params;
  params.Felzenszwalb = {scale, sigma, minSize};
  return params;
}

TSegmentParams Slic(int32_t segments, double compactness) {
  TSegmentParams params;
  params.Method = TSegmentMethod::Slic;
  params.Slic = {segments, compactness};
  return params;
}

void BM_Segment(benchmark::State& state, const TCase& c) {
  if (!std::filesystem::exists(c.Picture)) {
    state.SkipWithError(("missing " + c.Picture).c_str());
    return;
  }
  const TImage image = ReadBmpFile(c.Picture);
  const std::vector<uint8_t> levels = *RedLevels(image);
  TLabelMap map;
  for (auto _ : state) {
    map = Segment(levels, image.Width(), image.Height(), c.Params);
    benchmark::DoNotOptimize(map.Labels.data());
  }
  state.SetLabel(Describe(c.Params));
  state.counters["regions"] = map.Count;
  state.counters["megapixels_per_s"] = benchmark::Counter(
      double(levels.size()) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
  if (!c.Reference.empty() && std::filesystem::exists(c.Reference))
    state.counters["adjusted_rand_index"] =
        AdjustedRandIndex(map.Labels, *ColorLabels(ReadBmpFile(c.Reference)));
}

const std::string kCamera = std::string(TVLC_SAMPLES) + "/camera.bmp";

BENCHMARK_CAPTURE(BM_Segment, felzenszwalb_512,
                  TCase{kCamera, std::string(TVLC_SAMPLES) + "/camera_felzenszwalb.bmp",
                        Felzenszwalb(250, 0.8, 100)})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Segment, slic_512,
                  TCase{kCamera, SharedFile("maps/camera_slic.bmp"), Slic(450, 0.3)})
    ->Unit(benchmark::kMillisecond);
// The reference map of the mosaic was made with scale 800 and min size 200.
BENCHMARK_CAPTURE(BM_Segment, felzenszwalb_2048,
                  TCase{SharedFile("large/tiles_2048.bmp"),
                        SharedFile("large/tiles_2048_felzenszwalb.bmp"),
                        Felzenszwalb(800, 0.8, 200)})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Segment, felzenszwalb_2048_defaults,
                  TCase{SharedFile("large/tiles_2048.bmp"), "", Felzenszwalb(250, 0.8, 100)})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Segment, slic_2048_defaults,
                  TCase{SharedFile("large/tiles_2048.bmp"), "", Slic(400, 0.3)})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace tvlc
