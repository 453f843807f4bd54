// The rules of the shape transform engine that every implementation of it
// shares: pixel count and PSNR of a masked residual, the energies of the basis
// functions inside the mask, and the choice of the next coefficient.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Arrays.h"
#include "tvlc/module.h"

namespace tvlc {

// PSNR of a residual that is exactly zero: it satisfies every request.
constexpr double kUnlimitedPSNR = 1e20;

// Returned by ChooseCoefficient when no basis function has energy on the mask.
constexpr size_t kNoCoefficient = SIZE_MAX;

// Number of pixels inside the mask (the sum of its bytes).
uint32_t MaskPixelCount(const TShapeMask& mask);

// 10 * log10(count * 255^2 / E), E the sum of the squared residual values in
// index order; kUnlimitedPSNR when E is exactly 0.
double ResidualPSNR(const TShapeData& residual, uint32_t count);

// The two halves of ResidualPSNR, for an engine that knows where the residual
// is zero: `energy` plus the squares of [from, to) added in index order (a
// stretch of zeros adds nothing, so leaving it out changes no bit), and the
// PSNR of a total energy.
double AddSquares(const double* from, const double* to, double energy);
double PSNROfEnergy(double energy, uint32_t count);

// norms[v*W+u] = sum over the mask of Basis(u, v, x, y)^2. Uses the
// transformation's BasisNorms when it has one, handing it `scratch` filled
// with the mask as doubles (the module may overwrite it); otherwise sums the
// Basis values itself. All arrays hold width * height elements.
void ComputeBasisNorms(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                       const TShapeMask& mask, TShapeData& scratch, TShapeData& norms);

// Index k with the largest work[k]^2 / norms[k], compared by
// cross-multiplication so that nothing is divided; the lowest index wins
// ties, and norms that are 0 or NaN are never chosen. kNoCoefficient when no
// norm is usable.
size_t ChooseCoefficient(const TShapeData& work, const TShapeData& norms);

}  // namespace tvlc
