// Uncompressed bitmap pixel rows.
#pragma once

#include <cstdint>
#include <vector>

#include "model/BmpHeader.h"
#include "model/Image.h"

namespace tvlc {

// `data` holds header.height rows of BmpRowStride bytes each, in stored order.

// Palette indices of a 1-, 2-, 4- or 8-bit image, rows in stored order.
std::vector<uint8_t> UnpackIndexedRows(const std::vector<uint8_t>& data, const TBmpHeader& header);

// A 24-bit image from 16-, 24- or 32-bit rows; channels narrower or wider
// than 8 bits are scaled to 0..255 with rounding.
TImage UnpackColourRows(const std::vector<uint8_t>& data, const TBmpHeader& header);

}  // namespace tvlc
