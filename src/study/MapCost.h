// What a segmentation map costs to transmit: its label image coded without
// loss. The labels are renumbered in order of first appearance (the decoder
// needs only the partition, not the colours), and each pixel in raster order
// becomes one symbol: 0 when its label is that of the pixel to its left,
// 1 when it is that of the pixel above (and not the left one's), otherwise
// 2 + its number, written as a little-endian base-128 varint. Width, height
// and the symbol stream are then deflated (zlib, best compression). A map
// of generated rectangles costs nothing: its two sizes describe it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/Arrays.h"

namespace tvlc {

std::vector<uint8_t> CodeMapLabels(const std::vector<int32_t>& labels, int32_t width,
                                   int32_t height);

// The partition back from a coding above: label n is the n-th label met in
// raster order. None for bytes that are not such a coding.
std::optional<std::vector<int32_t>> DecodeMapLabels(const std::vector<uint8_t>& coded,
                                                    int32_t& width, int32_t& height);

}  // namespace tvlc
