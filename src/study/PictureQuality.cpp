#include "study/PictureQuality.h"

#include <algorithm>
#include <cmath>

namespace tvlc {

std::optional<double> DecodedPSNR(const std::vector<uint8_t>& picture, int picWidth,
                                  int picHeight, const TImage& decoded,
                                  const std::vector<uint8_t>& decodedMask, int mapWidth,
                                  int mapHeight) {
  const int width = std::min(picWidth, mapWidth);
  const int height = std::min(picHeight, mapHeight);
  uint64_t count = 0, sse = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t m = size_t(y) * mapWidth + x;
      if (m >= decodedMask.size() || !decodedMask[m]) continue;
      const int diff = int(picture[size_t(y) * picWidth + x]) - int(RedOf(decoded.Pixel(x, y)));
      ++count;
      sse += uint64_t(diff * diff);
    }
  if (sse == 0) return std::nullopt;
  return 10.0 * std::log10(double(count) * 65025.0 / double(sse));
}

std::vector<uint8_t> DecodedGreyLevels(const TImage& decoded, int picWidth, int picHeight) {
  std::vector<uint8_t> grey(size_t(picWidth) * picHeight, 255);
  for (int y = 0; y < picHeight; ++y)
    for (int x = 0; x < picWidth; ++x)
      if (decoded.Inside(x, y)) grey[size_t(y) * picWidth + x] = uint8_t(RedOf(decoded.Pixel(x, y)));
  return grey;
}

}  // namespace tvlc
