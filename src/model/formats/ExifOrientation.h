// The orientation tag of an EXIF block, which the program does not apply:
// pictures are coded as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvlc {

// The orientation value (1 to 8) of EXIF data that begins with its TIFF
// header ("II*\0" or "MM\0*"), or 0 when the data holds none.
int ExifOrientation(const uint8_t* data, size_t size);

// The note the log gets for an orientation other than 1 ("as stored"), or
// an empty text; `source` names where the value came from ("EXIF", "TIFF").
std::string OrientationNote(const std::string& source, int orientation);

}  // namespace tvlc
