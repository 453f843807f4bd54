// The headers in front of a bitmap's pixel data: file header, info header in
// any of its generations, and the colour masks.
#pragma once

#include <cstdint>
#include <iosfwd>

namespace tvlc {

// Largest image the reader and writer accept. It keeps a header that lies
// about the size from asking for gigabytes of pixels.
constexpr int64_t kMaxBmpSide = 65535;
constexpr int64_t kMaxBmpPixels = int64_t(1) << 28;
bool BmpSizeSupported(int64_t width, int64_t height);

// Bytes of one stored row, padded to four bytes.
uint64_t BmpRowStride(uint32_t width, int bitCount);

enum class TBmpCompression { None, Rle8, Rle4, BitFields };

struct TBmpChannelMasks {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
};

struct TBmpHeader {
  int width = 0;
  int height = 0;        // always positive
  bool topDown = false;  // first stored row is the top one
  int bitCount = 0;      // 1, 2, 4, 8, 16, 24 or 32
  TBmpCompression compression = TBmpCompression::None;
  uint32_t imageSize = 0;    // length of the pixel data; 0 when not stated
  uint32_t pixelOffset = 0;  // from the first byte of the file header
  TBmpChannelMasks masks;    // 16 and 32 bits only
  // Colour table stored between the headers and the pixel data; it may hold
  // more entries than the bit depth can address.
  uint32_t paletteEntries = 0;
  int paletteEntrySize = 4;  // 3 for OS/2 core headers
  uint32_t headersSize = 0;  // bytes up to the colour table

  // Row of the image, counted from the top, that stored row `storedRow` is.
  int ImageRow(int storedRow) const { return topDown ? storedRow : height - 1 - storedRow; }
};

// Reads the headers at the stream's position and leaves the stream on the
// first byte of the colour table. Throws TBmpError for headers the reader
// cannot honour.
TBmpHeader ReadBmpHeaders(std::istream& in);

}  // namespace tvlc
