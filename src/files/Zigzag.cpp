#include "files/Zigzag.h"

#include <algorithm>

namespace tvlc {

std::vector<TZigzagPoint> ZigzagOrder(uint32_t width, uint32_t height, size_t limit) {
  const size_t count = std::min(limit, size_t(width) * height);
  std::vector<TZigzagPoint> order;
  order.reserve(count);
  uint32_t u = 0, v = 0;
  bool downLeft = true;
  while (order.size() < count) {
    order.push_back({uint16_t(u), uint16_t(v)});
    if (downLeft) {
      if (v == height - 1) {
        ++u;
        downLeft = false;
      } else if (u == 0) {
        ++v;
        downLeft = false;
      } else {
        --u;
        ++v;
      }
    } else {
      if (u == width - 1) {
        ++v;
        downLeft = true;
      } else if (v == 0) {
        ++u;
        downLeft = true;
      } else {
        ++u;
        --v;
      }
    }
  }
  return order;
}

}  // namespace tvlc
