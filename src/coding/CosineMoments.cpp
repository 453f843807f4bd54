#include "coding/CosineMoments.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "base/VectorClones.h"

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

// Fold for 0 <= a < 2n, without a division: the sum of two frequencies.
TFoldedFrequency FoldBelowTwice(uint32_t a, uint32_t n) {
  if (a < n) return {a, 1.0};
  if (a == n) return {};
  return {2 * n - a, -1.0};
}

// What one row of the Gram column needs: the two table rows folded
// horizontally (S at the sum, D at the difference of the row frequencies),
// the sign of the sum's fold, the row of the analysis and its factor.
struct TGramRow {
  const double* SumRow;
  double SumSign;
  const double* DifferenceRow;
  double* Out;
  double Factor;
};

// One stretch u in [from, to) of every row: out[u] -= factor * (sumSign *
// (S(u + uj) + S(u - uj)) + (D(u + uj) + D(u - uj))). Within the stretch
// the folded index of u + uj is plusAt + PlusStep * u, with the sign
// plusSign, and that of u - uj is minusAt + MinusStep * u; they are the
// same in every row. The loop reads through pointers to the stretch's
// first values, so that they stay in registers; SubtractStretchRows, a call
// of its own, runs it over the rows.
template <int PlusStep, int MinusStep>
inline void SubtractStretch(double* __restrict target, const double* __restrict sumPlus,
                            const double* __restrict sumMinus, double sumSign,
                            const double* __restrict differencePlus,
                            const double* __restrict differenceMinus, double plusSign,
                            double factor, ptrdiff_t count) {
  for (ptrdiff_t i = 0; i < count; ++i)
    target[i] -=
        factor * (sumSign * (plusSign * sumPlus[PlusStep * i] + sumMinus[MinusStep * i]) +
                  (plusSign * differencePlus[PlusStep * i] + differenceMinus[MinusStep * i]));
}

template <int PlusStep, int MinusStep>
[[gnu::noinline]] TVLC_VECTOR_CLONES void SubtractStretchRows(const TGramRow* rows,
                                                              size_t rowCount, uint32_t from,
                                                              uint32_t to, int64_t plusAt,
                                                              double plusSign, int64_t minusAt) {
  const int64_t plus = plusAt + PlusStep * int64_t{from},
                minus = minusAt + MinusStep * int64_t{from};
  const ptrdiff_t count = ptrdiff_t{to} - ptrdiff_t{from};
  for (size_t r = 0; r < rowCount; ++r) {
    const TGramRow& row = rows[r];
    SubtractStretch<PlusStep, MinusStep>(row.Out + from, row.SumRow + plus, row.SumRow + minus,
                                         row.SumSign, row.DifferenceRow + plus,
                                         row.DifferenceRow + minus, plusSign, row.Factor, count);
  }
}

}  // namespace

TCosineMoments::TScales::TScales(uint32_t n)
    : Zero(1.0 / std::sqrt(double(n))), Other(std::sqrt(2.0 / n)) {}

TCosineMoments::TCosineMoments(uint16_t width, uint16_t height, TShapeData maskSpectrum)
    : width_(width),
      height_(height),
      table_(std::move(maskSpectrum)),
      scalesW_(width),
      scalesH_(height) {
  // The DCT carries the orthonormal factors of both frequencies.
  for (uint32_t b = 0; b < height_; ++b)
    for (uint32_t a = 0; a < width_; ++a)
      table_[size_t{b} * width_ + a] /= scalesW_.Of(a) * scalesH_.Of(b);
}

double TCosineMoments::Moment(int64_t a, int64_t b) const {
  const TFoldedFrequency fa = Fold(a, width_), fb = Fold(b, height_);
  if (fa.Sign == 0.0 || fb.Sign == 0.0) return 0.0;
  return fa.Sign * fb.Sign * table_[size_t{fb.Index} * width_ + fa.Index];
}

void TCosineMoments::SubtractGramColumn(size_t j, double m, TShapeData& work) const {
  SubtractGramColumn(j, m, work, 0, width_, 0, height_);
}

// Also built for AVX2 (without FMA, so that every value is the same bit
// for bit on any processor: the elementwise arithmetic is IEEE either way).
TVLC_VECTOR_CLONES
void TCosineMoments::SubtractGramColumn(size_t j, double m, TShapeData& work, uint32_t u0,
                                        uint32_t u1, uint32_t v0, uint32_t v1) const {
  const uint32_t w = width_;
  const uint32_t uj = uint32_t(j % w), vj = uint32_t(j / w);
  // B_k B_j = scales * (cos(sum) + cos(difference)) / 2 in each direction.
  const double factor = m * scalesW_.Of(uj) * scalesH_.Of(vj) * 0.25;
  // Horizontally u + uj passes W at u = W - uj (a vanishing cosine; beyond,
  // the fold runs backwards with a minus sign), and u - uj passes 0 at u = uj
  // (backwards before). These split a row into stretches of plain steps.
  const uint32_t turn = w - uj;
  // The stretches of [max(u0, 1), u1) are the same in every row.
  enum class TKind {
    kForwardForward,
    kForwardBackward,
    kBackwardForward,
    kBackwardBackward,
    kVanishing
  };
  struct TStretch {
    uint32_t From, To;
    TKind Kind;
    int64_t PlusAt, MinusAt;
    double PlusSign;
  };
  TStretch stretches[4];
  int stretchCount = 0;
  const auto plan = [&](uint32_t from, uint32_t to) {
    from = std::max({from, 1u, u0});
    to = std::min(to, u1);
    if (from >= to) return;
    const bool minusForward = from >= uj;  // u - uj: backwards below uj
    const int64_t minusAt = minusForward ? -int64_t{uj} : int64_t{uj};
    if (from == turn) {  // u + uj = W: a cosine that vanishes on every pixel
      stretches[stretchCount++] = {
          from, from + 1, TKind::kVanishing, 0, minusAt + (minusForward ? 1 : -1) * int64_t{from},
          0.0};
      return;
    }
    // u + uj: forwards below the turn, backwards and negated after it.
    const bool plusForward = from < turn;
    const TKind kind = plusForward
                           ? (minusForward ? TKind::kForwardForward : TKind::kForwardBackward)
                           : (minusForward ? TKind::kBackwardForward : TKind::kBackwardBackward);
    stretches[stretchCount++] = {from,    to,
                                 kind,    plusForward ? int64_t{uj} : 2 * int64_t{w} - uj,
                                 minusAt, plusForward ? 1.0 : -1.0};
  };
  // Cut at uj, at the turn and just after it, in increasing order.
  uint32_t cuts[3] = {uj, turn, turn + 1};
  std::sort(cuts, cuts + 3);
  plan(1, cuts[0]);
  plan(cuts[0], cuts[1]);
  plan(cuts[1], cuts[2]);
  plan(cuts[2], w);

  // The rows in groups, each stretch running over a group in one call.
  constexpr uint32_t kRowGroup = 32;
  TGramRow rows[kRowGroup];
  for (uint32_t first = v0; first < v1; first += kRowGroup) {
    const uint32_t last = std::min(v1, first + kRowGroup);
    for (uint32_t v = first; v < last; ++v) {
      const TFoldedFrequency sum = FoldBelowTwice(v + vj, height_);
      const double* sumRow = table_.data() + size_t{sum.Index} * w;
      // |v - vj| < H needs no fold.
      const double* differenceRow = table_.data() + size_t{v >= vj ? v - vj : vj - v} * w;
      double* out = work.data() + size_t{v} * w;
      const double rowFactor = factor * scalesH_.Of(v);
      rows[v - first] = {sumRow, sum.Sign, differenceRow, out, rowFactor * scalesW_.Other};
      // u = 0 alone, for its own scale: u + uj and u - uj both fold to uj.
      if (u0 == 0)
        out[0] -= rowFactor * scalesW_.Zero *
                  (sum.Sign * (2.0 * sumRow[uj]) + 2.0 * differenceRow[uj]);
    }
    const size_t count = last - first;
    for (int i = 0; i < stretchCount; ++i) {
      const TStretch& st = stretches[i];
      switch (st.Kind) {
        case TKind::kVanishing:
          for (size_t r = 0; r < count; ++r)
            rows[r].Out[st.From] -= rows[r].Factor * (rows[r].SumSign * rows[r].SumRow[st.MinusAt] +
                                                      rows[r].DifferenceRow[st.MinusAt]);
          break;
        case TKind::kForwardForward:
          SubtractStretchRows<1, 1>(rows, count, st.From, st.To, st.PlusAt, st.PlusSign,
                                    st.MinusAt);
          break;
        case TKind::kForwardBackward:
          SubtractStretchRows<1, -1>(rows, count, st.From, st.To, st.PlusAt, st.PlusSign,
                                     st.MinusAt);
          break;
        case TKind::kBackwardForward:
          SubtractStretchRows<-1, 1>(rows, count, st.From, st.To, st.PlusAt, st.PlusSign,
                                     st.MinusAt);
          break;
        case TKind::kBackwardBackward:
          SubtractStretchRows<-1, -1>(rows, count, st.From, st.To, st.PlusAt, st.PlusSign,
                                      st.MinusAt);
          break;
      }
    }
  }
}

}  // namespace tvlc
