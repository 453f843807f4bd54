// Pixel decoding checked on small hand-made files whose every pixel is known.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/Bmp.h"
#include "model/BmpTestSupport.h"

namespace tvlc {
namespace {

using bmptest::ReadBytes;
using bmptest::THandMadeBmp;

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

const std::vector<TColor> kFourColours = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90),
                                          RGB(100, 110, 120)};

// Palette indices row by row, top row first.
std::vector<std::vector<int>> IndicesOf(const TImage& image) {
  std::vector<std::vector<int>> rows(size_t(image.Height()));
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) rows[size_t(y)].push_back(image.Index(x, y));
  return rows;
}

TEST(BmpDecode, OneBitRowsArePackedHighBitFirst) {
  const THandMadeBmp file{.width = 10,
                          .height = 2,
                          .bitCount = 1,
                          .palette = {RGB(255, 0, 0), RGB(0, 0, 255)},
                          .pixels = {0xA0, 0x40, 0, 0, 0xFF, 0xC0, 0xEE, 0xEE}};
  const TImage image = ReadBytes(file.Bytes());
  ASSERT_EQ(image.Format(), TPixelFormat::Indexed8);
  const std::vector<std::vector<int>> expected = {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                                                  {1, 0, 1, 0, 0, 0, 0, 0, 0, 1}};
  EXPECT_EQ(IndicesOf(image), expected);
  EXPECT_EQ(image.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(image.Pixel(0, 1), RGB(0, 0, 255));
}

TEST(BmpDecode, TwoAndFourBitPixels) {
  const THandMadeBmp twoBit{.width = 5,
                            .height = 1,
                            .bitCount = 2,
                            .palette = kFourColours,
                            .pixels = {0x1B, 0xC0, 0, 0}};
  EXPECT_EQ(IndicesOf(ReadBytes(twoBit.Bytes())), (std::vector<std::vector<int>>{{0, 1, 2, 3, 3}}));
  const THandMadeBmp fourBit{.width = 3,
                             .height = 1,
                             .bitCount = 4,
                             .palette = kFourColours,
                             .pixels = {0x12, 0x30, 0, 0}};
  EXPECT_EQ(IndicesOf(ReadBytes(fourBit.Bytes())), (std::vector<std::vector<int>>{{1, 2, 3}}));
}

// Only the table's single entry exists; index 1 must not read past it.
TEST(BmpDecode, IndexPastTheColourTableIsBlack) {
  const THandMadeBmp file{.width = 2,
                          .height = 1,
                          .bitCount = 1,
                          .palette = {RGB(200, 100, 50)},
                          .pixels = {0x40, 0, 0, 0}};
  const TImage image = ReadBytes(file.Bytes());
  EXPECT_EQ(image.Pixel(0, 0), RGB(200, 100, 50));
  EXPECT_EQ(image.Pixel(1, 0), kBlack);
}

// Stored bottom row first: a run clipped at the right edge, an absolute run
// with its pad byte, end of line, a delta and end of bitmap.
const std::vector<uint8_t> kRle8Codes = {
    3, 1, 0, 3, 2, 3, 2, 0, 0, 0,  // row 0: run, absolute (last 2 clipped), end of line
    1, 3, 0, 2, 2, 1,              // row 1: one pixel, then move 2 right and 1 up
    1, 2, 0, 1};                   // row 2: one pixel, end of bitmap
const std::vector<std::vector<int>> kRle8Indices = {{0, 0, 0, 2}, {3, 0, 0, 0}, {1, 1, 1, 2}};

TEST(BmpDecode, Rle8CodesPlacePixelsAndLeaveGapsAtIndexZero) {
  const THandMadeBmp file{.width = 4,
                          .height = 3,
                          .compression = kRle8,
                          .palette = kFourColours,
                          .pixels = kRle8Codes,
                          .imageSize = uint32_t(kRle8Codes.size())};
  const TImage image = ReadBytes(file.Bytes());
  EXPECT_EQ(IndicesOf(image), kRle8Indices);
  EXPECT_EQ(image.Palette(), kFourColours);
}

TEST(BmpDecode, Rle4RunsAlternateNibblesAndAbsoluteRunsArePadded) {
  const std::vector<uint8_t> codes = {5, 0x12, 0, 0, 0, 5, 0x31, 0x23, 0x10, 0, 0, 1};
  const THandMadeBmp file{.width = 5,
                          .height = 2,
                          .bitCount = 4,
                          .compression = kRle4,
                          .palette = kFourColours,
                          .pixels = codes,
                          .imageSize = uint32_t(codes.size())};
  const std::vector<std::vector<int>> expected = {{3, 1, 2, 3, 1}, {1, 2, 1, 2, 1}};
  EXPECT_EQ(IndicesOf(ReadBytes(file.Bytes())), expected);
}

// Without a stated size the data ends at its end-of-bitmap code, and the
// stream must be left right behind it.
TEST(BmpDecode, RleWithoutImageSizeStopsAtEndOfBitmap) {
  const THandMadeBmp file{
      .width = 4, .height = 3, .compression = kRle8, .palette = kFourColours, .pixels = kRle8Codes};
  const std::vector<uint8_t> bytes = file.Bytes();
  std::istringstream in(std::string(bytes.begin(), bytes.end()) + "next item");
  EXPECT_EQ(IndicesOf(ReadBmp(in)), kRle8Indices);
  EXPECT_EQ(in.tellg(), std::streampos(std::streamoff(bytes.size())));
}

// Bytes the stated image size holds beyond the rows or after end of bitmap
// still belong to this image.
TEST(BmpDecode, StatedImageSizeIsConsumedWhole) {
  std::vector<uint8_t> rleCodes = kRle8Codes;
  rleCodes.insert(rleCodes.end(), {0, 0, 0, 0});
  const THandMadeBmp files[] = {
      {.width = 1, .height = 1, .bitCount = 24, .pixels = {1, 2, 3, 0, 9, 9, 9, 9}, .imageSize = 8},
      {.width = 4,
       .height = 3,
       .compression = kRle8,
       .palette = kFourColours,
       .pixels = rleCodes,
       .imageSize = uint32_t(rleCodes.size())}};
  for (const THandMadeBmp& file : files) {
    const std::vector<uint8_t> bytes = file.Bytes();
    std::istringstream in(std::string(bytes.begin(), bytes.end()) + "next item");
    ReadBmp(in);
    EXPECT_EQ(in.tellg(), std::streampos(std::streamoff(bytes.size())));
  }
}

TEST(BmpDecode, RleIndexPastTheColourTableIsBlack) {
  const THandMadeBmp file{.width = 2,
                          .height = 1,
                          .compression = kRle8,
                          .palette = {RGB(1, 2, 3)},
                          .pixels = {1, 0, 1, 9, 0, 1},
                          .imageSize = 6};
  const TImage image = ReadBytes(file.Bytes());
  EXPECT_EQ(image.Pixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(image.Pixel(1, 0), kBlack);
}

std::vector<uint8_t> Pixels32(const std::vector<uint32_t>& values) {
  std::vector<uint8_t> bytes;
  for (uint32_t v : values)
    bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  return bytes;
}

// An 11-bit red channel: v * 255 / 2047 rounded to the nearest level.
TEST(BmpDecode, WideChannelsRoundToTheNearestLevel) {
  const THandMadeBmp file{.width = 5,
                          .height = 1,
                          .bitCount = 32,
                          .compression = kBitFields,
                          .masks = {0x000007FF, 0x003FF800, 0xFFC00000},
                          .pixels = Pixels32({0, 1, 1023, 1024, 2047 | 0xFFC00000})};
  const TImage image = ReadBytes(file.Bytes());
  EXPECT_EQ(image.Pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(image.Pixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(image.Pixel(2, 0), RGB(127, 0, 0));  // 127.44
  EXPECT_EQ(image.Pixel(3, 0), RGB(128, 0, 0));  // 127.56
  EXPECT_EQ(image.Pixel(4, 0), RGB(255, 0, 255));
}

// 5-6-5 and the default 5-5-5: a 5-bit 16 is 131.6, a 6-bit 33 is 133.6.
TEST(BmpDecode, SixteenBitChannelsScaleByRounding) {
  const THandMadeBmp bitFields{.width = 1,
                               .height = 1,
                               .bitCount = 16,
                               .compression = kBitFields,
                               .masks = {0xF800, 0x07E0, 0x001F},
                               .pixels = {0x30, 0x84, 0, 0}};  // 16, 33, 16
  EXPECT_EQ(ReadBytes(bitFields.Bytes()).Pixel(0, 0), RGB(132, 134, 132));
  const THandMadeBmp plain{
      .width = 1, .height = 1, .bitCount = 16, .pixels = {0x1F, 0x7C, 0, 0}};  // 31, 0, 31
  EXPECT_EQ(ReadBytes(plain.Bytes()).Pixel(0, 0), RGB(255, 0, 255));
}

// Rows of a negative height start at the top.
TEST(BmpDecode, TopDownRows) {
  const THandMadeBmp file{
      .width = 1, .height = -2, .bitCount = 24, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}};
  const TImage image = ReadBytes(file.Bytes());
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(image.Pixel(0, 0), RGB(3, 2, 1));
  EXPECT_EQ(image.Pixel(0, 1), RGB(6, 5, 4));
}

}  // namespace
}  // namespace tvlc
