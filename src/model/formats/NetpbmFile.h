// Netpbm grey maps and pixmaps: P2 and P5 (grey), P3 and P6 (colour), plain
// text or binary, with a maximum value up to 65535.
#pragma once

#include <iosfwd>

#include "model/formats/DecodedImage.h"

namespace tvlc {

// Reads the first image of the file at the stream's position. A maximum
// value of 255 gives 8-bit levels, any other wide samples.
TDecodedImage ReadNetpbm(std::istream& in);
TImageSize ProbeNetpbm(std::istream& in);

}  // namespace tvlc
