// Little-endian fields of the binary files: bitmaps, compressed pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace tvlc {

inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t LoadI32(const uint8_t* p) { return int32_t(LoadU32(p)); }

inline void AppendU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}
inline void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
  AppendU16(out, uint16_t(value));
  AppendU16(out, uint16_t(value >> 16));
}

}  // namespace tvlc
