#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "study/Ssim.h"

namespace tvlc {
namespace {

// The index written out directly: at every position whose 11 x 11 window
// lies inside, the weighted means, variances and covariance over the window
// with 2-D weights exp(-(i^2 + j^2) / 4.5) normalised to sum 1.
double DirectSsim(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                  int height) {
  double weights[11][11], total = 0.0;
  for (int j = -5; j <= 5; ++j)
    for (int i = -5; i <= 5; ++i) total += weights[j + 5][i + 5] = std::exp(-(i * i + j * j) / 4.5);
  const double c1 = 2.55 * 2.55, c2 = 7.65 * 7.65;
  double sum = 0.0;
  int count = 0;
  for (int y = 5; y < height - 5; ++y)
    for (int x = 5; x < width - 5; ++x) {
      double ma = 0, mb = 0;
      for (int j = -5; j <= 5; ++j)
        for (int i = -5; i <= 5; ++i) {
          const double w = weights[j + 5][i + 5] / total;
          ma += w * a[size_t(y + j) * width + x + i];
          mb += w * b[size_t(y + j) * width + x + i];
        }
      double va = 0, vb = 0, cov = 0;
      for (int j = -5; j <= 5; ++j)
        for (int i = -5; i <= 5; ++i) {
          const double w = weights[j + 5][i + 5] / total;
          const double da = a[size_t(y + j) * width + x + i] - ma;
          const double db = b[size_t(y + j) * width + x + i] - mb;
          va += w * da * da;
          vb += w * db * db;
          cov += w * da * db;
        }
      sum += (2 * ma * mb + c1) * (2 * cov + c2) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
      ++count;
    }
  return sum / count;
}

std::vector<uint8_t> Noise(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> p(size_t(width) * height);
  for (uint8_t& v : p) v = uint8_t(random() % 200 + 20);
  return p;
}

TEST(Ssim, EqualPicturesGiveOne) {
  const std::vector<uint8_t> p = Noise(40, 30, 1);
  EXPECT_DOUBLE_EQ(*StructuralSimilarity(p, p, 40, 30), 1.0);
}

TEST(Ssim, ConstantPicturesGiveTheLuminanceTermAlone) {
  // Both variances and the covariance vanish: (2ab + C1) / (a^2 + b^2 + C1).
  const std::vector<uint8_t> a(20 * 16, 100), b(20 * 16, 110);
  const double c1 = 6.5025;
  EXPECT_NEAR(*StructuralSimilarity(a, b, 20, 16), (22000 + c1) / (10000 + 12100 + c1), 1e-12);
}

TEST(Ssim, ConstantShiftOfATexturedPicture) {
  const std::vector<uint8_t> a = Noise(37, 29, 2);
  std::vector<uint8_t> b = a;
  for (uint8_t& v : b) v = uint8_t(v + 30);
  // Variances and covariance stay those of `a`, so only the luminance term moves.
  const double ssim = *StructuralSimilarity(a, b, 37, 29);
  EXPECT_NEAR(ssim, DirectSsim(a, b, 37, 29), 1e-12);
  EXPECT_LT(ssim, 1.0);
  EXPECT_GT(ssim, 0.9);
}

TEST(Ssim, BoxBlurAgreesWithTheDirectSum) {
  const int width = 33, height = 27;
  const std::vector<uint8_t> a = Noise(width, height, 3);
  std::vector<uint8_t> b = a;
  for (int y = 1; y < height - 1; ++y)
    for (int x = 1; x < width - 1; ++x) {
      int s = 0;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) s += a[size_t(y + j) * width + x + i];
      b[size_t(y) * width + x] = uint8_t((s + 4) / 9);
    }
  const double ssim = *StructuralSimilarity(a, b, width, height);
  EXPECT_NEAR(ssim, DirectSsim(a, b, width, height), 1e-12);
  EXPECT_LT(ssim, 0.5);  // a blur removes most of the structure of noise
}

TEST(Ssim, PicturesSmallerThanTheWindowHaveNone) {
  const std::vector<uint8_t> p(10 * 40, 7);
  EXPECT_FALSE(StructuralSimilarity(p, p, 10, 40));
  EXPECT_FALSE(StructuralSimilarity(p, p, 40, 10));
  EXPECT_TRUE(StructuralSimilarity(std::vector<uint8_t>(11 * 11, 7),
                                   std::vector<uint8_t>(11 * 11, 7), 11, 11));
  // Arrays shorter than the size say so instead of reading past their end.
  EXPECT_FALSE(StructuralSimilarity(p, p, 40, 40));
}

}  // namespace
}  // namespace tvlc
