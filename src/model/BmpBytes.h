// Exact-length stream access for bitmap files.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "model/LittleEndian.h"

namespace tvlc {

inline constexpr char kBmpTruncated[] = "Bitmap file is truncated";

// Reads exactly `count` bytes or throws TBmpError. The buffer grows only as
// the stream delivers, so a header that lies about the length cannot make
// the reader reserve memory the stream does not back.
std::vector<uint8_t> ReadExactly(std::istream& in, uint64_t count);
// Passes over exactly `count` bytes or throws TBmpError.
void SkipExactly(std::istream& in, uint64_t count);

}  // namespace tvlc
