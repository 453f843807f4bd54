// Little-endian fields and exact-length stream access for bitmap files.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace tvlc {

inline constexpr char kBmpTruncated[] = "Bitmap file is truncated";

inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t LoadI32(const uint8_t* p) { return int32_t(LoadU32(p)); }

void AppendU16(std::vector<uint8_t>& out, uint16_t value);
void AppendU32(std::vector<uint8_t>& out, uint32_t value);

// Reads exactly `count` bytes or throws TBmpError. The buffer grows only as
// the stream delivers, so a header that lies about the length cannot make
// the reader reserve memory the stream does not back.
std::vector<uint8_t> ReadExactly(std::istream& in, uint64_t count);
// Passes over exactly `count` bytes or throws TBmpError.
void SkipExactly(std::istream& in, uint64_t count);

}  // namespace tvlc
