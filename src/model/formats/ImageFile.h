// Picture and map files of every supported format, told apart by their first
// bytes (never by the name), and the writing of exported images.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/formats/DecodedImage.h"

namespace tvlc {

enum class TImageFormat { Unknown, Bmp, Png, Jpeg, Tiff, Netpbm };

// The format whose signature the first bytes carry.
TImageFormat DetectImageFormat(const uint8_t* head, size_t count);

// Decodes a whole file; throws TImageFileError (or TBmpError) with the
// reason when it cannot.
TDecodedImage ReadImageFile(const std::string& path);
TDecodedImage ReadImage(std::istream& in);
// Width and height from the header alone: reads a few bytes (a TIFF
// directory at most), allocates no pixel memory.
TImageSize ProbeImageFile(const std::string& path);
TImageSize ProbeImage(std::istream& in);

// True when the name ends in ".png" (any case): such files are written as
// PNG, all others as bitmaps.
bool WantsPng(const std::string& path);
// The complete file image of an export into a stream: PNG or bitmap.
void WriteImage(std::ostream& out, const TImage& image, bool png);
// Writes an export to a file; throws std::runtime_error when it cannot.
void WriteImageFile(const std::string& path, const TImage& image);

}  // namespace tvlc
