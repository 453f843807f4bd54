// A worker thread's own transform state: its DCT II has a descriptor and a
// state machine of its own, the process-wide one (the registry's) is not
// touched, and transforms on several threads at once give what one thread
// gives.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "TransformTestSupport.h"
#include "transform/DCTII.h"
#include "transform/TransformState.h"

namespace tvlc {
namespace {

using testing::RandomBlock;

// The DCT II analysis of a random block on the calling thread's state.
TShapeData Analysed(uint32_t w, uint32_t h, uint32_t seed) {
  TTransDescriptor& dct = *DctIIDescriptor();
  TShapeData block = RandomBlock(size_t(w) * h, seed);
  EXPECT_EQ(dct.Init(w, h), TVLC_STATUS_OK);
  EXPECT_EQ(dct.Transform(0, block.data()), TVLC_STATUS_OK);
  EXPECT_EQ(dct.Done(), TVLC_STATUS_OK);
  return block;
}

bool SameBits(const TShapeData& a, const TShapeData& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(TransformStateTest, BoundStateHasItsOwnDescriptorAndStateMachine) {
  TTransDescriptor& process = *DctIIDescriptor();
  ASSERT_EQ(process.Init(16, 16), TVLC_STATUS_OK);
  std::thread worker([&] {
    TBoundTransformState bound;
    TTransDescriptor& own = *DctIIDescriptor();
    EXPECT_NE(&own, &process);
    EXPECT_EQ(own.GetState(), kCoreIdle);
    // The process-wide DCT II is initialised; this thread's is not.
    EXPECT_EQ(own.Init(8, 4), TVLC_STATUS_OK);
    EXPECT_EQ(own.Init(8, 4), TVLC_STATUS_ALREADY_INIT);
    EXPECT_EQ(own.Width, 8);
    EXPECT_EQ(own.Height, 4);
    EXPECT_EQ(own.Done(), TVLC_STATUS_OK);
    {
      // A nested binding gives way to the outer one when it ends.
      TBoundTransformState inner;
      EXPECT_NE(DctIIDescriptor(), &own);
    }
    EXPECT_EQ(DctIIDescriptor(), &own);
  });
  worker.join();
  EXPECT_EQ(process.Width, 16);
  EXPECT_EQ(process.LastError, TVLC_STATUS_OK);
  EXPECT_EQ(process.GetState(), kCoreInitialised);
  EXPECT_EQ(process.Done(), TVLC_STATUS_OK);
  EXPECT_EQ(DctIIDescriptor(), &process);
}

TEST(TransformStateTest, ThreadsAtOnceGiveWhatOneThreadGives) {
  constexpr uint32_t kSizes[][2] = {{8, 8}, {32, 16}, {64, 64}, {4, 128}};
  std::vector<TShapeData> serial;
  for (const auto& size : kSizes) serial.push_back(Analysed(size[0], size[1], size[0] + size[1]));

  std::vector<std::vector<TShapeData>> parallel(3);
  std::vector<std::thread> workers;
  for (auto& results : parallel)
    workers.emplace_back([&results, &kSizes] {
      TBoundTransformState bound;
      for (int round = 0; round < 20; ++round)
        for (const auto& size : kSizes) results.push_back(Analysed(size[0], size[1], size[0] + size[1]));
    });
  for (std::thread& worker : workers) worker.join();
  for (const auto& results : parallel) {
    ASSERT_EQ(results.size(), 20 * std::size(kSizes));
    for (size_t i = 0; i < results.size(); ++i)
      EXPECT_TRUE(SameBits(results[i], serial[i % std::size(kSizes)])) << i;
  }
}

}  // namespace
}  // namespace tvlc
