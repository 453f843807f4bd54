#include "model/PictureArrays.h"

namespace tvlc {

std::shared_ptr<std::vector<uint8_t>> RedLevels(const TImage& image) {
  auto levels = std::make_shared<std::vector<uint8_t>>(size_t(image.Width()) * image.Height());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      (*levels)[size_t(y) * image.Width() + x] = RedOf(image.Pixel(x, y));
  return levels;
}

bool IsGrey(const TImage& image) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      if (GreenOf(c) != RedOf(c) || BlueOf(c) != RedOf(c)) return false;
    }
  return true;
}

std::shared_ptr<std::vector<int32_t>> ColorLabels(const TImage& image) {
  auto labels = std::make_shared<std::vector<int32_t>>(size_t(image.Width()) * image.Height());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      (*labels)[size_t(y) * image.Width() + x] = int32_t(image.Pixel(x, y));
  return labels;
}

}  // namespace tvlc
