#include "transform/DctKernel.h"

#include "base/VectorClones.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace tvlc {

namespace {

constexpr size_t kMinStripLanes = 4;
constexpr size_t kMaxStripLanes = 16;
constexpr size_t kStripComplexValues = 2048;  // 32 KiB of scratch

// Calls body(i, l) for i < count and l < lanes, lanes innermost: they are
// independent, and their scratch values are adjacent.
template <class Body>
inline void ForEachElement(uint32_t count, size_t lanes, Body body) {
  for (uint32_t i = 0; i < count; ++i) {
#pragma GCC ivdep
    for (size_t l = 0; l < lanes; ++l) body(i, l);
  }
}

}  // namespace

TDctAxis::TDctAxis(uint32_t n)
    : n_(n),
      half_(n / 2),
      stripLanes_(std::clamp(kStripComplexValues / std::max<size_t>(half_, 1), kMinStripLanes,
                             kMaxStripLanes)),
      zeroAnalysis_(n, 0.0),
      zeroSynthesis_(n, 0.0) {
  if (half_ == 0) return;
  analysisEdge_ = 1.0 / std::sqrt(double(n));
  synthesisEdge_ = std::sqrt(double(n)) / (2.0 * half_);
  twiddles_ = Twiddles(half_);
  const unsigned bits = Log2(half_);
  reversal_.resize(half_);
  for (uint32_t p = 0; p < half_; ++p) reversal_[p] = ReverseBits(p, bits);

  const double pi = std::numbers::pi;
  const TComplex one{1.0, 0.0}, minusI{0.0, -1.0}, plusI{0.0, 1.0};
  unpackDirect_.resize(half_);
  unpackMirror_.resize(half_);
  packDirect_.resize(half_);
  packMirror_.resize(half_);
  const TComplex analysisScale{std::sqrt(2.0 / n) / 2.0, 0.0};
  const TComplex synthesisScale{std::sqrt(n / 2.0) / (2.0 * half_), 0.0};
  for (uint32_t k = 1; k < half_; ++k) {
    // X(k) - i X(n-k) = sqrt(2/n) exp(-i pi k / 2n) (E(k) + exp(-2 pi i k / n) O(k)),
    // E(k) = (Z(k) + conj Z(half-k)) / 2 and O(k) = -i (Z(k) - conj Z(half-k)) / 2
    // being the spectra of the even and the odd reordered samples.
    const TComplex even = analysisScale * UnitComplex(-pi * k / (2.0 * n));
    const TComplex odd = minusI * even * UnitComplex(-2.0 * pi * k / n);
    unpackDirect_[k] = even + odd;
    unpackMirror_[k] = even - odd;
    // Inverse: V(k) = sqrt(n/2) exp(i pi k / 2n) (X(k) - i X(n-k)) and
    // Z(k) = V(k) (1 + i w) / 2 + conj V(half-k) (1 - i w) / 2, w = exp(2 pi i k / n),
    // with the 1/half of the inverse FFT folded in.
    const TComplex w = UnitComplex(2.0 * pi * k / n);
    packDirect_[k] = synthesisScale * UnitComplex(pi * k / (2.0 * n)) * (one + plusI * w);
    packMirror_[k] = synthesisScale * Conj(UnitComplex(pi * (half_ - k) / (2.0 * n))) * (one - plusI * w);
  }
  std::vector<double> re(half_), im(half_);
  AnalyseLanes(TColumnLanes{zeroAnalysis_.data(), 1}, 1, {re.data(), im.data()});
  SynthesiseLanes(TColumnLanes{zeroSynthesis_.data(), 1}, 1, {re.data(), im.data()});
}

template <class Lanes>
bool TDctAxis::FillZeroLanes(Lanes block, size_t lanes, const std::vector<double>& transform) const {
  for (uint32_t i = 0; i < n_; ++i)
    for (size_t l = 0; l < lanes; ++l)
      if (std::bit_cast<uint64_t>(block.At(i, l)) != 0) return false;
  ForEachElement(n_, lanes, [&](uint32_t i, size_t l) { block.At(i, l) = transform[i]; });
  return true;
}

template <class Lanes>
TVLC_VECTOR_CLONES void TDctAxis::Analyse(Lanes block, size_t lanes, TSplitBlock scratch) const {
  if (!FillZeroLanes(block, lanes, zeroAnalysis_)) AnalyseLanes(block, lanes, scratch);
}

template <class Lanes>
TVLC_VECTOR_CLONES void TDctAxis::Synthesise(Lanes block, size_t lanes, TSplitBlock scratch) const {
  if (!FillZeroLanes(block, lanes, zeroSynthesis_)) SynthesiseLanes(block, lanes, scratch);
}

template <class Lanes>
inline void TDctAxis::AnalyseLanes(Lanes block, size_t lanes, TSplitBlock scratch) const {
  if (half_ == 0) return;  // a single sample is its own coefficient
  ForEachElement(half_, lanes, [&](uint32_t p, size_t l) {
    const size_t to = reversal_[p] * lanes + l;
    scratch.Re[to] = block.At(Source(2 * p), l);
    scratch.Im[to] = block.At(Source(2 * p + 1), l);
  });
  Butterflies(scratch, half_, lanes, lanes, twiddles_.data());
#pragma GCC ivdep
  for (size_t l = 0; l < lanes; ++l) {
    const TComplex z = scratch.Get(l);
    block.At(0, l) = (z.Re + z.Im) * analysisEdge_;
    block.At(half_, l) = (z.Re - z.Im) * analysisEdge_;
  }
  ForEachElement(half_ - 1, lanes, [&](uint32_t i, size_t l) {
    const uint32_t k = i + 1;
    const TComplex c = unpackDirect_[k] * scratch.Get(k * lanes + l) +
                       unpackMirror_[k] * Conj(scratch.Get((half_ - k) * lanes + l));
    block.At(k, l) = c.Re;
    block.At(n_ - k, l) = -c.Im;
  });
}

template <class Lanes>
inline void TDctAxis::SynthesiseLanes(Lanes block, size_t lanes, TSplitBlock scratch) const {
  if (half_ == 0) return;
  // The inverse FFT runs as the forward one on conjugated values.
#pragma GCC ivdep
  for (size_t l = 0; l < lanes; ++l) {
    const double first = block.At(0, l), middle = block.At(half_, l);
    scratch.Set(l, {(first + middle) * synthesisEdge_, (middle - first) * synthesisEdge_});
  }
  ForEachElement(half_ - 1, lanes, [&](uint32_t i, size_t l) {
    const uint32_t k = i + 1;
    const TComplex direct{block.At(k, l), -block.At(n_ - k, l)};
    const TComplex mirror{block.At(half_ - k, l), block.At(half_ + k, l)};
    scratch.Set(reversal_[k] * lanes + l, Conj(packDirect_[k] * direct + packMirror_[k] * mirror));
  });
  Butterflies(scratch, half_, lanes, lanes, twiddles_.data());
  ForEachElement(half_, lanes, [&](uint32_t p, size_t l) {
    const size_t from = p * lanes + l;
    block.At(Source(2 * p), l) = scratch.Re[from];
    block.At(Source(2 * p + 1), l) = -scratch.Im[from];
  });
}

TDctPlan::TDctPlan(uint32_t width, uint32_t height)
    : width_(width), height_(height), rows_(width), columns_(height) {
  const size_t scratch = std::max(std::max<size_t>(width / 2, 1) * rows_.StripLanes(),
                                  std::max<size_t>(height / 2, 1) * columns_.StripLanes());
  scratchRe_.resize(scratch);
  scratchIm_.resize(scratch);
}

template <class Pass>
void TDctPlan::ForEachStrip(double* block, Pass pass) {
  const TSplitBlock scratch{scratchRe_.data(), scratchIm_.data()};
  const size_t columnLanes = columns_.StripLanes(), rowLanes = rows_.StripLanes();
  for (uint32_t x = 0; x < width_; x += columnLanes) {
    const TColumnLanes lanes{block + x, width_};
    pass(columns_, lanes, std::min<size_t>(columnLanes, width_ - x), scratch);
  }
  for (uint32_t y = 0; y < height_; y += rowLanes) {
    const TRowLanes lanes{block + size_t{y} * width_, width_};
    pass(rows_, lanes, std::min<size_t>(rowLanes, height_ - y), scratch);
  }
}

void TDctPlan::Analyse(double* block) {
  ForEachStrip(block, [](const TDctAxis& axis, auto lanes, size_t count, TSplitBlock scratch) {
    axis.Analyse(lanes, count, scratch);
  });
}

void TDctPlan::Synthesise(double* block) {
  ForEachStrip(block, [](const TDctAxis& axis, auto lanes, size_t count, TSplitBlock scratch) {
    axis.Synthesise(lanes, count, scratch);
  });
}

}  // namespace tvlc
