// The built-in DCT II's basis functions on the pixels of a mask, with bit for
// bit the values of its Basis slot but without a slot call per pixel: an
// engine that subtracts them from a residual keeps the residual the literal
// engine has. Residuals are held packed, the mask pixels alone in index
// order: the squares of the packed values sum to exactly the error energy of
// the whole window, whose other pixels are 0, in a fraction of the time.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Arrays.h"

namespace tvlc {

class TMaskedDctBasis {
 public:
  TMaskedDctBasis(uint16_t width, uint16_t height, const TShapeMask& mask);

  // B(u, v, x, y) as the built-in DCT II's Basis gives it.
  double Value(uint32_t u, uint32_t v, uint32_t x, uint32_t y) const;

  // The mask pixels of a window, in index order.
  TShapeData Pack(const TShapeData& window) const;
  // Puts packed values back at their pixels; the others are left alone.
  void Unpack(const TShapeData& packed, TShapeData& window) const;

  // packed[i] -= B(u, v, x, y) * m, (x, y) the i-th pixel of the mask.
  void Subtract(uint16_t u, uint16_t v, double m, TShapeData& packed);

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

  // A row's stretch of consecutive mask pixels.
  struct TRun {
    uint32_t Y, X, Length;
  };

  uint32_t width_;
  std::vector<TRun> runs_;
  TAxisFactors horizontal_, vertical_;
  std::vector<double> columnFactors_;  // of the coefficient being subtracted, per x
};

}  // namespace tvlc
