#include "appcore/EncodeCurves.h"

#include <algorithm>

namespace tvlc {

void TEncodeCurves::StartEncode(const std::string& shapeName, double requested,
                                bool continuing) {
  if (!continuing || shapeName != shapeName_) points_.clear();
  shapeName_ = shapeName;
  requested_ = requested;
}

std::vector<TCurvePoint> ThinForDrawing(const std::vector<TCurvePoint>& points,
                                        size_t maxPoints) {
  const size_t runs = maxPoints / 2;
  if (points.size() <= std::max<size_t>(maxPoints, 2) || runs == 0) return points;
  std::vector<TCurvePoint> thinned;
  thinned.reserve(2 * runs + 2);
  thinned.push_back(points.front());
  const size_t inner = points.size() - 2;  // without the first and the last
  for (size_t r = 0; r < runs; ++r) {
    const auto begin = points.begin() + 1 + std::ptrdiff_t(inner * r / runs);
    const auto end = points.begin() + 1 + std::ptrdiff_t(inner * (r + 1) / runs);
    if (begin == end) continue;
    const auto [low, high] = std::minmax_element(
        begin, end, [](const TCurvePoint& a, const TCurvePoint& b) { return a.PSNR < b.PSNR; });
    thinned.push_back(*std::min(low, high));
    if (low != high) thinned.push_back(*std::max(low, high));
  }
  thinned.push_back(points.back());
  return thinned;
}

}  // namespace tvlc
