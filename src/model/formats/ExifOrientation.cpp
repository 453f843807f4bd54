#include "model/formats/ExifOrientation.h"

namespace tvlc {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntrySize = 12;

struct TExifReader {
  const uint8_t* data;
  size_t size;
  bool bigEndian;

  bool Has(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
  uint16_t U16(size_t at) const {
    return bigEndian ? uint16_t(data[at] << 8 | data[at + 1])
                     : uint16_t(data[at] | data[at + 1] << 8);
  }
  uint32_t U32(size_t at) const {
    return bigEndian ? uint32_t(U16(at)) << 16 | U16(at + 2)
                     : U16(at) | uint32_t(U16(at + 2)) << 16;
  }
};

}  // namespace

int ExifOrientation(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const bool little = data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0;
  const bool big = data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42;
  if (!little && !big) return 0;
  const TExifReader r{data, size, big};
  const size_t directory = r.U32(4);
  if (!r.Has(directory, 2)) return 0;
  const size_t entries = r.U16(directory);
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + i * kEntrySize;
    if (!r.Has(entry, kEntrySize)) return 0;
    if (r.U16(entry) != kOrientationTag || r.U16(entry + 2) != kShortType) continue;
    const int value = r.U16(entry + 8);
    return value >= 1 && value <= 8 ? value : 0;
  }
  return 0;
}

std::string OrientationNote(const std::string& source, int orientation) {
  if (orientation <= 1) return {};
  return source + " orientation " + std::to_string(orientation) +
         " ignored (pixels used as stored)";
}

}  // namespace tvlc
