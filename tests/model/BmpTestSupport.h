// Shared helpers of the bitmap tests: suite files, byte patching and small
// hand-made bitmap files.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "model/Bmp.h"

namespace tvlc::bmptest {

inline std::string SuiteFile(const std::string& folder, const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/bmpsuite/" + folder + "/" + name + ".bmp";
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline TImage ReadBytes(const std::vector<uint8_t>& bytes) {
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  return ReadBmp(in);
}

inline std::vector<uint8_t> WrittenBytes(const TImage& image) {
  std::ostringstream out;
  WriteBmp(out, image);
  const std::string s = out.str();
  return {s.begin(), s.end()};
}

inline void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
  bytes.at(offset) = uint8_t(value);
  bytes.at(offset + 1) = uint8_t(value >> 8);
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  PutU16(bytes, offset, uint16_t(value));
  PutU16(bytes, offset + 2, uint16_t(value >> 16));
}

inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t offset) {
  return uint32_t(bytes.at(offset)) | uint32_t(bytes.at(offset + 1)) << 8 |
         uint32_t(bytes.at(offset + 2)) << 16 | uint32_t(bytes.at(offset + 3)) << 24;
}

// Field offsets of a file with a 40-byte info header.
constexpr size_t kFileSizeAt = 2;
constexpr size_t kPixelOffsetAt = 10;
constexpr size_t kInfoSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kHeightAt = 22;
constexpr size_t kBitCountAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kImageSizeAt = 34;
constexpr size_t kColoursUsedAt = 46;
constexpr size_t kInfoEnd = 54;

// A small file with a 40-byte info header, made field by field.
struct THandMadeBmp {
  int width = 1;
  int height = 1;
  int bitCount = 8;
  uint32_t compression = 0;
  std::vector<TColor> palette{};  // stored as blue, green, red, 0
  std::vector<uint32_t> masks{};  // stored after the header, before the palette
  std::vector<uint8_t> pixels{};
  uint32_t imageSize = 0;

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> bytes(kInfoEnd, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    const uint32_t pixelOffset = uint32_t(kInfoEnd + 4 * masks.size() + 4 * palette.size());
    PutU32(bytes, kFileSizeAt, pixelOffset + uint32_t(pixels.size()));
    PutU32(bytes, kPixelOffsetAt, pixelOffset);
    PutU32(bytes, kInfoSizeAt, 40);
    PutU32(bytes, kWidthAt, uint32_t(width));
    PutU32(bytes, kHeightAt, uint32_t(height));
    PutU16(bytes, 26, 1);  // planes
    PutU16(bytes, kBitCountAt, uint16_t(bitCount));
    PutU32(bytes, kCompressionAt, compression);
    PutU32(bytes, kImageSizeAt, imageSize);
    PutU32(bytes, kColoursUsedAt, uint32_t(palette.size()));
    for (uint32_t mask : masks) {
      bytes.resize(bytes.size() + 4);
      PutU32(bytes, bytes.size() - 4, mask);
    }
    for (TColor c : palette) bytes.insert(bytes.end(), {BlueOf(c), GreenOf(c), RedOf(c), 0});
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
  }
};

}  // namespace tvlc::bmptest
