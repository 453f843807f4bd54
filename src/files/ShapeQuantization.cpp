#include "files/ShapeQuantization.h"

#include <cmath>
#include <stdexcept>

#include "coding/Quantizer.h"
#include "files/Zigzag.h"

namespace tvlc {

namespace {

// Far beyond 32 bits, yet within the range where the quantizer's conversion
// to a 64-bit integer is defined (NaN fails the test too).
constexpr double kLargestConvertible = 4611686018427387904.0;  // 2^62

int32_t QuantizeToInt32(double coefficient, double step, double normFactor) {
  if (std::fabs(coefficient * normFactor / step) < kLargestConvertible) {
    const int64_t q = QuantizeCoefficient(coefficient, step, normFactor);
    if (q >= INT32_MIN && q <= INT32_MAX) return int32_t(q);
  }
  throw std::range_error("Quantized spectrum value can't fit to 32 bits");
}

}  // namespace

int Quantize(TShape& shape, TSpecData& out) {
  if (!shape.HasSpectrum()) return 0;
  const uint32_t width = uint32_t(shape.RoundedWidth());
  if (shape.Spectrum.size() != size_t(shape.WindowSize()))
    throw std::range_error("Spectrum does not match the shape's window");

  TSpecData values;
  values.reserve(shape.Spectrum.size());
  size_t listLength = 0;
  for (const TZigzagPoint& point : ZigzagOrder(width, uint32_t(shape.RoundedHeight()))) {
    const double coefficient = shape.Spectrum[size_t(point.V) * width + point.U];
    values.push_back(
        QuantizeToInt32(coefficient, QuantStep(shape, point.U, point.V), shape.NormFactor));
    if (values.back() != 0) listLength = values.size();
  }
  values.resize(listLength);
  out = std::move(values);
  return int(listLength);
}

size_t LoadQuantized(TShape& shape, const int32_t* values, size_t count, int32_t moduleCode,
                     int32_t transCode, uint8_t quality, uint8_t normKind) {
  shape.ModuleCode = uint32_t(moduleCode);
  shape.TransCode = uint32_t(transCode);
  shape.Descriptor = nullptr;
  shape.SetQuality(quality);
  shape.SetNormKind(normKind);

  const uint32_t width = uint32_t(shape.RoundedWidth());
  shape.Spectrum.assign(size_t(shape.WindowSize()), 0.0);
  const std::vector<TZigzagPoint> order =
      ZigzagOrder(width, uint32_t(shape.RoundedHeight()), count);
  for (size_t i = 0; i < order.size(); ++i) {
    const TZigzagPoint point = order[i];
    shape.Spectrum[size_t(point.V) * width + point.U] =
        DequantizeCoefficient(values[i], QuantStep(shape, point.U, point.V), shape.NormFactor);
  }
  return count - order.size();
}

std::vector<size_t> WindowSizes(const TShapeList& shapes) {
  std::vector<size_t> windows;
  windows.reserve(shapes.size());
  for (const TShapeItem& item : shapes) windows.push_back(size_t(item.Shape->WindowSize()));
  return windows;
}

}  // namespace tvlc
