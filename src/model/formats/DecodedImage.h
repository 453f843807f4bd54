// What a picture file decoder hands to the loading rules: the pixels of the
// file, still in the file's depth, and notes on what the decoder passed over.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/BmpHeader.h"
#include "model/Image.h"

namespace tvlc {

// A file that is not a readable picture of a supported kind; the message
// says why.
class TImageFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Samples of a file whose levels do not run from 0 to 255: 16-bit files and
// netpbm files with another maximum value. Row-major, `Channels` samples per
// pixel (1 grey, 3 red green blue), each from 0 to MaxValue.
struct TWideSamples {
  int Channels = 1;
  uint32_t MaxValue = 65535;
  std::vector<uint16_t> Values;
};

struct TDecodedImage {
  std::string Format;  // "BMP", "PNG", ... for messages
  int Width = 0;
  int Height = 0;
  // Files of 8-bit levels arrive as an image (grey ones as Indexed8 with a
  // grey colour table, colour ones as 24-bit); all others as wide samples
  // and an empty image.
  TImage Image;
  TWideSamples Wide;
  bool HasWide = false;
  bool Lossy = false;  // JPEG: levels are approximations of the original
  // What the file holds that the program ignores (alpha, orientation), as
  // text for the log.
  std::vector<std::string> Ignored;
};

// Width and height from a file's header, before any pixel is read.
struct TImageSize {
  std::string Format;
  int Width = 0;
  int Height = 0;
};

// One size rule for every format, the one bitmaps follow: it keeps a header
// that lies about the size from asking for gigabytes of pixels.
inline constexpr int64_t kMaxImageSide = kMaxBmpSide;
inline bool ImageSizeSupported(int64_t width, int64_t height) {
  return BmpSizeSupported(width, height);
}
// Throws TImageFileError unless the size is supported.
void CheckImageSize(const std::string& format, int64_t width, int64_t height);

// round(numerator / denominator), halves to the even neighbour like every
// rounding of the program.
uint64_t RoundedQuotient(uint64_t numerator, uint64_t denominator);
// A level from 0 to maxValue as an 8-bit level: round(value * 255 / maxValue).
inline uint8_t ScaleTo8(uint32_t value, uint32_t maxValue) {
  return uint8_t(RoundedQuotient(uint64_t(value) * 255, maxValue));
}

// An Indexed8 image of grey levels, one byte per pixel.
TImage GreyImage(int width, int height, std::vector<uint8_t> levels);

// A 24-bit image of row-major red, green, blue bytes.
TImage RgbImage(int width, int height, const uint8_t* rgb);

}  // namespace tvlc
