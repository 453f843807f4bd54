// Shared helpers of the picture format tests: the corpus under
// tests/data/formats and the samples of its netpbm reference files.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/Bmp.h"
#include "model/formats/ImageFile.h"
#include "model/formats/StreamBytes.h"

namespace tvlc::formatstest {

inline std::string FormatFile(const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/formats/" + name;
}

inline std::vector<uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The binary samples of a P5 or P6 file of maximum 255: its last bytes.
inline std::vector<uint8_t> NetpbmSamples(const std::string& name, size_t count) {
  const std::vector<uint8_t> bytes = Bytes(FormatFile(name));
  return {bytes.end() - ptrdiff_t(count), bytes.end()};
}

inline TDecodedImage Decode(const std::vector<uint8_t>& bytes) {
  TMemoryStream in(bytes.data(), bytes.size());
  return ReadImage(in);
}

// The red component of every pixel, row by row.
inline std::vector<uint8_t> Reds(const TImage& image) {
  std::vector<uint8_t> reds;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) reds.push_back(RedOf(image.Pixel(x, y)));
  return reds;
}

// Red, green and blue of every pixel, row by row.
inline std::vector<uint8_t> Rgbs(const TImage& image) {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      rgb.insert(rgb.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
    }
  return rgb;
}

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr size_t kPixels = size_t(kWidth) * kHeight;

}  // namespace tvlc::formatstest
