// Quantization of a shape's coefficients: the step of each coefficient is the
// transformation's own weight for it times the shape's quality scale, and
// coefficients are normalized before division.
#pragma once

#include <cstdint>

namespace tvlc {

class TShape;

// Step of coefficient (u, v): 1.0 when the shape is not quantized, its
// transformation is unknown or has no weights.
double QuantStep(TShape& shape, uint16_t u, uint16_t v);

// round(c * NormFactor / step), halves to even; saturated to the int64 range,
// NaN gives 0.
int64_t QuantizeCoefficient(double c, double step, double normFactor);
// step * q / NormFactor.
double DequantizeCoefficient(int64_t q, double step, double normFactor);

}  // namespace tvlc
