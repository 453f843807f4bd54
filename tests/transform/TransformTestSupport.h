// Reference sums and helpers shared by the transform tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "model/Arrays.h"
#include "transform/TransformCore.h"

namespace tvlc::testing {

// Block sizes 1x1 .. 64x32, every power of two.
inline std::vector<std::pair<uint32_t, uint32_t>> BlockSizes() {
  std::vector<std::pair<uint32_t, uint32_t>> sizes;
  for (uint32_t w = 1; w <= 64; w *= 2)
    for (uint32_t h = 1; h <= 32; h *= 2) sizes.emplace_back(w, h);
  return sizes;
}

inline TShapeData RandomBlock(size_t count, uint32_t seed, double low = -128.0, double high = 128.0) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(low, high);
  TShapeData block(count);
  for (double& v : block) v = value(random);
  return block;
}

inline TShapeData RandomMask(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  TShapeData mask(count);
  for (double& v : mask) v = double(random() & 1);
  return mask;
}

// Orthonormal DCT II basis, straight from its definition.
inline double DctBasis(uint32_t u, uint32_t v, uint32_t x, uint32_t y, uint32_t w, uint32_t h) {
  const double au = u == 0 ? std::sqrt(1.0 / w) : std::sqrt(2.0 / w);
  const double av = v == 0 ? std::sqrt(1.0 / h) : std::sqrt(2.0 / h);
  return au * av * std::cos(std::numbers::pi * u * (2.0 * x + 1) / (2.0 * w)) *
         std::cos(std::numbers::pi * v * (2.0 * y + 1) / (2.0 * h));
}

// Analysis: F(u,v) = sum f(x,y) B(u,v,x,y); synthesis: f(x,y) = sum F(u,v) B(u,v,x,y).
inline std::vector<double> DirectDct(const TShapeData& in, uint32_t w, uint32_t h, bool inverse) {
  std::vector<double> out(size_t{w} * h, 0.0);
  for (uint32_t v = 0; v < h; ++v)
    for (uint32_t u = 0; u < w; ++u)
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          const double b = DctBasis(u, v, x, y, w, h);
          if (inverse)
            out[size_t{y} * w + x] += in[size_t{v} * w + u] * b;
          else
            out[size_t{v} * w + u] += in[size_t{y} * w + x] * b;
        }
  return out;
}

// sum over (x, y) of a(x, y) * exp(sign * 2*pi*i*(u*x/w + v*y/h)), unnormalised.
inline std::vector<std::complex<double>> DirectDft(const std::vector<std::complex<double>>& a, uint32_t w,
                                                   uint32_t h, int sign) {
  std::vector<std::complex<double>> out(size_t{w} * h);
  for (uint32_t v = 0; v < h; ++v)
    for (uint32_t u = 0; u < w; ++u) {
      std::complex<double> sum = 0.0;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          const double angle = sign * 2.0 * std::numbers::pi *
                               (double((u * x) % w) / w + double((v * y) % h) / h);
          sum += a[size_t{y} * w + x] * std::polar(1.0, angle);
        }
      out[size_t{v} * w + u] = sum;
    }
  return out;
}

// Element-wise agreement within `relative` of the largest reference magnitude.
template <class Actual, class Expected>
::testing::AssertionResult AllClose(const Actual& actual, const Expected& expected, double relative = 1e-9) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size();
  double scale = 1.0;
  for (const auto& e : expected) scale = std::max(scale, double(std::abs(e)));
  for (size_t i = 0; i < expected.size(); ++i)
    if (!(std::abs(actual[i] - expected[i]) <= relative * scale))
      return ::testing::AssertionFailure() << "element " << i << ": " << actual[i] << " vs " << expected[i];
  return ::testing::AssertionSuccess();
}

// Leaves the program's transform core idle after every test, so one failing
// test does not leave it initialised for the next.
class CoreResettingTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (TransformCore().State() != kCoreIdle) TransformCore().Done();
  }
};

}  // namespace tvlc::testing
