// Radix-2 building blocks shared by the complex FFT and the DCT of the
// transform core. Every length is a power of two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/VectorClones.h"
#include "transform/Complex.h"

namespace tvlc {

// Marks the second index of a pair in a bit-reversal swap table.
constexpr uint16_t kReversalPartner = 0xFFFF;

constexpr bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

// log2 of a power of two.
unsigned Log2(uint32_t n);

// value with its low `bits` bits in reverse order.
uint32_t ReverseBits(uint32_t value, unsigned bits);

// Swap table of the bit-reversal permutation of length n (at most 32768):
// entry l of a pair (l, r), l < r, holds r and entry r holds kReversalPartner;
// an index that reverses to itself holds itself. Walking the table swaps every
// pair exactly once.
std::vector<uint16_t> BitReversalTable(uint32_t n);

// exp(-2*pi*i*k/n) for k < n.
TFFTData Twiddles(uint32_t n);

// Complex values stored as TComplex records.
struct TInterleavedBlock {
  TComplex* Data;
  TComplex Get(size_t i) const { return Data[i]; }
  void Set(size_t i, TComplex z) const { Data[i] = z; }
};

// Complex values stored as separate planes of real and imaginary parts, which
// lets the compiler run neighbouring lanes in one vector register.
struct TSplitBlock {
  double* Re;
  double* Im;
  TComplex Get(size_t i) const { return {Re[i], Im[i]}; }
  void Set(size_t i, TComplex z) const {
    Re[i] = z.Re;
    Im[i] = z.Im;
  }
};

// Unnormalised in-place FFT (kernel exp(-2*pi*i*k*m/n)) of `lanes`
// transforms of length n that run side by side: element k of lane l is
// a[k * stride + l]. The input is in bit-reversed order, the output in natural
// order. The lanes run in the innermost loop so that transforms down the
// columns of a block access memory sequentially. Two radix-2 stages are done
// per pass over the data, and the butterflies whose twiddles are 1 skip the
// multiplications.
template <class Block>
void Butterflies(Block a, uint32_t n, size_t stride, size_t lanes, const TComplex* twiddles);

namespace fft_detail {

constexpr TComplex MinusI(TComplex z) { return {z.Im, -z.Re}; }

// Two radix-2 stages, of spans s and 2s, on the elements i0 + q * quarter
// (q < 4, quarter being s/2 elements): w1 is the twiddle of the first stage,
// w2 and -i * w2 those of the second.
template <bool kUnitTwiddles, class Block>
inline void DoubleStage(Block a, size_t i0, size_t quarter, size_t lanes, TComplex w1, TComplex w2) {
  // The lanes are independent transforms whose elements never overlap.
#pragma GCC ivdep
  for (size_t l = 0; l < lanes; ++l) {
    const size_t i = i0 + l;
    const TComplex x0 = a.Get(i), x1 = a.Get(i + quarter), x2 = a.Get(i + 2 * quarter),
                   x3 = a.Get(i + 3 * quarter);
    const TComplex t1 = kUnitTwiddles ? x1 : w1 * x1;
    const TComplex t3 = kUnitTwiddles ? x3 : w1 * x3;
    const TComplex a0 = x0 + t1, a1 = x0 - t1, a2 = x2 + t3, a3 = x2 - t3;
    const TComplex t2 = kUnitTwiddles ? a2 : w2 * a2;
    const TComplex u3 = MinusI(kUnitTwiddles ? a3 : w2 * a3);
    a.Set(i, a0 + t2);
    a.Set(i + 2 * quarter, a0 - t2);
    a.Set(i + quarter, a1 + u3);
    a.Set(i + 3 * quarter, a1 - u3);
  }
}

template <bool kUnitTwiddles, class Block>
inline void SingleStage(Block a, size_t i0, size_t half, size_t lanes, TComplex w) {
#pragma GCC ivdep
  for (size_t l = 0; l < lanes; ++l) {
    const size_t i = i0 + l;
    const TComplex low = a.Get(i), high = a.Get(i + half);
    const TComplex t = kUnitTwiddles ? high : w * high;
    a.Set(i, low + t);
    a.Set(i + half, low - t);
  }
}

}  // namespace fft_detail

template <class Block>
TVLC_VECTOR_CLONES void Butterflies(Block a, uint32_t n, size_t stride, size_t lanes,
                                    const TComplex* twiddles) {
  uint32_t span = 2;
  for (; 2 * span <= n; span *= 4) {
    const uint32_t half = span / 2;
    const size_t quarter = half * stride;
    for (uint32_t block = 0; block < n; block += 2 * span) {
      const size_t base = block * stride;
      fft_detail::DoubleStage<true>(a, base, quarter, lanes, {}, {});
      for (uint32_t j = 1; j < half; ++j)
        fft_detail::DoubleStage<false>(a, base + j * stride, quarter, lanes, twiddles[j * (n / span)],
                                       twiddles[j * (n / (2 * span))]);
    }
  }
  if (span <= n) {
    const uint32_t half = span / 2;
    for (uint32_t block = 0; block < n; block += span) {
      const size_t base = block * stride;
      fft_detail::SingleStage<true>(a, base, half * stride, lanes, {});
      for (uint32_t j = 1; j < half; ++j)
        fft_detail::SingleStage<false>(a, base + j * stride, half * stride, lanes, twiddles[j * (n / span)]);
    }
  }
}

}  // namespace tvlc
