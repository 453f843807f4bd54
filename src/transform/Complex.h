// Complex values and blocks of the transform core.
#pragma once

#include <cmath>
#include <vector>

namespace tvlc {

struct TComplex {
  double Re;
  double Im;
};

// A complex block; a two-dimensional W x H block is row-major (element y*W + x).
using TFFTData = std::vector<TComplex>;

constexpr TComplex operator+(TComplex a, TComplex b) { return {a.Re + b.Re, a.Im + b.Im}; }

constexpr TComplex operator-(TComplex a, TComplex b) { return {a.Re - b.Re, a.Im - b.Im}; }

constexpr TComplex operator*(TComplex a, TComplex b) {
  return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + b.Re * a.Im};
}

constexpr TComplex Conj(TComplex a) { return {a.Re, -a.Im}; }

// exp(i * angle)
inline TComplex UnitComplex(double angle) { return {std::cos(angle), std::sin(angle)}; }

}  // namespace tvlc
