// The Bjontegaard delta between two rate-distortion curves, in the piecewise
// cubic variant of codec standardisation: each curve is interpolated by a
// monotone piecewise cubic Hermite polynomial (slopes after Fritsch and
// Carlson, the ends by the three-point formula), and the integrals of the two
// interpolants over the overlap of their ranges are compared.
#pragma once

#include <optional>
#include <vector>

namespace tvlc {

struct TRdSample {
  double Rate;  // any unit proportional to bits (bits per pixel, bytes)
  double Psnr;  // dB
};

// Average difference of the rate at equal quality, in percent: negative when
// `test` needs fewer bits than `anchor`. None when a curve has fewer than two
// distinct points, a rate is not positive, or the quality ranges do not
// overlap.
std::optional<double> BdRate(const std::vector<TRdSample>& anchor,
                             const std::vector<TRdSample>& test);

// Average difference of the quality at equal rate, in dB: positive when
// `test` is better.
std::optional<double> BdPsnr(const std::vector<TRdSample>& anchor,
                             const std::vector<TRdSample>& test);

// The integral of the monotone piecewise cubic interpolant of the points
// (x[i], y[i]) (x strictly increasing, at least two points) from `from` to
// `to`, both within [x.front(), x.back()].
double PchipIntegral(const std::vector<double>& x, const std::vector<double>& y, double from,
                     double to);

}  // namespace tvlc
