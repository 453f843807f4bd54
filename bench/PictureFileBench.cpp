// Reading pictures of each format, and the refusal of a map larger than the
// picture, which reads the map's header only.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "appcore/MainCore.h"
#include "model/Bmp.h"
#include "model/formats/ImageFile.h"
#include "model/formats/PngFile.h"
#include "model/formats/StreamBytes.h"

namespace tvlc {
namespace {

// The 512 x 512 sample tiled over 2048 x 2048, as file bytes of each format.
struct TLargePicture {
  std::vector<uint8_t> bmp, png;

  TLargePicture() {
    const TImage sample = ReadBmpFile(std::string(TVLC_SAMPLES) + "/camera.bmp");
    TImage large(2048, 2048);
    for (int y = 0; y < 2048; ++y)
      for (int x = 0; x < 2048; ++x)
        large.SetPixel(x, y, sample.Pixel(x % sample.Width(), y % sample.Height()));
    bmp = Encoded(large, false);
    png = Encoded(large, true);
  }
  static std::vector<uint8_t> Encoded(const TImage& image, bool png) {
    std::ostringstream out;
    WriteImage(out, image, png);
    const std::string s = out.str();
    return {s.begin(), s.end()};
  }
};

const TLargePicture& Large() {
  static TLargePicture picture;
  return picture;
}

void ReadBytes(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  for (auto _ : state) {
    TMemoryStream in(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(ReadImage(in));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 2048 * 2048);
}

void BM_ReadBmp2048(benchmark::State& state) { ReadBytes(state, Large().bmp); }
void BM_ReadPng2048(benchmark::State& state) { ReadBytes(state, Large().png); }
BENCHMARK(BM_ReadBmp2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPng2048)->Unit(benchmark::kMillisecond);

// An 8192 x 8192 map file (64 MB of pixels) against the 512 x 512 picture:
// refused from its header, against decoding it whole.
struct TOversizeMap {
  std::string path = (std::filesystem::temp_directory_path() / "tvlc-bench-map.bmp").string();
  TOversizeMap() { WriteBmpFile(path, TImage(8192, 8192, kWhite)); }
  ~TOversizeMap() { std::filesystem::remove(path); }
};

const TOversizeMap& OversizeMap() {
  static TOversizeMap map;
  return map;
}

void BM_RefuseOversizeMap(benchmark::State& state) {
  THost host;
  TMainCore core{host, std::string(TVLC_BIN_DIR) + "/"};
  core.LoadPicture1Click(std::string(TVLC_SAMPLES) + "/camera.bmp");
  const std::string& path = OversizeMap().path;
  for (auto _ : state) benchmark::DoNotOptimize(core.LoadMap1Click(path));
}

void BM_DecodeOversizeMap(benchmark::State& state) {
  const std::string& path = OversizeMap().path;
  for (auto _ : state) benchmark::DoNotOptimize(ReadImageFile(path));
}
BENCHMARK(BM_RefuseOversizeMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeOversizeMap)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tvlc
