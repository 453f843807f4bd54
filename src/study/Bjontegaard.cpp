#include "study/Bjontegaard.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tvlc {

namespace {

double Sign(double v) { return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0); }

// The slope at an end: the three-point formula, kept monotone.
double EndSlope(double h0, double h1, double d0, double d1) {
  double m = ((2.0 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
  if (Sign(m) != Sign(d0))
    m = 0.0;
  else if (Sign(d0) != Sign(d1) && std::fabs(m) > std::fabs(3.0 * d0))
    m = 3.0 * d0;
  return m;
}

std::vector<double> Slopes(const std::vector<double>& x, const std::vector<double>& y) {
  const size_t n = x.size();
  std::vector<double> h(n - 1), d(n - 1), m(n, 0.0);
  for (size_t k = 0; k + 1 < n; ++k) {
    h[k] = x[k + 1] - x[k];
    d[k] = (y[k + 1] - y[k]) / h[k];
  }
  if (n == 2) {
    m[0] = m[1] = d[0];
    return m;
  }
  for (size_t k = 1; k + 1 < n; ++k) {
    if (Sign(d[k - 1]) * Sign(d[k]) <= 0.0) continue;  // an extremum or a flat piece
    const double w1 = 2.0 * h[k] + h[k - 1];
    const double w2 = h[k] + 2.0 * h[k - 1];
    m[k] = (w1 + w2) / (w1 / d[k - 1] + w2 / d[k]);
  }
  m[0] = EndSlope(h[0], h[1], d[0], d[1]);
  m[n - 1] = EndSlope(h[n - 2], h[n - 3], d[n - 2], d[n - 3]);
  return m;
}

// Integral over t from 0 to s of the Hermite cubic on [0, 1] with end values
// y0, y1 and end slopes (already times the piece's width) s0, s1.
double HermiteArea(double y0, double y1, double s0, double s1, double t) {
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  return y0 * (t4 / 2.0 - t3 + t) + s0 * (t4 / 4.0 - 2.0 * t3 / 3.0 + t2 / 2.0) +
         y1 * (-t4 / 2.0 + t3) + s1 * (t4 / 4.0 - t3 / 3.0);
}

// Points sorted by x, one per x (the first of equal ones kept).
bool Curve(const std::vector<TRdSample>& samples, bool rateAsX, std::vector<double>& x,
           std::vector<double>& y) {
  std::map<double, double> sorted;
  for (const TRdSample& s : samples) {
    if (!(s.Rate > 0.0) || !std::isfinite(s.Psnr)) return false;
    const double logRate = std::log10(s.Rate);
    sorted.emplace(rateAsX ? logRate : s.Psnr, rateAsX ? s.Psnr : logRate);
  }
  x.clear();
  y.clear();
  for (const auto& [k, v] : sorted) {
    x.push_back(k);
    y.push_back(v);
  }
  return x.size() >= 2;
}

// Mean difference test - anchor of the interpolants over the overlap.
std::optional<double> MeanDifference(const std::vector<TRdSample>& anchor,
                                     const std::vector<TRdSample>& test, bool rateAsX) {
  std::vector<double> xa, ya, xt, yt;
  if (!Curve(anchor, rateAsX, xa, ya) || !Curve(test, rateAsX, xt, yt)) return std::nullopt;
  const double low = std::max(xa.front(), xt.front());
  const double high = std::min(xa.back(), xt.back());
  if (!(high > low)) return std::nullopt;
  return (PchipIntegral(xt, yt, low, high) - PchipIntegral(xa, ya, low, high)) / (high - low);
}

}  // namespace

double PchipIntegral(const std::vector<double>& x, const std::vector<double>& y, double from,
                     double to) {
  const std::vector<double> m = Slopes(x, y);
  double area = 0.0;
  for (size_t k = 0; k + 1 < x.size(); ++k) {
    const double a = std::max(from, x[k]);
    const double b = std::min(to, x[k + 1]);
    if (!(b > a)) continue;
    const double h = x[k + 1] - x[k];
    const double ta = (a - x[k]) / h, tb = (b - x[k]) / h;
    area += h * (HermiteArea(y[k], y[k + 1], m[k] * h, m[k + 1] * h, tb) -
                 HermiteArea(y[k], y[k + 1], m[k] * h, m[k + 1] * h, ta));
  }
  return area;
}

std::optional<double> BdRate(const std::vector<TRdSample>& anchor,
                             const std::vector<TRdSample>& test) {
  const std::optional<double> mean = MeanDifference(anchor, test, false);
  if (!mean) return std::nullopt;
  return (std::pow(10.0, *mean) - 1.0) * 100.0;
}

std::optional<double> BdPsnr(const std::vector<TRdSample>& anchor,
                             const std::vector<TRdSample>& test) {
  return MeanDifference(anchor, test, true);
}

}  // namespace tvlc
