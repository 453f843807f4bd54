#include <gtest/gtest.h>

#include <complex>
#include <new>
#include <stdexcept>

#include "TransformTestSupport.h"
#include "transform/TransformCore.h"

namespace tvlc {
namespace {

using testing::AllClose;
using testing::DirectDct;
using testing::DirectDft;
using testing::RandomBlock;
using Complexes = std::vector<std::complex<double>>;

TFFTData RandomComplexBlock(size_t count, uint32_t seed) {
  const TShapeData re = RandomBlock(count, seed), im = RandomBlock(count, seed + 1);
  TFFTData block(count);
  for (size_t i = 0; i < count; ++i) block[i] = {re[i], im[i]};
  return block;
}

Complexes ToStd(const TFFTData& block) {
  Complexes z(block.size());
  for (size_t i = 0; i < z.size(); ++i) z[i] = {block[i].Re, block[i].Im};
  return z;
}

Complexes UnitaryDft(const TFFTData& block, uint32_t n1, uint32_t n2, int sign) {
  Complexes z = DirectDft(ToStd(block), n1, n2, sign);
  for (auto& e : z) e /= std::sqrt(double(n1) * n2);
  return z;
}

TEST(TransformCoreTest, StartsIdleWithoutKind) {
  TTransformCore core;
  EXPECT_EQ(core.State(), kCoreIdle);
  EXPECT_EQ(core.Kind(), kKindNone);
  EXPECT_EQ(core.Done(), 5);
  TFFTData block(4);
  EXPECT_EQ(core.Execute(0, &block, nullptr), 5);
  EXPECT_EQ(core.State(), kCoreIdle);
}

TEST(TransformCoreTest, InitChecksInOrder) {
  TTransformCore core;
  EXPECT_EQ(core.Init(0, 4, kKindComplexFft), 6);
  EXPECT_EQ(core.Init(4, 0, kKindComplexFft), 6);
  EXPECT_EQ(core.Init(12, 4, kKindComplexFft), 6);
  EXPECT_EQ(core.Init(65536, 1, kKindComplexFft), 6);
  EXPECT_EQ(core.Init(32768, 1, kKindDct), 6);
  EXPECT_EQ(core.Init(1, 32768, kKindDct), 6);
  EXPECT_EQ(core.Init(12, 4, kKindNone), 6);  // the size is checked before the kind
  EXPECT_EQ(core.Init(4, 4, kKindNone), 3);
  EXPECT_EQ(core.Init(4, 4, 9), 3);
  EXPECT_EQ(core.State(), kCoreIdle);
  EXPECT_EQ(core.Kind(), kKindNone);

  ASSERT_EQ(core.Init(32768, 2, kKindComplexFft), 0);
  EXPECT_EQ(core.State(), kCoreInitialised);
  EXPECT_EQ(core.Kind(), kKindComplexFft);
  EXPECT_EQ(core.Init(12, 4, kKindComplexFft), 4);  // already initialised wins over the size
  EXPECT_EQ(core.Init(4, 4, kKindDct), 4);
  EXPECT_EQ(core.Done(), 0);
  EXPECT_EQ(core.State(), kCoreIdle);
  EXPECT_EQ(core.Kind(), kKindNone);
  EXPECT_EQ(core.Done(), 5);

  ASSERT_EQ(core.Init(16384, 1, kKindDct), 0);
  EXPECT_EQ(core.Kind(), kKindDct);
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, ReversalTablesOfTheComplexKind) {
  TTransformCore core;
  ASSERT_EQ(core.Init(8, 1, kKindComplexFft), 0);
  EXPECT_EQ(core.RowReversal(), (std::vector<uint16_t>{0, 4, 2, 6, 0xFFFF, 5, 0xFFFF, 7}));
  EXPECT_EQ(core.ColumnReversal(), std::vector<uint16_t>{0});
  EXPECT_EQ(core.Done(), 0);
  EXPECT_TRUE(core.RowReversal().empty());
}

TEST(TransformCoreTest, ComplexForwardAndInverseAreUnitaryDfts) {
  TTransformCore core;
  uint32_t seed = 1;
  for (auto [n1, n2] : testing::BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << n1 << "x" << n2);
    ASSERT_EQ(core.Init(n1, n2, kKindComplexFft), 0);
    const TFFTData input = RandomComplexBlock(size_t{n1} * n2, seed += 2);
    TFFTData block = input;
    ASSERT_EQ(core.Execute(0, &block, nullptr), 0);
    EXPECT_TRUE(AllClose(ToStd(block), UnitaryDft(input, n1, n2, -1)));
    block = input;
    ASSERT_EQ(core.Execute(1, &block, nullptr), 0);
    EXPECT_TRUE(AllClose(ToStd(block), UnitaryDft(input, n1, n2, +1)));
    ASSERT_EQ(core.Done(), 0);
  }
}

TEST(TransformCoreTest, ForwardThenInverseRestoresTheBlock) {
  TTransformCore core;
  ASSERT_EQ(core.Init(512, 64, kKindComplexFft), 0);
  const TFFTData input = RandomComplexBlock(512 * 64, 3);
  TFFTData block = input;
  ASSERT_EQ(core.Execute(0, &block, nullptr), 0);
  ASSERT_EQ(core.Execute(1, &block, nullptr), 0);
  EXPECT_TRUE(AllClose(ToStd(block), ToStd(input), 1e-12));
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, SingleElementForwardReturnsItsInput) {
  TTransformCore core;
  ASSERT_EQ(core.Init(1, 1, kKindComplexFft), 0);
  EXPECT_EQ(core.RowReversal(), std::vector<uint16_t>{0});
  TFFTData block = {{3.5, -1.25}};
  ASSERT_EQ(core.Execute(0, &block, nullptr), 0);
  EXPECT_EQ(block[0].Re, 3.5);
  EXPECT_EQ(block[0].Im, -1.25);
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, DctKindEqualsDirectSums) {
  TTransformCore core;
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {2, 1}, {1, 4}, {16, 8}, {4, 64}}) {
    ASSERT_EQ(core.Init(w, h, kKindDct), 0);
    const TShapeData pixels = RandomBlock(size_t{w} * h, w * h);
    TShapeData data = pixels;
    ASSERT_EQ(core.Execute(0, nullptr, data.data()), 0);
    EXPECT_TRUE(AllClose(data, DirectDct(pixels, w, h, false)));
    data = pixels;
    ASSERT_EQ(core.Execute(1, nullptr, data.data()), 0);
    EXPECT_TRUE(AllClose(data, DirectDct(pixels, w, h, true)));
    ASSERT_EQ(core.Done(), 0);
  }
}

TEST(TransformCoreTest, InverseOtherThanZeroOrOneDoesNothing) {
  TTransformCore core;
  ASSERT_EQ(core.Init(4, 2, kKindComplexFft), 0);
  const TFFTData input = RandomComplexBlock(8, 11);
  TFFTData block = input;
  EXPECT_EQ(core.Execute(7, &block, nullptr), 0);
  EXPECT_TRUE(AllClose(ToStd(block), ToStd(input), 0.0));
  EXPECT_EQ(core.State(), kCoreInitialised);
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, ComplexKindRejectsWrongArrays) {
  TTransformCore core;
  ASSERT_EQ(core.Init(4, 2, kKindComplexFft), 0);
  TFFTData shortBlock(7);
  EXPECT_EQ(core.Execute(0, &shortBlock, nullptr), 7);
  EXPECT_EQ(core.State(), kCoreFailed);
  TShapeData real(8, 0.0);
  EXPECT_EQ(core.Execute(0, nullptr, real.data()), 3);
  EXPECT_EQ(core.State(), kCoreFailed);
  EXPECT_EQ(core.Execute(0, nullptr, nullptr), 7);
  EXPECT_EQ(core.Init(4, 2, kKindComplexFft), 4);
  EXPECT_EQ(core.Done(), 7);  // reports the failure and recovers
  EXPECT_EQ(core.State(), kCoreIdle);
  EXPECT_EQ(core.Kind(), kKindNone);
  EXPECT_EQ(core.Init(4, 2, kKindComplexFft), 0);
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, DctKindRejectsWrongArrays) {
  TTransformCore core;
  ASSERT_EQ(core.Init(4, 2, kKindDct), 0);
  TFFTData complexBlock(8);
  EXPECT_EQ(core.Execute(0, &complexBlock, nullptr), 3);
  EXPECT_EQ(core.State(), kCoreFailed);
  EXPECT_EQ(core.Done(), 3);

  ASSERT_EQ(core.Init(4, 2, kKindDct), 0);
  TShapeData longBlock(9, 0.0);
  EXPECT_EQ(core.Execute(1, nullptr, longBlock.data()), 7);
  TShapeData block(8, 1.0);
  EXPECT_EQ(core.Execute(0, nullptr, block.data()), 0);  // a good transform ends the failure
  EXPECT_EQ(core.State(), kCoreInitialised);
  EXPECT_EQ(core.Done(), 0);
}

TEST(TransformCoreTest, EverythingButTheRunningJobSeesTheCoreBusy) {
  TTransformCore core;
  ASSERT_EQ(core.Init(4, 4, kKindComplexFft), 0);
  TFFTData block(16);
  const uint8_t status = core.RunBusy([&]() -> uint8_t {
    EXPECT_EQ(core.State(), kCoreBusy);
    EXPECT_EQ(core.Init(4, 4, kKindComplexFft), 2);
    EXPECT_EQ(core.Done(), 2);
    EXPECT_EQ(core.Execute(0, &block, nullptr), 2);
    EXPECT_EQ(core.Reject(7), 2);
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(core.State(), kCoreInitialised);
  EXPECT_EQ(core.Done(), 0);
  EXPECT_EQ(core.RunBusy([] { return uint8_t{0}; }), 5);
}

TEST(TransformCoreTest, ExceptionInATransformLeavesTheCoreFailedNotBusy) {
  TTransformCore core;
  ASSERT_EQ(core.Init(8, 8, kKindDct), 0);
  EXPECT_EQ(core.RunBusy([]() -> uint8_t { throw std::bad_alloc(); }), 1);
  EXPECT_EQ(core.State(), kCoreFailed);
  EXPECT_EQ(core.Done(), 1);
  EXPECT_EQ(core.State(), kCoreIdle);

  ASSERT_EQ(core.Init(8, 8, kKindComplexFft), 0);
  EXPECT_EQ(core.RunBusy([]() -> uint8_t { throw std::runtime_error("table"); }), 1);
  EXPECT_EQ(core.State(), kCoreFailed);
  EXPECT_EQ(core.Done(), 1);
}

TEST(TransformCoreTest, RejectFailsTheCoreWithTheGivenStatus) {
  TTransformCore core;
  EXPECT_EQ(core.Reject(7), 5);
  ASSERT_EQ(core.Init(2, 2, kKindComplexFft), 0);
  EXPECT_EQ(core.Reject(7), 7);
  EXPECT_EQ(core.State(), kCoreFailed);
  EXPECT_EQ(core.Done(), 7);
}

TEST(TransformCoreTest, ProgramHasOneCore) { EXPECT_EQ(&TransformCore(), &TransformCore()); }

}  // namespace
}  // namespace tvlc
