// Run-length encoded pixel data of 4- and 8-bit bitmaps.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "model/BmpHeader.h"

namespace tvlc {

// Decodes the RLE4 or RLE8 pixel data at the stream's position into palette
// indices, width x height, rows in stored order. Pixels the codes skip or
// never reach are index 0. With a stated image size exactly that many bytes
// are consumed; without one the data ends at its end-of-bitmap code.
std::vector<uint8_t> DecodeBmpRle(std::istream& in, const TBmpHeader& header);

}  // namespace tvlc
