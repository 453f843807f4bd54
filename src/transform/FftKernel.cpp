#include "transform/FftKernel.h"

#include <numbers>

namespace tvlc {

unsigned Log2(uint32_t n) {
  unsigned bits = 0;
  while ((uint32_t{1} << bits) < n) ++bits;
  return bits;
}

uint32_t ReverseBits(uint32_t value, unsigned bits) {
  uint32_t reversed = 0;
  for (unsigned b = 0; b < bits; ++b) {
    reversed = (reversed << 1) | (value & 1);
    value >>= 1;
  }
  return reversed;
}

std::vector<uint16_t> BitReversalTable(uint32_t n) {
  const unsigned bits = Log2(n);
  std::vector<uint16_t> table(n, static_cast<uint16_t>(n));
  for (uint32_t l = 0; l < n; ++l) {
    if (table[l] != n) continue;
    const uint32_t r = ReverseBits(l, bits);
    table[l] = static_cast<uint16_t>(r);
    if (r != l) table[r] = kReversalPartner;
  }
  return table;
}

TFFTData Twiddles(uint32_t n) {
  TFFTData twiddles(n);
  for (uint32_t k = 0; k < n; ++k) twiddles[k] = UnitComplex(-2.0 * std::numbers::pi * k / n);
  return twiddles;
}

}  // namespace tvlc
