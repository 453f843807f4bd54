// PNG files through libpng: every bit depth and colour type on reading,
// 8-bit grey or 24-bit colour on writing.
#pragma once

#include <iosfwd>

#include "model/formats/DecodedImage.h"

namespace tvlc {

// Reads the PNG file at the stream's position. 1, 2 and 4-bit grey levels
// are scaled to 8 bits, palette files keep their colour table, 16-bit files
// give wide samples; alpha and transparency are dropped (and noted).
TDecodedImage ReadPng(std::istream& in);
// Width and height from the header chunk.
TImageSize ProbePng(std::istream& in);

// Writes a complete PNG file image: 8-bit grey when every pixel is grey,
// 8-bit red, green, blue otherwise. Throws std::runtime_error on failure.
void WritePng(std::ostream& out, const TImage& image);

}  // namespace tvlc
