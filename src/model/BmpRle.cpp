#include "model/BmpRle.h"

#include <istream>

#include "model/Bmp.h"
#include "model/BmpBytes.h"

namespace tvlc {

namespace {

enum : uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

// Bytes of the pixel data, either up to the stated length or, without one,
// up to the end of the stream (which then means the data was cut short).
class TRleInput {
 public:
  TRleInput(std::istream& in, uint32_t length)
      : in_(in), remaining_(length), bounded_(length != 0) {}

  // False once the stated length is used up.
  bool Next(uint8_t& byte) {
    if (bounded_ && remaining_ == 0) return false;
    const int c = in_.get();
    if (c == std::char_traits<char>::eof()) throw TBmpError(kBmpTruncated);
    if (bounded_) --remaining_;
    byte = uint8_t(c);
    return true;
  }

  void SkipRest() { SkipExactly(in_, remaining_); }

 private:
  std::istream& in_;
  uint64_t remaining_;
  bool bounded_;
};

// Codes may run past the right edge or the last row; those pixels are lost.
// Rows are stored only as far as codes reach them: a file may declare a huge
// size and hold a few codes, and one that ends in an error costs no more than
// its codes.
class TRleCanvas {
 public:
  TRleCanvas(int width, int height) : width_(uint64_t(width)), height_(uint64_t(height)) {}

  void Put(uint8_t index) {
    if (x_ < width_ && y_ < height_) {
      const uint64_t p = y_ * width_ + x_;
      if (p >= indices_.size()) indices_.resize(size_t((y_ + 1) * width_), 0);
      indices_[size_t(p)] = index;
    }
    ++x_;
  }
  void NextLine() {
    x_ = 0;
    ++y_;
  }
  void Move(uint8_t dx, uint8_t dy) {
    x_ += dx;
    y_ += dy;
  }
  // Every pixel, those no code reached being 0.
  std::vector<uint8_t> Take() {
    const size_t size = size_t(width_ * height_);
    if (indices_.capacity() < size) {
      std::vector<uint8_t> whole;
      whole.reserve(size);
      whole.assign(indices_.begin(), indices_.end());
      indices_ = std::move(whole);
    }
    indices_.resize(size, 0);
    return std::move(indices_);
  }

 private:
  uint64_t width_;
  uint64_t height_;
  uint64_t x_ = 0;
  uint64_t y_ = 0;
  std::vector<uint8_t> indices_;
};

// The i-th pixel of a byte: the byte itself for RLE8, high nibble first for RLE4.
uint8_t PixelOf(uint8_t byte, unsigned i, bool fourBit) {
  if (!fourBit) return byte;
  return i % 2 == 0 ? uint8_t(byte >> 4) : uint8_t(byte & 0x0F);
}

// An absolute run of `count` pixels, padded to a 16-bit boundary. False when
// the data ends inside it.
bool CopyAbsolute(TRleInput& input, TRleCanvas& canvas, unsigned count, bool fourBit) {
  const unsigned pixelsPerByte = fourBit ? 2 : 1;
  const unsigned bytes = (count + pixelsPerByte - 1) / pixelsPerByte;
  unsigned left = count;
  for (unsigned b = 0; b < bytes + bytes % 2; ++b) {
    uint8_t byte = 0;
    if (!input.Next(byte)) return false;
    for (unsigned i = 0; i < pixelsPerByte && left > 0 && b < bytes; ++i, --left)
      canvas.Put(PixelOf(byte, i, fourBit));
  }
  return true;
}

}  // namespace

std::vector<uint8_t> DecodeBmpRle(std::istream& in, const TBmpHeader& header) {
  const bool fourBit = header.compression == TBmpCompression::Rle4;
  TRleInput input(in, header.imageSize);
  TRleCanvas canvas(header.width, header.height);
  // Data that ends without an end-of-bitmap code leaves the rest undefined.
  uint8_t count = 0;
  uint8_t code = 0;
  while (input.Next(count) && input.Next(code)) {
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) canvas.Put(PixelOf(code, i, fourBit));
    } else if (code == kEndOfLine) {
      canvas.NextLine();
    } else if (code == kEndOfBitmap) {
      input.SkipRest();
      break;
    } else if (code == kDelta) {
      uint8_t dx = 0;
      uint8_t dy = 0;
      if (!input.Next(dx) || !input.Next(dy)) break;
      canvas.Move(dx, dy);
    } else if (!CopyAbsolute(input, canvas, code, fourBit)) {
      break;
    }
  }
  return canvas.Take();
}

}  // namespace tvlc
