#include "coding/CosineMoments.h"

#include <cmath>

namespace tvlc {

namespace {

struct TFoldedFrequency {
  uint32_t Index = 0;  // below the axis length
  double Sign = 0.0;   // 0 for the frequencies whose cosine vanishes on every pixel
};

// cos(pi a (2x+1) / 2n) is even in a, has period 4n, and changes sign under
// a -> 2n - a.
TFoldedFrequency Fold(int64_t a, uint32_t n) {
  const int64_t period = 4 * int64_t{n};
  int64_t r = a % period;
  if (r < 0) r += period;
  if (r > 2 * int64_t{n}) r = period - r;
  if (r == n) return {};
  if (r > n) return {uint32_t(2 * int64_t{n} - r), -1.0};
  return {uint32_t(r), 1.0};
}

}  // namespace

TCosineMoments::TScales::TScales(uint32_t n)
    : Zero(1.0 / std::sqrt(double(n))), Other(std::sqrt(2.0 / n)) {}

TCosineMoments::TCosineMoments(uint16_t width, uint16_t height, const TShapeData& maskSpectrum)
    : width_(width),
      height_(height),
      rowLength_(3 * size_t{width} - 2),
      table_(rowLength_ * height),
      scalesW_(width),
      scalesH_(height) {
  const size_t zero = width_ - 1;  // position of frequency 0 in a row
  // The DCT carries the orthonormal factors of both frequencies.
  for (uint32_t b = 0; b < height_; ++b)
    for (uint32_t a = 0; a < width_; ++a)
      table_[b * rowLength_ + zero + a] =
          maskSpectrum[size_t{b} * width_ + a] / (scalesW_.Of(a) * scalesH_.Of(b));
  for (uint32_t b = 0; b < height_; ++b)
    for (size_t position = 0; position < rowLength_; ++position) {
      const int64_t a = int64_t(position) - int64_t(zero);
      if (a >= 0 && a < width_) continue;
      table_[b * rowLength_ + position] = Moment(a, b);
    }
}

double TCosineMoments::Moment(int64_t a, int64_t b) const {
  const TFoldedFrequency fa = Fold(a, width_), fb = Fold(b, height_);
  if (fa.Sign == 0.0 || fb.Sign == 0.0) return 0.0;
  return fa.Sign * fb.Sign * table_[fb.Index * rowLength_ + (width_ - 1) + fa.Index];
}

const double* TCosineMoments::FoldedRow(uint32_t b, double& sign) const {
  const TFoldedFrequency fb = Fold(b, height_);
  sign = fb.Sign;
  return table_.data() + fb.Index * rowLength_;
}

void TCosineMoments::SubtractGramColumn(size_t j, double m, TShapeData& work) const {
  const uint32_t uj = uint32_t(j % width_), vj = uint32_t(j / width_);
  // B_k B_j = scales * (cos(sum) + cos(difference)) / 2 in each direction.
  const double factor = m * scalesW_.Of(uj) * scalesH_.Of(vj) * 0.25;
  const size_t zero = width_ - 1;
  for (uint32_t v = 0; v < height_; ++v) {
    double sumSign;
    const double* sumRow = FoldedRow(v + vj, sumSign) + zero;
    // |v - vj| < H needs no fold.
    const double* differenceRow =
        table_.data() + size_t{v >= vj ? v - vj : vj - v} * rowLength_ + zero;
    // Horizontal frequencies u + uj and u - uj, for u running along the row.
    const double* __restrict sumPlus = sumRow + uj;
    const double* __restrict sumMinus = sumRow - uj;
    const double* __restrict differencePlus = differenceRow + uj;
    const double* __restrict differenceMinus = differenceRow - uj;
    const auto moments = [&](uint32_t u) {
      return sumSign * (sumPlus[u] + sumMinus[u]) + (differencePlus[u] + differenceMinus[u]);
    };
    double* __restrict out = work.data() + size_t{v} * width_;
    const double rowFactor = factor * scalesH_.Of(v);
    out[0] -= rowFactor * scalesW_.Zero * moments(0);
    const double otherFactor = rowFactor * scalesW_.Other;
    for (uint32_t u = 1; u < width_; ++u) out[u] -= otherFactor * moments(u);
  }
}

}  // namespace tvlc
