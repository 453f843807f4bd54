#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TransformTestSupport.h"
#include "transform/DCTII.h"
#include "transform/FFTModule.h"
#include "transform/TransformCore.h"

namespace tvlc {
namespace {

using testing::AllClose;
using testing::BlockSizes;
using testing::DctBasis;
using testing::DirectDct;
using testing::RandomBlock;
using testing::RandomMask;

// JPEG luminance table, as printed in the standard.
constexpr double kTable[8][8] = {
    {16, 11, 10, 16, 24, 40, 51, 61},     {12, 12, 14, 19, 26, 58, 60, 55},
    {14, 13, 16, 24, 40, 57, 69, 56},     {14, 17, 22, 29, 51, 87, 80, 62},
    {18, 22, 37, 56, 68, 109, 103, 77},   {24, 35, 55, 64, 81, 104, 113, 92},
    {49, 64, 78, 87, 103, 121, 120, 101}, {72, 92, 95, 98, 112, 100, 103, 99},
};

class DctIITest : public testing::CoreResettingTest {
 protected:
  TTransDescriptor& dct = *DctIIDescriptor();
};

TEST_F(DctIITest, DescriptorFields) {
  EXPECT_STREQ(+dct.Name, "DCT II");
  EXPECT_STREQ(+dct.Description, "Discrete Cosine Transformation II");
  EXPECT_EQ(+dct.TransCode, 2);
  EXPECT_EQ(+dct.Version, 0x0100);
  EXPECT_EQ(+dct.Listed, 1);
  EXPECT_EQ(+dct.Configure, nullptr);
  const bool slotsSet[] = {dct.Init != nullptr,      dct.Done != nullptr,     dct.BasisNorms != nullptr,
                           dct.Basis != nullptr,     dct.Transform != nullptr, dct.GetParam != nullptr,
                           dct.SetParam != nullptr,  dct.GetConfig != nullptr, dct.SetConfig != nullptr,
                           dct.QuantWeight != nullptr, dct.GetState != nullptr};
  for (bool set : slotsSet) EXPECT_TRUE(set);
}

TEST_F(DctIITest, AnalysisAndSynthesisEqualDirectSums) {
  uint32_t seed = 1;
  for (auto [w, h] : BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(dct.Init(w, h), 0);
    const TShapeData pixels = RandomBlock(size_t{w} * h, seed++);
    TShapeData data = pixels;
    ASSERT_EQ(dct.Transform(0, data.data()), 0);
    EXPECT_TRUE(AllClose(data, DirectDct(pixels, w, h, false)));

    const TShapeData coefficients = RandomBlock(size_t{w} * h, seed++);
    data = coefficients;
    ASSERT_EQ(dct.Transform(1, data.data()), 0);
    EXPECT_TRUE(AllClose(data, DirectDct(coefficients, w, h, true)));
    EXPECT_EQ(+dct.LastError, 0);
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, LargerBlocksEqualDirectSums) {
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{128, 4}, {4, 128}, {256, 2}, {2, 256}}) {
    ASSERT_EQ(dct.Init(w, h), 0);
    const TShapeData pixels = RandomBlock(size_t{w} * h, w + 7 * h);
    TShapeData data = pixels;
    ASSERT_EQ(dct.Transform(0, data.data()), 0);
    EXPECT_TRUE(AllClose(data, DirectDct(pixels, w, h, false)));
    ASSERT_EQ(dct.Transform(1, data.data()), 0);
    EXPECT_TRUE(AllClose(data, pixels));
    ASSERT_EQ(dct.Done(), 0);
  }
}

// Columns of zeros are the common case (the columns outside a shape, or
// those of a sparse spectrum); they are filled in rather than transformed.
TEST_F(DctIITest, SparseBlocksEqualDirectSumsAndZerosOfEitherSignAgree) {
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{64, 32}, {32, 64}, {256, 4}}) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(dct.Init(w, h), 0);
    TShapeData sparse(size_t{w} * h);
    for (uint32_t y = 0; y < h; ++y) sparse[size_t{y} * w + 5] = double(y % 7) - 3.0;
    sparse[size_t{h - 1} * w + w - 1] = 9.5;  // the very last value of the last column
    TShapeData negativeZeros = sparse;
    for (double& value : negativeZeros)
      if (value == 0.0) value = -0.0;
    for (uint32_t inverse : {0u, 1u}) {
      TShapeData data = sparse, other = negativeZeros;
      ASSERT_EQ(dct.Transform(inverse, data.data()), 0);
      ASSERT_EQ(dct.Transform(inverse, other.data()), 0);
      EXPECT_TRUE(AllClose(data, DirectDct(sparse, w, h, inverse == 1)));
      // -0 is transformed, +0 filled in: the same bits either way.
      EXPECT_EQ(std::memcmp(data.data(), other.data(), data.size() * sizeof(double)), 0);
    }
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, AnalysisThenSynthesisRestoresTheBlock) {
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {2, 1}, {8, 4}, {64, 32}, {512, 256}}) {
    ASSERT_EQ(dct.Init(w, h), 0);
    const TShapeData pixels = RandomBlock(size_t{w} * h, w);
    TShapeData data = pixels;
    ASSERT_EQ(dct.Transform(0, data.data()), 0);
    ASSERT_EQ(dct.Transform(1, data.data()), 0);
    EXPECT_TRUE(AllClose(data, pixels, 1e-12));
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, BasisEqualsDefinition) {
  for (auto [w, h] : BlockSizes()) {
    ASSERT_EQ(dct.Init(w, h), 0);
    for (uint32_t v = 0; v < h; ++v)
      for (uint32_t u = 0; u < w; ++u)
        for (uint32_t y = 0; y < h; ++y)
          for (uint32_t x = 0; x < w; ++x)
            ASSERT_NEAR(dct.Basis(u, v, x, y), DctBasis(u, v, x, y, w, h), 1e-12)
                << w << "x" << h << " (" << u << "," << v << ") at (" << x << "," << y << ")";
    EXPECT_EQ(+dct.LastError, 0);
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, BasisNormsEqualMaskedSumsOfSquares) {
  uint32_t seed = 100;
  for (auto [w, h] : BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(dct.Init(w, h), 0);
    const TShapeData mask = RandomMask(size_t{w} * h, seed++);
    std::vector<double> expected(size_t{w} * h, 0.0);
    for (uint32_t v = 0; v < h; ++v)
      for (uint32_t u = 0; u < w; ++u)
        for (uint32_t y = 0; y < h; ++y)
          for (uint32_t x = 0; x < w; ++x) {
            const double b = DctBasis(u, v, x, y, w, h);
            expected[size_t{v} * w + u] += mask[size_t{y} * w + x] * b * b;
          }
    TShapeData scratch = mask;
    TShapeData norms(size_t{w} * h, 0.0);
    dct.BasisNorms(scratch.data(), norms.data());
    EXPECT_EQ(+dct.LastError, 0);
    EXPECT_TRUE(AllClose(norms, expected));
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, BasisNormsAreAssignedNotAccumulated) {
  ASSERT_EQ(dct.Init(8, 4), 0);
  TShapeData mask(32, 1.0);
  TShapeData norms(32, 5.0);
  dct.BasisNorms(mask.data(), norms.data());
  for (double n : norms) EXPECT_NEAR(n, 1.0, 1e-12);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, FullMaskGivesUnitNorms) {
  for (auto [w, h] : BlockSizes()) {
    ASSERT_EQ(dct.Init(w, h), 0);
    TShapeData mask(size_t{w} * h, 1.0);
    TShapeData norms(size_t{w} * h, 0.0);
    dct.BasisNorms(mask.data(), norms.data());
    for (double n : norms) ASSERT_NEAR(n, 1.0, 1e-12) << w << "x" << h;
    ASSERT_EQ(dct.Done(), 0);
  }
}

TEST_F(DctIITest, SingleSampleBlock) {
  ASSERT_EQ(dct.Init(1, 1), 0);
  EXPECT_EQ(dct.Basis(0, 0, 0, 0), 1.0);
  TShapeData data(1, -37.25);
  ASSERT_EQ(dct.Transform(0, data.data()), 0);
  EXPECT_DOUBLE_EQ(data[0], -37.25);
  ASSERT_EQ(dct.Transform(1, data.data()), 0);
  EXPECT_DOUBLE_EQ(data[0], -37.25);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, InitSizesAndRepeats) {
  EXPECT_EQ(dct.Init(0, 8), 6);
  EXPECT_EQ(+dct.LastError, 6);
  EXPECT_EQ(dct.Init(8, 0), 6);
  EXPECT_EQ(dct.Init(12, 8), 6);
  EXPECT_EQ(dct.Init(32768, 1), 6);
  EXPECT_EQ(dct.Init(1, 32768), 6);
  EXPECT_EQ(dct.GetState(), kCoreIdle);

  ASSERT_EQ(dct.Init(16384, 1), 0);
  EXPECT_EQ(+dct.Width, 16384);
  EXPECT_EQ(+dct.Height, 1);
  EXPECT_EQ(dct.GetState(), kCoreInitialised);
  EXPECT_EQ(dct.Init(8, 8), 4);
  EXPECT_EQ(+dct.LastError, 4);
  EXPECT_EQ(+dct.Width, 16384);
  EXPECT_EQ(dct.Done(), 0);
  EXPECT_EQ(dct.GetState(), kCoreIdle);
  EXPECT_EQ(dct.Done(), 3);
  EXPECT_EQ(+dct.LastError, 3);
}

TEST_F(DctIITest, LongBlockRoundTrip) {
  ASSERT_EQ(dct.Init(1, 16384), 0);
  const TShapeData pixels = RandomBlock(16384, 5);
  TShapeData data = pixels;
  ASSERT_EQ(dct.Transform(0, data.data()), 0);
  double energyIn = 0.0, energyOut = 0.0;
  for (size_t i = 0; i < data.size(); ++i) {
    energyIn += pixels[i] * pixels[i];
    energyOut += data[i] * data[i];
  }
  EXPECT_NEAR(energyOut / energyIn, 1.0, 1e-12);
  ASSERT_EQ(dct.Transform(1, data.data()), 0);
  EXPECT_TRUE(AllClose(data, pixels, 1e-11));
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, SlotsOutsideInit) {
  dct.LastError = 0;
  EXPECT_EQ(dct.Basis(0, 0, 0, 0), 0.0);
  EXPECT_EQ(+dct.LastError, 3);  // the idle core is set up for no kind
  TShapeData data(4, 1.0);
  EXPECT_EQ(dct.Transform(0, data.data()), 3);
  EXPECT_EQ(data[0], 1.0);
  TShapeData mask(4, 1.0), norms(4, 0.0);
  dct.LastError = 0;
  dct.BasisNorms(mask.data(), norms.data());
  EXPECT_EQ(+dct.LastError, 3);
  EXPECT_EQ(norms[0], 0.0);
  EXPECT_EQ(mask[0], 1.0);
  EXPECT_EQ(dct.GetState(), kCoreIdle);
}

TEST_F(DctIITest, SlotsWhileFftHoldsTheCore) {
  TTransDescriptor& fft = *FftDescriptor();
  ASSERT_EQ(fft.Init(4, 4), 0);
  EXPECT_EQ(dct.Init(4, 4), 4);
  EXPECT_EQ(dct.Basis(1, 1, 0, 0), 0.0);
  EXPECT_EQ(+dct.LastError, 3);
  TShapeData data(16, 2.0);
  EXPECT_EQ(dct.Transform(0, data.data()), 3);
  EXPECT_EQ(data[0], 2.0);
  EXPECT_EQ(dct.Done(), 3);
  EXPECT_EQ(fft.GetState(), kCoreInitialised);
  EXPECT_EQ(fft.Done(), 0);
}

TEST_F(DctIITest, FftCannotInitWhileDctIsInitialised) {
  TTransDescriptor& fft = *FftDescriptor();
  ASSERT_EQ(dct.Init(16, 16), 0);
  EXPECT_EQ(fft.Init(16, 16), 4);
  EXPECT_EQ(+fft.LastError, 4);
  // and FFT's Done does not end the DCT's initialisation
  EXPECT_EQ(fft.Done(), 3);
  EXPECT_EQ(dct.GetState(), kCoreInitialised);
  EXPECT_EQ(dct.Done(), 0);
  EXPECT_EQ(fft.Init(16, 16), 0);
  EXPECT_EQ(fft.Done(), 0);
}

TEST_F(DctIITest, WrongArrayLengthFailsTheCoreUntilDone) {
  ASSERT_EQ(dct.Init(8, 8), 0);
  TShapeData shortBlock(63, 1.0);
  EXPECT_EQ(dct.Transform(0, shortBlock.data()), 7);
  EXPECT_EQ(+dct.LastError, 7);
  EXPECT_EQ(dct.GetState(), kCoreFailed);
  EXPECT_EQ(shortBlock[0], 1.0);
  EXPECT_EQ(dct.Transform(0, nullptr), 7);  // a missing array counts as empty
  EXPECT_EQ(dct.Init(8, 8), 4);
  // Done recovers the core but reports the failed transform, whose status
  // the callers do not look at.
  EXPECT_EQ(dct.Done(), 7);
  EXPECT_EQ(dct.GetState(), kCoreIdle);
  ASSERT_EQ(dct.Init(8, 8), 0);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, SuccessfulTransformAfterAFailureClearsIt) {
  ASSERT_EQ(dct.Init(4, 2), 0);
  TShapeData wrong(9, 0.0), right(8, 1.0);
  EXPECT_EQ(dct.Transform(0, wrong.data()), 7);
  EXPECT_EQ(dct.Transform(0, right.data()), 0);
  EXPECT_EQ(dct.GetState(), kCoreInitialised);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, BasisNormsWithWrongArraysWriteNothingAndFail) {
  ASSERT_EQ(dct.Init(4, 4), 0);
  TShapeData mask(16, 1.0), shortNorms(15, -1.0);
  dct.BasisNorms(mask.data(), shortNorms.data());
  EXPECT_EQ(+dct.LastError, 7);
  EXPECT_EQ(shortNorms[14], -1.0);
  EXPECT_EQ(dct.Done(), 7);

  ASSERT_EQ(dct.Init(4, 4), 0);
  TShapeData shortMask(8, 1.0), norms(16, -1.0);
  dct.BasisNorms(shortMask.data(), norms.data());
  EXPECT_EQ(+dct.LastError, 7);
  EXPECT_EQ(norms[0], -1.0);
  EXPECT_EQ(dct.Done(), 7);
}

TEST_F(DctIITest, InverseOtherThanZeroOrOneLeavesDataAlone) {
  ASSERT_EQ(dct.Init(4, 4), 0);
  const TShapeData pixels = RandomBlock(16, 9);
  TShapeData data = pixels;
  EXPECT_EQ(dct.Transform(2, data.data()), 0);
  EXPECT_TRUE(AllClose(data, pixels, 0.0));
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, ParametersAndConfiguration) {
  intptr_t value = 55;
  int32_t size = 66;
  EXPECT_EQ(dct.GetParam(0, &value, &size), 8);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(+dct.LastError, 8);
  dct.LastError = 0;
  EXPECT_EQ(dct.SetParam(1, 5), 8);
  EXPECT_EQ(+dct.LastError, 8);
  void* config = &value;
  EXPECT_EQ(dct.GetConfig(&config), 0);
  EXPECT_EQ(config, nullptr);
  dct.SetConfig(&value, 8);
  ASSERT_EQ(dct.Init(8, 8), 0);
  config = &value;
  EXPECT_EQ(dct.GetConfig(&config), 0);
  EXPECT_EQ(config, nullptr);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(DctIITest, QuantWeightExamples) {
  EXPECT_EQ(dct.QuantWeight(0, 0, 8, 8), 16.0);
  EXPECT_EQ(dct.QuantWeight(1, 0, 16, 8), 13.5);
  EXPECT_EQ(dct.QuantWeight(1, 0, 4, 4), 10.0);
}

TEST_F(DctIITest, QuantWeightOfEightByEightIsTheTable) {
  for (uint32_t v = 0; v < 8; ++v)
    for (uint32_t u = 0; u < 8; ++u) EXPECT_EQ(dct.QuantWeight(u, v, 8, 8), kTable[v][u]) << u << "," << v;
}

TEST_F(DctIITest, QuantWeightInterpolatesLargerBlocks) {
  for (uint32_t w : {8u, 16u, 32u, 64u})
    for (uint32_t h : {8u, 16u, 32u})
      for (uint32_t v = 0; v < h; ++v)
        for (uint32_t u = 0; u < w; ++u) {
          const uint32_t iu = 8 * u / w, iv = 8 * v / h;
          const double fu = double(u % (w / 8)) * 8.0 / w, fv = double(v % (h / 8)) * 8.0 / h;
          auto row = [&](uint32_t r) {
            return iu < 7 ? kTable[r][iu] + (kTable[r][iu + 1] - kTable[r][iu]) * fu : kTable[r][iu];
          };
          const double a = row(iv), b = iv < 7 ? row(iv + 1) : a;
          ASSERT_NEAR(dct.QuantWeight(u, v, w, h), a + (b - a) * fv, 1e-12)
              << w << "x" << h << " " << u << "," << v;
        }
}

TEST_F(DctIITest, QuantWeightSamplesSmallBlocks) {
  for (uint32_t w : {1u, 2u, 4u})
    for (uint32_t h : {1u, 2u, 4u})
      for (uint32_t v = 0; v < h; ++v)
        for (uint32_t u = 0; u < w; ++u)
          EXPECT_EQ(dct.QuantWeight(u, v, w, h), kTable[8 * v / h][8 * u / w]);
  // wide and flat: interpolation along u on the sampled row 4
  EXPECT_EQ(dct.QuantWeight(1, 1, 16, 2), 18.0 + (22.0 - 18.0) * 0.5);
}

TEST_F(DctIITest, QuantWeightOutsideTheBlockIsNeutral) {
  EXPECT_EQ(dct.QuantWeight(8, 0, 8, 8), 1.0);
  EXPECT_EQ(dct.QuantWeight(0, 4, 4, 4), 1.0);
  EXPECT_EQ(dct.QuantWeight(0, 0, 0, 8), 1.0);
  EXPECT_EQ(dct.QuantWeight(0, 0, 8, 0), 1.0);
}

}  // namespace
}  // namespace tvlc
