#include "model/segmentation/Segmentation.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tvlc {

namespace {

// The shortest text that reads back as the same double: 0.8, 250, 1e-05.
std::string ShortNumber(double value) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end.ptr);
}

bool Between(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

}  // namespace

const char* MethodName(TSegmentMethod method) {
  return method == TSegmentMethod::Slic ? "slic" : "felzenszwalb";
}

std::optional<TSegmentMethod> MethodNamed(const std::string& name) {
  for (TSegmentMethod method : {TSegmentMethod::Felzenszwalb, TSegmentMethod::Slic})
    if (name == MethodName(method)) return method;
  return std::nullopt;
}

std::string ParamsError(const TSegmentParams& params, size_t pixels) {
  if (params.Method == TSegmentMethod::Felzenszwalb) {
    const TFelzenszwalbParams& p = params.Felzenszwalb;
    if (!Between(p.Scale, 0.0, kMaxScale))
      return "scale " + ShortNumber(p.Scale) + " is not between 0 and " + ShortNumber(kMaxScale);
    if (!Between(p.Sigma, 0.0, kMaxSigma))
      return "sigma " + ShortNumber(p.Sigma) + " is not between 0 and " + ShortNumber(kMaxSigma);
    if (p.MinSize < 0) return "min size " + std::to_string(p.MinSize) + " is below 0";
    return {};
  }
  const TSlicParams& p = params.Slic;
  const int64_t most = std::min<int64_t>(int64_t(pixels), kMaxMapRegions);
  if (p.Segments < 1 || p.Segments > most)
    return std::to_string(p.Segments) + " segments are not between 1 and " + std::to_string(most);
  if (!(p.Compactness > 0.0) || !Between(p.Compactness, 0.0, kMaxCompactness))
    return "compactness " + ShortNumber(p.Compactness) + " is not above 0 and up to " +
           ShortNumber(kMaxCompactness);
  return {};
}

std::string Describe(const TSegmentParams& params) {
  if (params.Method == TSegmentMethod::Felzenszwalb) {
    const TFelzenszwalbParams& p = params.Felzenszwalb;
    return std::string(MethodName(params.Method)) + " (scale " + ShortNumber(p.Scale) + ", sigma " +
           ShortNumber(p.Sigma) + ", min size " + std::to_string(p.MinSize) + ")";
  }
  const TSlicParams& p = params.Slic;
  return std::string(MethodName(params.Method)) + " (" + std::to_string(p.Segments) +
         " segments, compactness " + ShortNumber(p.Compactness) + ")";
}

TLabelMap Segment(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                  const TSegmentParams& params, const TSegmentProgress& progress) {
  if (params.Method == TSegmentMethod::Slic)
    return SegmentSlic(grey, width, height, params.Slic, progress);
  return SegmentFelzenszwalb(grey, width, height, params.Felzenszwalb, progress);
}

}  // namespace tvlc
