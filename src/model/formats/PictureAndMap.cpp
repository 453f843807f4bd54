#include "model/formats/PictureAndMap.h"

namespace tvlc {

namespace {

std::string ScalingNote(uint32_t maxValue) {
  const std::string m = std::to_string(maxValue);
  return (maxValue == 65535 ? std::string("16-bit levels") : "levels of maximum " + m) +
         " scaled to 8 bits as round(v * 255 / " + m + ")";
}

// Every sample scaled to 8 bits: grey levels as an Indexed8 image, colours
// as a 24-bit one.
TImage ScaledImage(int width, int height, const TWideSamples& wide) {
  std::vector<uint8_t> levels(wide.Values.size());
  for (size_t i = 0; i < levels.size(); ++i) levels[i] = ScaleTo8(wide.Values[i], wide.MaxValue);
  return wide.Channels == 1 ? GreyImage(width, height, std::move(levels))
                            : RgbImage(width, height, levels.data());
}

// True when every pixel of colour samples has equal channels.
bool AllGrey(const TWideSamples& wide) {
  if (wide.Channels == 1) return true;
  for (size_t i = 0; i < wide.Values.size(); i += 3)
    if (wide.Values[i + 1] != wide.Values[i] || wide.Values[i + 2] != wide.Values[i]) return false;
  return true;
}

// Scaling merges two sample values exactly when one of them does not come
// back from its 8-bit level: the map v -> level -> v' is then not one to one.
bool ScalesWithoutMerging(const TWideSamples& wide) {
  for (uint16_t v : wide.Values) {
    const uint32_t level = ScaleTo8(v, wide.MaxValue);
    if (RoundedQuotient(uint64_t(level) * wide.MaxValue, 255) != v) return false;
  }
  return true;
}

// Grey labels above 8 bits: the level itself is the colour value.
TImage WideGreyLabels(int width, int height, const TWideSamples& wide) {
  TImage image(width, height);
  const size_t step = size_t(wide.Channels);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.SetPixel(x, y, wide.Values[(size_t(y) * size_t(width) + size_t(x)) * step]);
  return image;
}

}  // namespace

TLoadedImage PictureImage(TDecodedImage decoded) {
  TLoadedImage loaded{std::move(decoded.Image), std::move(decoded.Ignored)};
  if (decoded.HasWide) {
    loaded.Image = ScaledImage(decoded.Width, decoded.Height, decoded.Wide);
    loaded.Notes.push_back(ScalingNote(decoded.Wide.MaxValue));
  }
  return loaded;
}

TLoadedImage MapImage(TDecodedImage decoded) {
  if (decoded.Lossy)
    throw TImageFileError(decoded.Format + " is a lossy format: its colours are not exact labels");
  TLoadedImage loaded{std::move(decoded.Image), std::move(decoded.Ignored)};
  if (!decoded.HasWide) return loaded;
  const TWideSamples& wide = decoded.Wide;
  const bool grey = AllGrey(wide);
  if (grey && wide.MaxValue > 255) {
    loaded.Image = WideGreyLabels(decoded.Width, decoded.Height, wide);
    loaded.Notes.push_back(wide.MaxValue == 65535
                               ? "labels are the 16-bit grey levels themselves"
                               : "labels are the grey levels of maximum " +
                                     std::to_string(wide.MaxValue) + " themselves");
    return loaded;
  }
  if (!ScalesWithoutMerging(wide))
    throw TImageFileError(
        "colours of more than 8 bits a channel would merge labels when "
        "scaled to 8 bits");
  loaded.Image = ScaledImage(decoded.Width, decoded.Height, wide);
  loaded.Notes.push_back(ScalingNote(wide.MaxValue));
  return loaded;
}

TImage LumaImage(const TImage& colour) {
  std::vector<uint8_t> levels(size_t(colour.Width()) * size_t(colour.Height()));
  for (int y = 0; y < colour.Height(); ++y)
    for (int x = 0; x < colour.Width(); ++x) {
      const TColor c = colour.Pixel(x, y);
      const uint64_t weighted =
          299 * uint64_t(RedOf(c)) + 587 * uint64_t(GreenOf(c)) + 114 * uint64_t(BlueOf(c));
      levels[size_t(y) * size_t(colour.Width()) + size_t(x)] =
          uint8_t(RoundedQuotient(weighted, 1000));
    }
  return GreyImage(colour.Width(), colour.Height(), std::move(levels));
}

}  // namespace tvlc
