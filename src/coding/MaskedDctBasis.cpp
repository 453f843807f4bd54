#include "coding/MaskedDctBasis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tvlc {

TMaskedDctBasis::TAxisFactors::TAxisFactors(uint32_t n)
    : Cosines(size_t{4} * n),
      ZeroScale(1.0 / std::sqrt(double(n))),
      OtherScale(std::sqrt(2.0 / n)) {
  for (size_t i = 0; i < Cosines.size(); ++i)
    Cosines[i] = std::cos(double(i) * std::numbers::pi / (2.0 * n));
}

double TMaskedDctBasis::TAxisFactors::Factor(uint32_t k, uint32_t x) const {
  // 4n is a power of two that divides 2^32, so masking the (possibly
  // wrapped) product finds the right entry.
  return Cosines[(k * (2 * x + 1)) & (Cosines.size() - 1)] * (k > 0 ? OtherScale : ZeroScale);
}

TMaskedDctBasis::TMaskedDctBasis(uint16_t width, uint16_t height, const TShapeMask& mask)
    : width_(width), horizontal_(width), vertical_(height), columnFactors_(width) {
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = mask.data() + size_t{y} * width_;
    for (uint32_t x = 0; x < width_;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      const uint32_t start = x;
      while (x < width_ && row[x]) ++x;
      runs_.push_back({y, start, x - start});
    }
  }
}

double TMaskedDctBasis::Value(uint32_t u, uint32_t v, uint32_t x, uint32_t y) const {
  return horizontal_.Factor(u, x) * vertical_.Factor(v, y);
}

TShapeData TMaskedDctBasis::Pack(const TShapeData& window) const {
  size_t count = 0;
  for (const TRun& run : runs_) count += run.Length;
  TShapeData packed(count);
  double* out = packed.data();
  for (const TRun& run : runs_) {
    const double* from = window.data() + size_t{run.Y} * width_ + run.X;
    out = std::copy(from, from + run.Length, out);
  }
  return packed;
}

void TMaskedDctBasis::Unpack(const TShapeData& packed, TShapeData& window) const {
  const double* from = packed.data();
  for (const TRun& run : runs_) {
    std::copy(from, from + run.Length, window.data() + size_t{run.Y} * width_ + run.X);
    from += run.Length;
  }
}

void TMaskedDctBasis::Subtract(uint16_t u, uint16_t v, double m, TShapeData& packed) {
  for (uint32_t x = 0; x < width_; ++x) columnFactors_[x] = horizontal_.Factor(u, x);
  double* __restrict out = packed.data();
  for (const TRun& run : runs_) {
    const double rowFactor = vertical_.Factor(v, run.Y);
    const double* __restrict factors = columnFactors_.data() + run.X;
    for (uint32_t i = 0; i < run.Length; ++i) out[i] -= factors[i] * rowFactor * m;
    out += run.Length;
  }
}

}  // namespace tvlc
