// Windows bitmap (BMP) files and streams.
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>

#include "model/Image.h"

namespace tvlc {

// A file or stream that is not a readable bitmap. The message says why.
class TBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads one complete bitmap file image at the stream's position and leaves
// the stream on the byte after its pixel data. Indexed files of 1 to 8 bits
// (RLE4 and RLE8 included) give an Indexed8 image with their colour table,
// every other depth a 24-bit image. Throws TBmpError for anything that is not
// a bitmap it can read, before allocating pixel memory the file cannot back.
TImage ReadBmp(std::istream& in);
TImage ReadBmpFile(const std::string& path);

// Writes an uncompressed bottom-up bitmap: 8-bit with its colour table for an
// Indexed8 image, 24-bit otherwise.
void WriteBmp(std::ostream& out, const TImage& image);
// Through ReplaceFile: an image the format cannot hold is refused before
// the file is touched, and a failed write keeps the old file. Throws
// std::runtime_error.
void WriteBmpFile(const std::string& path, const TImage& image);

}  // namespace tvlc
