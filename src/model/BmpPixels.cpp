#include "model/BmpPixels.h"

#include <bit>

#include "model/BmpBytes.h"

namespace tvlc {

namespace {

// One colour channel of a 16- or 32-bit pixel, selected by a contiguous mask.
class TChannel {
 public:
  explicit TChannel(uint32_t mask)
      : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), max_(mask >> shift_) {}

  uint8_t Level(uint32_t pixel) const {
    if (max_ == 0) return 0;
    const uint64_t value = (pixel & mask_) >> shift_;
    return uint8_t((value * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_;
  int shift_;
  uint64_t max_;
};

}  // namespace

std::vector<uint8_t> UnpackIndexedRows(const std::vector<uint8_t>& data, const TBmpHeader& header) {
  const int bits = header.bitCount;
  const uint64_t stride = BmpRowStride(uint32_t(header.width), bits);
  const unsigned valueMask = (1u << bits) - 1;
  std::vector<uint8_t> indices(size_t(header.width) * size_t(header.height));
  for (size_t y = 0; y < size_t(header.height); ++y) {
    const uint8_t* row = data.data() + y * stride;
    for (size_t x = 0; x < size_t(header.width); ++x) {
      const size_t bit = x * size_t(bits);
      const unsigned shift = 8 - unsigned(bits) - unsigned(bit % 8);
      indices[y * size_t(header.width) + x] = uint8_t((row[bit / 8] >> shift) & valueMask);
    }
  }
  return indices;
}

TImage UnpackColourRows(const std::vector<uint8_t>& data, const TBmpHeader& header) {
  const uint64_t stride = BmpRowStride(uint32_t(header.width), header.bitCount);
  const size_t bytesPerPixel = size_t(header.bitCount) / 8;
  const TChannel red(header.masks.red);
  const TChannel green(header.masks.green);
  const TChannel blue(header.masks.blue);
  TImage image(header.width, header.height);
  for (int y = 0; y < header.height; ++y) {
    const uint8_t* row = data.data() + uint64_t(y) * stride;
    const int imageRow = header.ImageRow(y);
    for (int x = 0; x < header.width; ++x) {
      const uint8_t* p = row + size_t(x) * bytesPerPixel;
      TColor color = 0;
      if (header.bitCount == 24) {
        color = RGB(p[2], p[1], p[0]);
      } else {
        const uint32_t pixel = header.bitCount == 16 ? LoadU16(p) : LoadU32(p);
        color = RGB(red.Level(pixel), green.Level(pixel), blue.Level(pixel));
      }
      image.SetPixel(x, imageRow, color);
    }
  }
  return image;
}

}  // namespace tvlc
