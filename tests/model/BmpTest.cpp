// Writing bitmaps, reading them back, and streams holding several images.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Bmp.h"
#include "model/BmpTestSupport.h"

namespace tvlc {
namespace {

using bmptest::FileBytes;
using bmptest::ReadBytes;
using bmptest::SuiteFile;
using bmptest::WrittenBytes;

std::vector<TColor> GreyPalette() {
  std::vector<TColor> palette;
  for (int level = 0; level < 256; ++level) palette.push_back(Grey(uint8_t(level)));
  return palette;
}

uint8_t LevelAt(int x, int y) { return uint8_t((x * 7 + y * 13) % 256); }

// An odd width, so that every row carries padding.
TImage GreyImage(int width, int height) {
  std::vector<uint8_t> indices;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indices.push_back(LevelAt(x, y));
  return TImage(width, height, GreyPalette(), indices);
}

TImage ColourImage(int width, int height) {
  TImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.SetPixel(x, y, RGB(uint8_t(x * 19), uint8_t(y * 37), uint8_t(x * y * 11)));
  return image;
}

TEST(Bmp, GreyIndexedImageReadsBackAsGreyLevels) {
  const TImage read = ReadBytes(WrittenBytes(GreyImage(37, 5)));
  ASSERT_EQ(read.Format(), TPixelFormat::Indexed8);
  ASSERT_EQ(read.Width(), 37);
  ASSERT_EQ(read.Height(), 5);
  EXPECT_EQ(read.Palette(), GreyPalette());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) {
      const TColor c = read.Pixel(x, y);
      ASSERT_EQ(RedOf(c), LevelAt(x, y)) << x << "," << y;
      ASSERT_EQ(GreenOf(c), LevelAt(x, y));
      ASSERT_EQ(BlueOf(c), LevelAt(x, y));
    }
}

TEST(Bmp, ColourImageReadsBackWithTheSameColours) {
  const TImage image = ColourImage(13, 7);
  const TImage read = ReadBytes(WrittenBytes(image));
  EXPECT_EQ(read.Format(), TPixelFormat::Rgb24);
  ASSERT_EQ(read.Width(), 13);
  ASSERT_EQ(read.Height(), 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(read.Pixel(x, y), image.Pixel(x, y)) << x << "," << y;
}

TEST(Bmp, ImagesWrittenInOneStreamReadBackOneAfterTheOther) {
  const TImage first = GreyImage(3, 2);
  const TImage second = ColourImage(5, 3);
  const std::streamoff firstLength = std::streamoff(WrittenBytes(first).size());
  const std::streamoff secondLength = std::streamoff(WrittenBytes(second).size());
  std::stringstream stream;
  WriteBmp(stream, first);
  WriteBmp(stream, second);

  EXPECT_EQ(ReadBmp(stream), first);
  EXPECT_EQ(stream.tellg(), std::streampos(firstLength));
  EXPECT_EQ(ReadBmp(stream), second);
  EXPECT_EQ(stream.tellg(), std::streampos(firstLength + secondLength));
  EXPECT_EQ(stream.peek(), std::char_traits<char>::eof());
}

// RLE, an OS/2 header, masks with a colour table, a gap before the pixels:
// each read stops on the first byte of the next file.
TEST(Bmp, SuiteFilesInOneStreamReadBackOneAfterTheOther) {
  const char* names[][2] = {{"g", "pal4rle"},
                            {"g", "pal8os2"},
                            {"g", "rgb16-565pal"},
                            {"q", "pal8offs"},
                            {"g", "pal8rle"}};
  std::string joined;
  for (const auto& [folder, name] : names) {
    const std::vector<uint8_t> bytes = FileBytes(SuiteFile(folder, name));
    joined.append(bytes.begin(), bytes.end());
  }
  std::istringstream stream(joined);
  std::streamoff end = 0;
  for (const auto& [folder, name] : names) {
    SCOPED_TRACE(name);
    end += std::streamoff(FileBytes(SuiteFile(folder, name)).size());
    EXPECT_EQ(ReadBmp(stream), ReadBmpFile(SuiteFile(folder, name)));
    EXPECT_EQ(stream.tellg(), std::streampos(end));
  }
}

TEST(Bmp, EightBitFileBytes) {
  const TImage image(3, 2, {RGB(1, 2, 3), RGB(250, 251, 252)}, {0, 1, 0, 1, 1, 0});
  const std::vector<uint8_t> expected = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // file header
      40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0,  // size, width, height, planes, bits
      0, 0, 0, 0, 8, 0, 0, 0,                           // uncompressed, image size
      0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,               // 2835 pixels per metre
      2, 0, 0, 0, 0, 0, 0, 0,                           // colours used, important
      3, 2, 1, 0, 252, 251, 250, 0,                     // colour table
      1, 1, 0, 0,                                       // bottom row, padded
      0, 1, 0, 0};                                      // top row
  EXPECT_EQ(WrittenBytes(image), expected);
}

TEST(Bmp, TwentyFourBitFileBytes) {
  TImage image(2, 2);
  image.SetPixel(0, 0, RGB(1, 2, 3));
  image.SetPixel(1, 0, RGB(4, 5, 6));
  image.SetPixel(0, 1, RGB(7, 8, 9));
  image.SetPixel(1, 1, RGB(10, 11, 12));
  const std::vector<uint8_t> expected = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,   // file header
      40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,  // size, width, height, planes, bits
      0, 0, 0, 0, 16, 0, 0, 0,                           // uncompressed, image size
      0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,                // 2835 pixels per metre
      0, 0, 0, 0, 0, 0, 0, 0,                            // no colour table
      9, 8, 7, 12, 11, 10, 0, 0,                         // bottom row, blue first, padded
      3, 2, 1, 6, 5, 4, 0, 0};                           // top row
  EXPECT_EQ(WrittenBytes(image), expected);
}

// Indices are bytes: entries past 256 can never be used and are not written.
TEST(Bmp, ColourTableIsWrittenUpTo256Entries) {
  std::vector<TColor> palette;
  for (uint32_t i = 0; i < 300; ++i) palette.push_back(RGB(uint8_t(i), uint8_t(i / 2), 7));
  const TImage read = ReadBytes(WrittenBytes(TImage(2, 1, palette, {0, 255})));
  EXPECT_EQ(read.Palette(), std::vector<TColor>(palette.begin(), palette.begin() + 256));
  EXPECT_EQ(read.Pixel(1, 0), palette[255]);
}

TEST(Bmp, EmptyImageIsNotWritten) {
  std::ostringstream out;
  EXPECT_THROW(WriteBmp(out, TImage()), std::runtime_error);
  EXPECT_TRUE(out.str().empty());
}

TEST(Bmp, FileRoundTrip) {
  const std::string path = testing::TempDir() + "tvlc_bmp_round_trip.bmp";
  const TImage image = ColourImage(6, 4);
  WriteBmpFile(path, image);
  EXPECT_EQ(ReadBmpFile(path), image);
  EXPECT_EQ(FileBytes(path), WrittenBytes(image));
  std::remove(path.c_str());
}

TEST(Bmp, FileErrors) {
  EXPECT_THROW(WriteBmpFile("/nonexistent-folder/picture.bmp", ColourImage(2, 2)),
               std::runtime_error);
  EXPECT_THROW(ReadBmpFile("/nonexistent-folder/picture.bmp"), TBmpError);
}

}  // namespace
}  // namespace tvlc
