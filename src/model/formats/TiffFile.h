// TIFF files through libtiff: 8 and 16-bit grey, colour and 8-bit palette
// images in strips or tiles, with any compression the library decodes.
#pragma once

#include <iosfwd>

#include "model/formats/DecodedImage.h"

namespace tvlc {

// Reads the first image of the TIFF file at the stream's position. Extra
// samples (alpha) and the orientation tag are ignored (and noted).
TDecodedImage ReadTiff(std::istream& in);
// Width and height from the first image directory.
TImageSize ProbeTiff(std::istream& in);

}  // namespace tvlc
