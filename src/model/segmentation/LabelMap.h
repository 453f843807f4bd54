// The result of a segmentation: one region number per pixel, and the map
// image that carries it into the codec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/Image.h"

namespace tvlc {

// Regions numbered 0 .. Count - 1 in order of first appearance (rows top to
// bottom, each left to right), so region n becomes the n-th shape of the
// map analysis. Labels[x + y * Width] is the region of pixel (x, y).
struct TLabelMap {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<int32_t> Labels;
  int32_t Count = 0;
};

// Told how far a segmentation has come, as a fraction from 0 to 1; called
// often enough to keep a window responsive.
using TSegmentProgress = std::function<void(double fraction)>;

// Segmentation numbers edges and pixels in 32 bits: pictures must have
// fewer pixels than this.
constexpr size_t kMaxSegmentPixels = size_t(1) << 30;
// width * height (0 for a negative extent); throws std::length_error from
// kMaxSegmentPixels on.
size_t CheckedPixelCount(int32_t width, int32_t height);

// Renumbers labels from 0 .. bound - 1 by first appearance.
TLabelMap NumberByFirstAppearance(int32_t width, int32_t height, const std::vector<int32_t>& labels,
                                  int32_t bound);

// The most regions a 24-bit map can tell apart.
constexpr int32_t kMaxMapRegions = 0xFFFFFF;

// Colour of region n in a written map: (n + 1) * 0x9E3779 modulo 2^24. The
// factor is odd, so the mapping is one-to-one on 24-bit values and never
// gives black for n below kMaxMapRegions; it spreads neighbouring numbers
// over all three channels, so regions stay apart on screen. Region 0 is
// 9E3779, region 1 3C6EF2, region 2 DAA66B; the shape of region n is named
// "Shape " + HexLabel(LabelColor(n)).
constexpr TColor LabelColor(int32_t region) {
  return TColor((uint64_t(uint32_t(region)) + 1) * 0x9E3779u) & 0xFFFFFFu;
}

// A 24-bit image with every pixel in the colour of its region.
TImage LabelMapImage(const TLabelMap& map);

}  // namespace tvlc
