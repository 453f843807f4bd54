// Inner products of the orthonormal DCT II basis functions over a mask,
// G[k][j] = sum over the mask of B_k * B_j, without a sum over the mask per
// entry. A product of two cosines is half the sum of the cosines of the sum
// and of the difference of their frequencies, in each direction, so every
// entry combines four unnormalised cosine moments of the mask,
//   C(a, b) = sum over the mask of cos(pi a (2x+1) / 2W) cos(pi b (2y+1) / 2H),
// and all moments follow from those with a < W and b < H, which one DCT II
// of the mask gives: in each direction C(-a) = C(a), C(a + 4W) = C(a),
// C(2W - a) = -C(a), hence C(W) = 0. The table holds just those W x H
// moments, in the array of the mask's spectrum it is made from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Arrays.h"

namespace tvlc {

class TCosineMoments {
 public:
  // `maskSpectrum`: the orthonormal DCT II of the mask (1.0 inside, 0.0
  // outside), width * height coefficients; the table takes over its array.
  TCosineMoments(uint16_t width, uint16_t height, TShapeData maskSpectrum);

  // C(a, b) for any frequencies.
  double Moment(int64_t a, int64_t b) const;

  // work[k] -= m * G[k][j] for every coefficient k: what the analysis of a
  // residual loses when the residual loses m times basis function j on the
  // mask.
  void SubtractGramColumn(size_t j, double m, TShapeData& work) const;
  // The same for the coefficients of columns [u0, u1) and rows [v0, v1)
  // only, with bit for bit the values of the whole update there.
  void SubtractGramColumn(size_t j, double m, TShapeData& work, uint32_t u0, uint32_t u1,
                          uint32_t v0, uint32_t v1) const;

  // The table itself: C(a, b) at b * W + a, for a < W and b < H.
  const TShapeData& Table() const { return table_; }
  // The orthonormal factor of coefficient j (both directions), and the
  // largest factor of any coefficient.
  double Scale(size_t j) const { return scalesW_.Of(uint32_t(j % width_)) * scalesH_.Of(uint32_t(j / width_)); }
  double LargestScale() const { return scalesW_.Other * scalesH_.Other; }

 private:
  uint32_t width_, height_;
  TShapeData table_;  // C(a, b) at b * W + a

  // Orthonormal factor of a frequency: 1/sqrt(n) for 0, sqrt(2/n) for the others.
  struct TScales {
    explicit TScales(uint32_t n);
    double Of(uint32_t frequency) const { return frequency > 0 ? Other : Zero; }
    double Zero, Other;
  };
  TScales scalesW_, scalesH_;
};

}  // namespace tvlc
