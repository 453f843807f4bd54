#include "model/segmentation/LabelMap.h"

#include <algorithm>
#include <stdexcept>

namespace tvlc {

size_t CheckedPixelCount(int32_t width, int32_t height) {
  const size_t pixels = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
  if (pixels >= kMaxSegmentPixels)
    throw std::length_error("the picture has too many pixels to segment");
  return pixels;
}

TLabelMap NumberByFirstAppearance(int32_t width, int32_t height, const std::vector<int32_t>& labels,
                                  int32_t bound) {
  TLabelMap map{width, height, std::vector<int32_t>(labels.size()), 0};
  std::vector<int32_t> numbers(size_t(bound), -1);
  for (size_t i = 0; i < labels.size(); ++i) {
    int32_t& number = numbers[size_t(labels[i])];
    if (number < 0) number = map.Count++;
    map.Labels[i] = number;
  }
  return map;
}

TImage LabelMapImage(const TLabelMap& map) {
  TImage image(map.Width, map.Height);
  for (int32_t y = 0; y < map.Height; ++y)
    for (int32_t x = 0; x < map.Width; ++x)
      image.SetPixel(x, y, LabelColor(map.Labels[size_t(y) * map.Width + x]));
  return image;
}

}  // namespace tvlc
