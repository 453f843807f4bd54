#include <gtest/gtest.h>

#include <complex>

#include "TransformTestSupport.h"
#include "transform/FftKernel.h"

namespace tvlc {
namespace {

TEST(FftKernelTest, ReversalTableOfEight) {
  const std::vector<uint16_t> expected = {0, 4, 2, 6, 0xFFFF, 5, 0xFFFF, 7};
  EXPECT_EQ(BitReversalTable(8), expected);
}

TEST(FftKernelTest, ReversalTableOfOneAndTwo) {
  EXPECT_EQ(BitReversalTable(1), std::vector<uint16_t>{0});
  EXPECT_EQ(BitReversalTable(2), (std::vector<uint16_t>{0, 1}));
}

TEST(FftKernelTest, ReversalTableListsEveryPairOnce) {
  for (uint32_t n = 1; n <= 32768; n *= 2) {
    const std::vector<uint16_t> table = BitReversalTable(n);
    const unsigned bits = Log2(n);
    for (uint32_t l = 0; l < n; ++l) {
      const uint32_t r = ReverseBits(l, bits);
      if (l <= r)
        ASSERT_EQ(table[l], r) << n << " " << l;
      else
        ASSERT_EQ(table[l], kReversalPartner) << n << " " << l;
    }
  }
}

TEST(FftKernelTest, ReverseBitsAndLog2) {
  EXPECT_EQ(ReverseBits(1, 3), 4u);
  EXPECT_EQ(ReverseBits(6, 3), 3u);
  EXPECT_EQ(ReverseBits(1, 15), 16384u);
  EXPECT_EQ(ReverseBits(0, 0), 0u);
  EXPECT_EQ(Log2(1), 0u);
  EXPECT_EQ(Log2(32768), 15u);
  EXPECT_TRUE(IsPowerOfTwo(1));
  EXPECT_TRUE(IsPowerOfTwo(16384));
  EXPECT_FALSE(IsPowerOfTwo(0));
  EXPECT_FALSE(IsPowerOfTwo(12));
}

// `lanes` transforms of length n side by side, element k of lane l at
// k * stride + l, in bit-reversed order, through both storage layouts.
void CheckButterflies(uint32_t n, size_t lanes, size_t stride) {
  const TShapeData re = testing::RandomBlock(n * stride, n), im = testing::RandomBlock(n * stride, n + 1);
  TFFTData interleaved(n * stride);
  std::vector<double> splitRe(n * stride), splitIm(n * stride);
  for (uint32_t k = 0; k < n; ++k)
    for (size_t l = 0; l < lanes; ++l) {
      const size_t from = k * stride + l, to = ReverseBits(k, Log2(n)) * stride + l;
      interleaved[to] = {re[from], im[from]};
      splitRe[to] = re[from];
      splitIm[to] = im[from];
    }
  const TFFTData twiddles = Twiddles(n);
  Butterflies(TInterleavedBlock{interleaved.data()}, n, stride, lanes, twiddles.data());
  Butterflies(TSplitBlock{splitRe.data(), splitIm.data()}, n, stride, lanes, twiddles.data());
  for (size_t l = 0; l < lanes; ++l) {
    std::vector<std::complex<double>> lane(n), fromInterleaved(n), fromSplit(n);
    for (uint32_t k = 0; k < n; ++k) {
      const size_t i = k * stride + l;
      lane[k] = {re[i], im[i]};
      fromInterleaved[k] = {interleaved[i].Re, interleaved[i].Im};
      fromSplit[k] = {splitRe[i], splitIm[i]};
    }
    const auto expected = testing::DirectDft(lane, n, 1, -1);
    EXPECT_TRUE(testing::AllClose(fromInterleaved, expected)) << n << " lane " << l;
    EXPECT_TRUE(testing::AllClose(fromSplit, expected)) << n << " lane " << l;
  }
  // elements between the lanes are left alone
  for (uint32_t k = 0; k < n; ++k)
    for (size_t l = lanes; l < stride; ++l) EXPECT_EQ(splitRe[k * stride + l], 0.0);
}

TEST(FftKernelTest, ButterfliesOfSideBySideLanesAreDfts) {
  for (uint32_t n = 1; n <= 256; n *= 2) {
    CheckButterflies(n, 1, 1);
    CheckButterflies(n, 3, 3);
    CheckButterflies(n, 5, 8);
  }
}

}  // namespace
}  // namespace tvlc
