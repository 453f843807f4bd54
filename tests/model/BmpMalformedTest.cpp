// Malformed and lying files, made from good ones: always a TBmpError that
// says what is wrong, never a crash, a read past the data or a huge allocation.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "model/Bmp.h"
#include "model/BmpTestSupport.h"

namespace tvlc {
namespace {

using namespace bmptest;

// The message of the refusal, or a note that the bytes were accepted.
std::string RefusalOf(const std::vector<uint8_t>& bytes) {
  try {
    ReadBytes(bytes);
  } catch (const TBmpError& e) {
    return e.what();
  }
  return "accepted";
}

void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& reason) {
  const std::string message = RefusalOf(bytes);
  EXPECT_NE(message.find(reason), std::string::npos) << message;
}

std::vector<uint8_t> Suite(const char* folder, const char* name) {
  return FileBytes(SuiteFile(folder, name));
}

std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t length) {
  return {bytes.begin(), bytes.begin() + ptrdiff_t(length)};
}

class BmpTruncated : public testing::TestWithParam<const char*> {};

// Every cut inside the headers, colour table and masks, and many inside the
// pixel data, down to the last byte.
TEST_P(BmpTruncated, IsRefusedAtAnyLength) {
  const std::vector<uint8_t> whole = Suite("g", GetParam());
  ASSERT_NO_THROW(ReadBytes(whole));
  const size_t pixelOffset = GetU32(whole, kPixelOffsetAt);
  for (size_t length = 0; length < whole.size(); length += length < pixelOffset + 8 ? 1 : 97) {
    SCOPED_TRACE(length);
    EXPECT_THROW(ReadBytes(Cut(whole, length)), TBmpError);
  }
  ExpectRefused(Cut(whole, whole.size() - 1), "Bitmap file is truncated");
}

INSTANTIATE_TEST_SUITE_P(Suite, BmpTruncated,
                         testing::Values("pal1", "pal4rle", "pal8", "pal8os2", "pal8rle",
                                         "pal8topdown", "pal8v5", "rgb16", "rgb24", "rgb32bf"));

// Without a stated size the RLE data may only end at its end-of-bitmap code.
TEST(BmpMalformed, RleWithoutImageSizeCutShortIsRefused) {
  std::vector<uint8_t> bytes = Suite("g", "pal8rle");
  PutU32(bytes, kImageSizeAt, 0);
  ASSERT_NO_THROW(ReadBytes(bytes));
  for (size_t length = GetU32(bytes, kPixelOffsetAt); length < bytes.size(); length += 89)
    ExpectRefused(Cut(bytes, length), "Bitmap file is truncated");
  ExpectRefused(Cut(bytes, bytes.size() - 1), "Bitmap file is truncated");
}

TEST(BmpMalformed, WrongSignature) {
  std::vector<uint8_t> bytes = Suite("g", "pal8");
  bytes[1] = 'A';
  ExpectRefused(bytes, "Not a bitmap file");
  ExpectRefused({}, "Bitmap file is truncated");
}

TEST(BmpMalformed, DimensionsOutOfRange) {
  const std::vector<uint8_t> good = Suite("g", "pal8");
  const std::pair<int32_t, int32_t> sizes[] = {{0, 64},          {127, 0},         {-127, 64},
                                               {100000, 100000}, {100000, 1},      {1, 100000},
                                               {65535, 65535},   {127, INT32_MIN}, {INT32_MIN, 1}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    std::vector<uint8_t> bytes = good;
    PutU32(bytes, kWidthAt, uint32_t(width));
    PutU32(bytes, kHeightAt, uint32_t(height));
    ExpectRefused(bytes, "Bitmap dimensions out of range");
  }
}

// Within the size limits but far beyond what the file holds: the missing
// pixel data must be noticed while reading, not after reserving for it.
TEST(BmpMalformed, LargeImageInTinyFileIsTruncated) {
  std::vector<uint8_t> bytes = Suite("g", "rgb32");
  PutU32(bytes, kWidthAt, 65535);
  PutU32(bytes, kHeightAt, 4096);
  PutU32(bytes, kImageSizeAt, 0);
  ExpectRefused(bytes, "Bitmap file is truncated");
}

TEST(BmpMalformed, UnsupportedBitCounts) {
  for (uint16_t bits : {0, 3, 7, 12, 48, 64}) {
    SCOPED_TRACE(bits);
    std::vector<uint8_t> bytes = Suite("g", "pal8");
    PutU16(bytes, kBitCountAt, bits);
    ExpectRefused(bytes, "Unsupported bitmap bit depth");
  }
}

TEST(BmpMalformed, UnsupportedHeaderSizes) {
  for (uint32_t size : {0u, 4u, 11u, 13u, 15u, 65u, 100u, 200u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> bytes = Suite("g", "pal8");
    PutU32(bytes, kInfoSizeAt, size);
    ExpectRefused(bytes, "Unsupported bitmap header size");
  }
}

TEST(BmpMalformed, UnsupportedCompression) {
  for (uint32_t code : {4u, 5u, 7u, 11u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    std::vector<uint8_t> bytes = Suite("g", "rgb24");
    PutU32(bytes, kCompressionAt, code);
    ExpectRefused(bytes, "Unsupported bitmap compression");
  }
}

TEST(BmpMalformed, CompressionThatDoesNotFitTheBitDepth) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"pal8", 2}, {"pal4", 1}, {"rgb24", 1}, {"rgb24", 3}, {"pal8", 3}};
  for (const auto& [name, code] : cases) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = Suite("g", name);
    PutU32(bytes, kCompressionAt, code);
    ExpectRefused(bytes, "Bitmap compression does not match its bit depth");
  }
}

TEST(BmpMalformed, PixelOffsetPastTheEnd) {
  for (uint32_t offset : {9255u, 100000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    SCOPED_TRACE(offset);
    std::vector<uint8_t> bytes = Suite("g", "pal8");
    PutU32(bytes, kPixelOffsetAt, offset);
    EXPECT_THROW(ReadBytes(bytes), TBmpError);
  }
}

TEST(BmpMalformed, PixelOffsetInsideTheHeaders) {
  for (uint32_t offset : {0u, 14u, 53u}) {
    SCOPED_TRACE(offset);
    std::vector<uint8_t> bytes = Suite("g", "rgb24");
    PutU32(bytes, kPixelOffsetAt, offset);
    ExpectRefused(bytes, "Bitmap pixel offset lies inside its headers");
  }
}

// The table stated by the header must lie before the pixel data.
TEST(BmpMalformed, ColourTableLongerThanTheRoomForIt) {
  for (uint32_t count : {253u, 1000000u, 0x40000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(count);
    std::vector<uint8_t> bytes = Suite("g", "pal8");
    PutU32(bytes, kColoursUsedAt, count);
    ExpectRefused(bytes, "Bitmap colour table does not fit before the pixel data");
  }
}

TEST(BmpMalformed, ImageSizeTooSmallForTheRows) {
  std::vector<uint8_t> bytes = Suite("g", "pal8w125");
  PutU32(bytes, kImageSizeAt, 125 * 62);  // the rows without their padding
  ExpectRefused(bytes, "Bitmap image size is too small for its dimensions");
}

TEST(BmpMalformed, UnusableColourMasks) {
  const uint32_t masks[] = {0xF801, 0x10000, 0xFFFF0000, 0x5555};
  for (uint32_t red : masks) {
    SCOPED_TRACE(red);
    std::vector<uint8_t> bytes = Suite("g", "rgb16-565");
    PutU32(bytes, kInfoEnd, red);
    ExpectRefused(bytes, "Unsupported bitmap colour masks");
  }
}

}  // namespace
}  // namespace tvlc
