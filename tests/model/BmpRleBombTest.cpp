// Run-length bitmaps that declare far more pixels than their codes reach.
#include <gtest/gtest.h>

#include <new>

#include "model/Bmp.h"
#include "model/BmpBytes.h"
#include "model/BmpTestSupport.h"
#include "support/AllocationLimit.h"
#include "support/MemoryBombs.h"

namespace tvlc {
namespace {

using testing::RleBitmap;
using testing::TAllocationLimit;

TEST(BmpRleBomb, HugeDeclaredSizeWithOnlyAnEndCodeIsAPictureOfIndexZero) {
  const std::vector<uint8_t> bytes = RleBitmap(4096, 2048);
  ASSERT_EQ(bytes.size(), 64u);
  const TImage image = bmptest::ReadBytes(bytes);
  ASSERT_EQ(image.Width(), 4096);
  ASSERT_EQ(image.Height(), 2048);
  EXPECT_EQ(image.Pixel(0, 0), kBlack);
  EXPECT_EQ(image.Pixel(4095, 2047), kBlack);
  // Its own indices and nothing more.
  EXPECT_EQ(image.PixelBytes(), 4096u * 2048u);
}

TEST(BmpRleBomb, CodesCutShortAreRefusedBeforeTheDeclaredSizeIsSpent) {
  // Two pixels of index 1, then the file ends inside the next code.
  std::vector<uint8_t> bytes = RleBitmap(65535, 4096, {2, 1, 0, 1});
  bytes.pop_back();
  // Nothing near the 268 MB of the declared pixels may be asked for.
  TAllocationLimit limit(1 << 20);
  try {
    bmptest::ReadBytes(bytes);
    FAIL() << "a cut run-length file was accepted";
  } catch (const TBmpError& e) {
    EXPECT_STREQ(e.what(), kBmpTruncated);
  } catch (const std::bad_alloc&) {
    FAIL() << "the run-length canvas was reserved before the codes were read";
  }
}

TEST(BmpRleBomb, RunInTheBottomRowLeavesEveryOtherPixelAtIndexZero) {
  const std::vector<uint8_t> bytes = RleBitmap(2000, 3000, {3, 1, 0, 1});
  const TImage image = bmptest::ReadBytes(bytes);
  EXPECT_EQ(image.Pixel(0, 2999), kWhite);
  EXPECT_EQ(image.Pixel(2, 2999), kWhite);
  EXPECT_EQ(image.Pixel(3, 2999), kBlack);
  EXPECT_EQ(image.Pixel(0, 2998), kBlack);
  EXPECT_EQ(image.PixelBytes(), 6000000u);
}

}  // namespace
}  // namespace tvlc
