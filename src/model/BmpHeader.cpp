#include "model/BmpHeader.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "model/Bmp.h"
#include "model/BmpBytes.h"

namespace tvlc {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
// Longest header of the OS/2 2.x generation; it may be cut anywhere from 16
// bytes on, so every size in between that Windows does not use is OS/2.
constexpr uint32_t kOs2HeaderMaxSize = 64;
constexpr uint32_t kMaskBytesOffset = 40;

// The same compression codes mean different things to OS/2 and to Windows.
enum class THeaderKind { Core, Os2, Windows };

THeaderKind HeaderKindOf(uint32_t size) {
  if (size == kCoreHeaderSize) return THeaderKind::Core;
  if (size == 40 || size == 52 || size == 56 || size == 108 || size == 124)
    return THeaderKind::Windows;
  if (size >= 16 && size <= kOs2HeaderMaxSize) return THeaderKind::Os2;
  throw TBmpError("Unsupported bitmap header size " + std::to_string(size));
}

[[noreturn]] void ThrowUnsupportedCompression(const std::string& what) {
  throw TBmpError("Unsupported bitmap compression (" + what + ")");
}

TBmpCompression CompressionOf(uint32_t code, THeaderKind kind) {
  const bool windows = kind == THeaderKind::Windows;
  switch (code) {
    case 0:
      return TBmpCompression::None;
    case 1:
      return TBmpCompression::Rle8;
    case 2:
      return TBmpCompression::Rle4;
    case 3:
      if (!windows) ThrowUnsupportedCompression("Huffman 1D");
      return TBmpCompression::BitFields;
    case 4:
      ThrowUnsupportedCompression(windows ? "embedded JPEG" : "RLE24");
    case 5:
      ThrowUnsupportedCompression(windows ? "embedded PNG" : "code 5");
    case 6:
      if (!windows) ThrowUnsupportedCompression("code 6");
      return TBmpCompression::BitFields;  // the alpha mask is of no use here
    default:
      ThrowUnsupportedCompression("code " + std::to_string(code));
  }
}

void CheckBitCount(const TBmpHeader& h) {
  const int b = h.bitCount;
  if (b != 1 && b != 2 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
    throw TBmpError("Unsupported bitmap bit depth " + std::to_string(b));
  const bool fits = h.compression == TBmpCompression::None ||
                    (h.compression == TBmpCompression::Rle8 && b == 8) ||
                    (h.compression == TBmpCompression::Rle4 && b == 4) ||
                    (h.compression == TBmpCompression::BitFields && (b == 16 || b == 32));
  if (!fits) throw TBmpError("Bitmap compression does not match its bit depth");
}

bool MaskUsable(uint32_t mask, int bitCount) {
  if (bitCount < 32 && (uint64_t(mask) >> bitCount) != 0) return false;
  if (mask == 0) return true;
  const uint64_t bits = uint64_t(mask) >> std::countr_zero(mask);
  return (bits & (bits + 1)) == 0;  // one contiguous run of ones
}

TBmpChannelMasks DefaultMasks(int bitCount) {
  if (bitCount == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

TBmpChannelMasks LoadMasks(const uint8_t* p) {
  return {LoadU32(p), LoadU32(p + 4), LoadU32(p + 8)};
}

// Masks come after a 40-byte header and inside every longer Windows header.
// Returns the bytes read after the header.
uint32_t ReadMasks(std::istream& in, TBmpHeader& h, const std::vector<uint8_t>& info,
                   uint32_t infoSize, uint32_t compressionCode) {
  if (h.bitCount != 16 && h.bitCount != 32) return 0;
  uint32_t extraBytes = 0;
  if (h.compression != TBmpCompression::BitFields) {
    h.masks = DefaultMasks(h.bitCount);
  } else if (infoSize > kMaskBytesOffset) {
    h.masks = LoadMasks(info.data() + kMaskBytesOffset);
  } else {
    extraBytes = compressionCode == 6 ? 16 : 12;
    h.masks = LoadMasks(ReadExactly(in, extraBytes).data());
  }
  const TBmpChannelMasks& m = h.masks;
  if (!MaskUsable(m.red, h.bitCount) || !MaskUsable(m.green, h.bitCount) ||
      !MaskUsable(m.blue, h.bitCount))
    throw TBmpError("Unsupported bitmap colour masks");
  return extraBytes;
}

// A stated table length must fit before the pixel data. Without one (always
// so in OS/2 core files) the bit depth implies it, and a table cut short is
// recognised by the pixel data starting early.
void PlaceColourTable(TBmpHeader& h, uint32_t statedEntries) {
  if (h.pixelOffset < h.headersSize) throw TBmpError("Bitmap pixel offset lies inside its headers");
  const uint32_t room = (h.pixelOffset - h.headersSize) / uint32_t(h.paletteEntrySize);
  if (statedEntries > room)
    throw TBmpError("Bitmap colour table does not fit before the pixel data");
  const uint32_t implied = h.bitCount <= 8 ? uint32_t(1) << h.bitCount : 0;
  h.paletteEntries = statedEntries != 0 ? statedEntries : std::min(implied, room);
}

}  // namespace

bool BmpSizeSupported(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxBmpSide && height <= kMaxBmpSide &&
         width * height <= kMaxBmpPixels;
}

uint64_t BmpRowStride(uint32_t width, int bitCount) {
  return (uint64_t(width) * uint64_t(bitCount) + 31) / 32 * 4;
}

TBmpHeader ReadBmpHeaders(std::istream& in) {
  const std::vector<uint8_t> file = ReadExactly(in, kFileHeaderSize);
  if (file[0] != 'B' || file[1] != 'M') throw TBmpError("Not a bitmap file");
  const uint32_t infoSize = LoadU32(ReadExactly(in, 4).data());
  const THeaderKind kind = HeaderKindOf(infoSize);
  std::vector<uint8_t> info(4, 0);  // offsets below count from the size field
  const std::vector<uint8_t> rest = ReadExactly(in, infoSize - 4);
  info.insert(info.end(), rest.begin(), rest.end());
  // Fields an OS/2 header was cut before read as zero.
  info.resize(std::max<size_t>(info.size(), kMaskBytesOffset), 0);

  TBmpHeader h;
  h.pixelOffset = LoadU32(file.data() + 10);
  int64_t width = 0;
  int64_t height = 0;
  uint32_t compressionCode = 0;
  uint32_t statedEntries = 0;
  if (kind == THeaderKind::Core) {
    width = LoadU16(info.data() + 4);
    height = LoadU16(info.data() + 6);
    h.bitCount = LoadU16(info.data() + 10);
    h.paletteEntrySize = 3;
  } else {
    width = LoadI32(info.data() + 4);
    height = LoadI32(info.data() + 8);
    h.bitCount = LoadU16(info.data() + 14);
    compressionCode = LoadU32(info.data() + 16);
    h.imageSize = LoadU32(info.data() + 20);
    statedEntries = LoadU32(info.data() + 32);
  }
  h.compression = CompressionOf(compressionCode, kind);
  CheckBitCount(h);
  h.topDown = height < 0;
  if (h.topDown) height = -height;
  if (!BmpSizeSupported(width, height))
    throw TBmpError("Bitmap dimensions out of range (" + std::to_string(width) + " x " +
                    std::to_string(height) + ")");
  h.width = int(width);
  h.height = int(height);
  h.headersSize = kFileHeaderSize + infoSize + ReadMasks(in, h, info, infoSize, compressionCode);
  PlaceColourTable(h, statedEntries);
  return h;
}

}  // namespace tvlc
