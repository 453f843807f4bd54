#include "coding/Quantizer.h"

#include <cmath>

#include "model/Shape.h"
#include "transform/Registry.h"

namespace tvlc {

double QuantStep(TShape& shape, uint16_t u, uint16_t v) {
  if (shape.Quality == 0) return 1.0;
  const TTransDescriptor* descriptor = HeldDescriptor(shape);
  if (!descriptor) descriptor = LookUpDescriptor(shape);
  if (!descriptor || !descriptor->QuantWeight) return 1.0;
  return descriptor->QuantWeight(u, v, uint32_t(shape.RoundedWidth()),
                                 uint32_t(shape.RoundedHeight())) *
         shape.QuantScale;
}

int64_t QuantizeCoefficient(double c, double step, double normFactor) {
  // nearbyint rounds halves to even under the default rounding mode.
  const double q = std::nearbyint(c * normFactor / step);
  // Saturate what int64 cannot hold (NaN counts as 0) instead of overflowing.
  if (!(q == q)) return 0;
  if (q >= 9.2233720368547758e18) return INT64_MAX;
  if (q <= -9.2233720368547758e18) return INT64_MIN;
  return int64_t(q);
}

double DequantizeCoefficient(int64_t q, double step, double normFactor) {
  return step * double(q) / normFactor;
}

}  // namespace tvlc
