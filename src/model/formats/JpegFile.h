// JPEG files through libjpeg: baseline and progressive, grey and colour.
#pragma once

#include <iosfwd>

#include "model/formats/DecodedImage.h"

namespace tvlc {

// Reads the JPEG file at the stream's position with the library's default
// (accurate integer) decode, as its own command-line decoder does: grey files
// give grey levels, colour files red, green and blue. CMYK files are refused,
// and so is any file the library reports as corrupt or cut short.
TDecodedImage ReadJpeg(std::istream& in);
// Width and height from the frame header, passing over the segments before it.
TImageSize ProbeJpeg(std::istream& in);

}  // namespace tvlc
