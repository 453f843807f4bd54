#include "coding/MaskedDctBasis.h"

#include <cmath>
#include <numbers>

#include "coding/EngineSteps.h"

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
    : width_(width), mask_(mask), horizontal_(width), vertical_(height), columnFactors_(width) {
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = mask.data() + size_t{y} * width_;
    uint32_t first = 0, end = width_;
    while (first < end && !row[first]) ++first;
    while (end > first && !row[end - 1]) --end;
    if (first < end) rows_.push_back({y, first, end});
  }
}

double TMaskedDctBasis::Value(uint32_t u, uint32_t v, uint32_t x, uint32_t y) const {
  return horizontal_.Factor(u, x) * vertical_.Factor(v, y);
}

void TMaskedDctBasis::Subtract(uint16_t u, uint16_t v, double m, TShapeData& residual) {
  for (uint32_t x = 0; x < width_; ++x) columnFactors_[x] = horizontal_.Factor(u, x);
  for (const TRowStretch& row : rows_) {
    const size_t start = size_t{row.Y} * width_;
    const double rowFactor = vertical_.Factor(v, row.Y);
    const uint8_t* __restrict inside = mask_.data() + start;
    const double* __restrict factors = columnFactors_.data();
    double* __restrict out = residual.data() + start;
    // The literal engine's product order: (horizontal * vertical) * m.
    for (uint32_t x = row.First; x < row.End; ++x)
      out[x] = inside[x] ? out[x] - factors[x] * rowFactor * m : out[x];
  }
}

double TMaskedDctBasis::Energy(const TShapeData& residual) const {
  double energy = 0.0;
  for (const TRowStretch& row : rows_) {
    const double* start = residual.data() + size_t{row.Y} * width_;
    energy = AddSquares(start + row.First, start + row.End, energy);
  }
  return energy;
}

}  // namespace tvlc
