// Malformed and lying files of every format beside BMP: always a
// TImageFileError that says what is wrong, never a crash, a read past the
// data or an allocation the file cannot back.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/FormatsTestSupport.h"

namespace tvlc {
namespace {

using namespace formatstest;

std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t length) {
  return {bytes.begin(), bytes.begin() + ptrdiff_t(length)};
}

std::string RefusalOf(const std::vector<uint8_t>& bytes) {
  try {
    Decode(bytes);
  } catch (const TImageFileError& e) {
    return e.what();
  }
  return "accepted";
}

void PutBig32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.at(at + size_t(i)) = uint8_t(v >> (24 - 8 * i));
}

struct TCutCase {
  const char* file;
  size_t keptTail;  // bytes at the end whose loss a reader cannot notice
};

class Truncated : public testing::TestWithParam<TCutCase> {};

TEST_P(Truncated, IsRefusedAtAnyLength) {
  const std::vector<uint8_t> whole = Bytes(FormatFile(GetParam().file));
  ASSERT_NO_THROW(Decode(whole));
  const size_t end = whole.size() - GetParam().keptTail;
  for (size_t length = 0; length < end; length += length < 64 ? 1 : 37) {
    SCOPED_TRACE(length);
    EXPECT_THROW(Decode(Cut(whole, length)), TImageFileError);
  }
  EXPECT_THROW(Decode(Cut(whole, end - 1)), TImageFileError);
}

// Plain netpbm text may lose the last digits of its last sample unnoticed,
// and a TIFF file the link to a next image, which is never read.
INSTANTIATE_TEST_SUITE_P(
    Corpus, Truncated,
    testing::Values(TCutCase{"camera.png", 0}, TCutCase{"camera_16.png", 0},
                    TCutCase{"camera_interlaced.png", 0}, TCutCase{"camera_palette.png", 0},
                    TCutCase{"camera.jpg", 0}, TCutCase{"coffee_progressive.jpg", 0},
                    TCutCase{"camera.tif", 4}, TCutCase{"camera_lzw.tif", 4},
                    TCutCase{"camera_16_lzw.tif", 4}, TCutCase{"labels_16.tif", 4},
                    TCutCase{"camera_tiled_lzw.tif", 4}, TCutCase{"coffee_16_tiled.tif", 4},
                    TCutCase{"camera.pgm", 0}, TCutCase{"camera_16.pgm", 0},
                    TCutCase{"camera.ppm", 0}, TCutCase{"camera_plain.pgm", 4},
                    TCutCase{"camera_plain.ppm", 6}),
    [](const testing::TestParamInfo<TCutCase>& info) {
      std::string name = info.param.file;
      std::replace(name.begin(), name.end(), '.', '_');
      return name;
    });

TEST(LyingPng, HugeDimensionsWithoutTheDataAreRefusedBeforeDecoding) {
  std::vector<uint8_t> bytes = Bytes(FormatFile("camera.png"));
  PutBig32(bytes, 16, 60000);  // width in the header chunk
  PutBig32(bytes, 20, 4000);   // height
  EXPECT_EQ(RefusalOf(bytes), "PNG image data is too short for its dimensions");
  PutBig32(bytes, 16, 70000);
  EXPECT_EQ(RefusalOf(bytes), "PNG image size 70000 x 4000 not supported");
}

TEST(LyingPng, DamagedDataIsRefused) {
  std::vector<uint8_t> bytes = Bytes(FormatFile("camera.png"));
  PutBig32(bytes, 16, 65);  // width changed, header checksum now wrong
  EXPECT_NE(RefusalOf(bytes).find("PNG: "), std::string::npos) << RefusalOf(bytes);
  bytes = Bytes(FormatFile("camera.png"));
  bytes[bytes.size() / 2] ^= 0x55;  // inside the compressed data
  EXPECT_NE(RefusalOf(bytes).find("PNG: "), std::string::npos) << RefusalOf(bytes);
}

// Offset of the frame header's height in a JPEG file.
size_t FrameHeightAt(const std::vector<uint8_t>& bytes) {
  for (size_t i = 2; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) return i + 5;
  return 0;
}

TEST(LyingJpeg, HugeDimensionsAreRefusedBeforeDecoding) {
  std::vector<uint8_t> bytes = Bytes(FormatFile("coffee.jpg"));
  const size_t at = FrameHeightAt(bytes);
  ASSERT_GT(at, 0u);
  for (size_t i : {at, at + 2}) {  // 16000 rows of 16000 pixels
    bytes[i] = 0x3E;
    bytes[i + 1] = 0x80;
  }
  EXPECT_EQ(RefusalOf(bytes), "JPEG data is too short for its dimensions");
}

TEST(LyingJpeg, MoreRowsThanTheDataHoldIsRefused) {
  std::vector<uint8_t> bytes = Bytes(FormatFile("coffee_progressive.jpg"));
  const size_t at = FrameHeightAt(bytes);
  ASSERT_GT(at, 0u);
  bytes[at + 1] = 200;  // 200 rows instead of 48
  EXPECT_NE(RefusalOf(bytes).find("JPEG: "), std::string::npos) << RefusalOf(bytes);
}

TEST(LyingJpeg, MissingDataIsRefusedNotPatched) {
  // The library's decoder would fill in grey and go on with a warning.
  const std::vector<uint8_t> bytes = Bytes(FormatFile("camera.jpg"));
  EXPECT_EQ(RefusalOf(Cut(bytes, bytes.size() - 2)), "JPEG: Premature end of JPEG file");
  EXPECT_EQ(RefusalOf(Cut(bytes, bytes.size() - 200)), "JPEG: Premature end of JPEG file");
}

// Offset of the value of a tag in the first directory of a little-endian TIFF.
size_t TiffTagValueAt(const std::vector<uint8_t>& bytes, uint16_t tag) {
  auto u16 = [&](size_t at) { return uint16_t(bytes.at(at) | bytes.at(at + 1) << 8); };
  const size_t directory = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | size_t(bytes[7]) << 24;
  for (size_t i = 0; i < u16(directory); ++i)
    if (u16(directory + 2 + 12 * i) == tag) return directory + 2 + 12 * i + 8;
  return 0;
}

void PutLittle32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.at(at + size_t(i)) = uint8_t(v >> (8 * i));
}

TEST(LyingTiff, StripsBeyondTheFileAndDimensionsBeyondTheStripsAreRefused) {
  const std::vector<uint8_t> good = Bytes(FormatFile("camera_lzw.tif"));
  std::vector<uint8_t> bytes = good;
  const size_t width = TiffTagValueAt(bytes, 256), height = TiffTagValueAt(bytes, 257);
  ASSERT_GT(width * height, 0u);
  PutLittle32(bytes, width, 60000);
  PutLittle32(bytes, height, 4000);
  EXPECT_EQ(RefusalOf(bytes), "TIFF image data is too short for its dimensions");

  bytes = Bytes(FormatFile("camera.tif"));
  const size_t offsets = TiffTagValueAt(bytes, 273);
  ASSERT_GT(offsets, 0u);
  PutLittle32(bytes, offsets, uint32_t(bytes.size()));  // the (single) strip past the end
  EXPECT_EQ(RefusalOf(bytes), "TIFF strip lies beyond the end of the file");
}

TEST(LyingNetpbm, EveryHeaderLieIsRefused) {
  auto refusal = [](const std::string& text) {
    return RefusalOf(std::vector<uint8_t>(text.begin(), text.end()));
  };
  EXPECT_EQ(refusal("P5 60000 4000 255\n\x01\x02"), "Netpbm file is truncated");
  EXPECT_EQ(refusal("P2 60000 4000 255\n1 2 3"), "Netpbm file is truncated");
  EXPECT_EQ(refusal("P5 2 1 0\n\x01\x02"), "Netpbm maximum value 0 out of range (1 to 65535)");
  EXPECT_EQ(refusal("P5 2 1 65536\n\x01\x02"),
            "Netpbm maximum value 65536 out of range (1 to 65535)");
  EXPECT_EQ(refusal("P5 2 1 15\n\x01\x10"), "Netpbm sample above the maximum value");
  EXPECT_EQ(refusal("P2 2 1 15\n1 16\n"), "Netpbm sample above the maximum value");
  EXPECT_EQ(refusal("P2 2 1 15\n1 x\n"), "Netpbm sample is not a number");
  EXPECT_EQ(refusal("P5 0 1 255\n"), "Netpbm image size 0 x 1 not supported");
  EXPECT_EQ(refusal("P5 2x 1 255\n"), "Netpbm width is not a number");
  EXPECT_EQ(refusal("P5 99999999999 1 255\n"), "Netpbm width out of range");
  // Comments may sit anywhere in the header.
  EXPECT_EQ(refusal("P2 # size\n2 1\n# most\n15\n1 15\n"), "accepted");
}

}  // namespace
}  // namespace tvlc
