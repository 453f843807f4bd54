// Zigzag order of the coefficients of a W x H block: from (0, 0) down the
// first column, then alternately up-right and down-left along the
// anti-diagonals, so that low frequencies come first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tvlc {

// Column U and row V of one coefficient.
struct TZigzagPoint {
  uint16_t U;
  uint16_t V;
};

// The first min(limit, width * height) points of the zigzag order of a
// width x height block (both at least 1 and at most 65536).
std::vector<TZigzagPoint> ZigzagOrder(uint32_t width, uint32_t height, size_t limit = SIZE_MAX);

}  // namespace tvlc
