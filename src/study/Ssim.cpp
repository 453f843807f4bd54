#include "study/Ssim.h"

#include <array>
#include <cmath>

namespace tvlc {

namespace {

constexpr int kRadius = 5;  // the window is 2 * 5 + 1 = 11 wide
constexpr int kWindow = 2 * kRadius + 1;
constexpr double kSigma = 1.5;
constexpr double kC1 = (0.01 * 255.0) * (0.01 * 255.0);
constexpr double kC2 = (0.03 * 255.0) * (0.03 * 255.0);

std::array<double, kWindow> GaussianWeights() {
  std::array<double, kWindow> w{};
  double sum = 0.0;
  for (int i = -kRadius; i <= kRadius; ++i) {
    w[size_t(i + kRadius)] = std::exp(-double(i * i) / (2.0 * kSigma * kSigma));
    sum += w[size_t(i + kRadius)];
  }
  for (double& v : w) v /= sum;
  return w;
}

// The Gaussian mean of `values` (width x height) at every position whose
// window lies inside: a (width - 10) x (height - 10) result. The window is
// separable: rows first, then columns.
std::vector<double> FilterValid(const std::vector<double>& values, int width, int height,
                                const std::array<double, kWindow>& w) {
  const int outWidth = width - 2 * kRadius;
  const int outHeight = height - 2 * kRadius;
  std::vector<double> rows(size_t(outWidth) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < outWidth; ++x) {
      double s = 0.0;
      const double* in = &values[size_t(y) * width + x];
      for (int k = 0; k < kWindow; ++k) s += w[size_t(k)] * in[k];
      rows[size_t(y) * outWidth + x] = s;
    }
  std::vector<double> out(size_t(outWidth) * outHeight);
  for (int y = 0; y < outHeight; ++y)
    for (int x = 0; x < outWidth; ++x) {
      double s = 0.0;
      for (int k = 0; k < kWindow; ++k) s += w[size_t(k)] * rows[size_t(y + k) * outWidth + x];
      out[size_t(y) * outWidth + x] = s;
    }
  return out;
}

}  // namespace

std::optional<double> StructuralSimilarity(const std::vector<uint8_t>& original,
                                           const std::vector<uint8_t>& decoded, int width,
                                           int height) {
  if (width < kWindow || height < kWindow) return std::nullopt;
  const size_t n = size_t(width) * height;
  if (original.size() < n || decoded.size() < n) return std::nullopt;
  std::vector<double> x(n), y(n), xx(n), yy(n), xy(n);
  for (size_t i = 0; i < n; ++i) {
    x[i] = original[i];
    y[i] = decoded[i];
    xx[i] = x[i] * x[i];
    yy[i] = y[i] * y[i];
    xy[i] = x[i] * y[i];
  }
  const auto w = GaussianWeights();
  const std::vector<double> ux = FilterValid(x, width, height, w);
  const std::vector<double> uy = FilterValid(y, width, height, w);
  const std::vector<double> uxx = FilterValid(xx, width, height, w);
  const std::vector<double> uyy = FilterValid(yy, width, height, w);
  const std::vector<double> uxy = FilterValid(xy, width, height, w);
  double sum = 0.0;
  for (size_t i = 0; i < ux.size(); ++i) {
    const double vx = uxx[i] - ux[i] * ux[i];
    const double vy = uyy[i] - uy[i] * uy[i];
    const double vxy = uxy[i] - ux[i] * uy[i];
    sum += ((2.0 * ux[i] * uy[i] + kC1) * (2.0 * vxy + kC2)) /
           ((ux[i] * ux[i] + uy[i] * uy[i] + kC1) * (vx + vy + kC2));
  }
  return sum / double(ux.size());
}

}  // namespace tvlc
