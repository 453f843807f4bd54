// The built-in DCT II's basis functions on the pixels of a mask, with bit for
// bit the values of its Basis slot but without a slot call per pixel: an
// engine that subtracts them from a residual keeps the residual the literal
// engine would keep with the same multiples. The residual stays a whole
// window, 0 outside the mask; only each row's stretch from its first to its
// last mask pixel is visited, which is also where its error energy lies.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Arrays.h"

namespace tvlc {

class TMaskedDctBasis {
 public:
  // Keeps a reference to `mask`, which must outlive the object.
  TMaskedDctBasis(uint16_t width, uint16_t height, const TShapeMask& mask);

  // B(u, v, x, y) as the built-in DCT II's Basis gives it.
  double Value(uint32_t u, uint32_t v, uint32_t x, uint32_t y) const;

  // residual[p] -= B(u, v, x, y) * m at every mask pixel p = (x, y); the
  // other pixels are left as they are (0 in a residual).
  void Subtract(uint16_t u, uint16_t v, double m, TShapeData& residual);

  // The sum of the squared residual in index order, bit for bit the energy
  // of ResidualPSNR when the residual is 0 outside the mask.
  double Energy(const TShapeData& residual) const;

 private:
  // The DCT II's own arithmetic for the factor of frequency k at position x
  // of an axis of length n: cos(pi k (2x+1) / 2n) from a table of one full
  // period, times the orthonormal scale of k.
  struct TAxisFactors {
    explicit TAxisFactors(uint32_t n);
    double Factor(uint32_t k, uint32_t x) const;

    std::vector<double> Cosines;
    double ZeroScale, OtherScale;
  };

  // A row's pixels from its first to its last mask pixel; empty rows have none.
  struct TRowStretch {
    uint32_t Y, First, End;
  };

  uint32_t width_;
  const TShapeMask& mask_;
  std::vector<TRowStretch> rows_;
  TAxisFactors horizontal_, vertical_;
  std::vector<double> columnFactors_;  // of the coefficient being subtracted, per x
};

}  // namespace tvlc
