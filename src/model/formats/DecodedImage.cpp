#include "model/formats/DecodedImage.h"

namespace tvlc {

void CheckImageSize(const std::string& format, int64_t width, int64_t height) {
  if (!ImageSizeSupported(width, height))
    throw TImageFileError(format + " image size " + std::to_string(width) + " x " +
                          std::to_string(height) + " not supported");
}

uint64_t RoundedQuotient(uint64_t numerator, uint64_t denominator) {
  const uint64_t q = numerator / denominator, twiceRest = 2 * (numerator % denominator);
  return q + (twiceRest > denominator || (twiceRest == denominator && (q & 1)) ? 1 : 0);
}

TImage GreyImage(int width, int height, std::vector<uint8_t> levels) {
  std::vector<TColor> ramp(256);
  for (int g = 0; g < 256; ++g) ramp[size_t(g)] = Grey(uint8_t(g));
  return TImage(width, height, std::move(ramp), std::move(levels));
}

TImage RgbImage(int width, int height, const uint8_t* rgb) {
  TImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = rgb + 3 * (size_t(y) * size_t(width) + size_t(x));
      image.SetPixel(x, y, RGB(p[0], p[1], p[2]));
    }
  return image;
}

}  // namespace tvlc
