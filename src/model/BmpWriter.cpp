#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <string>

#include "base/ReplaceFile.h"
#include "model/Bmp.h"
#include "model/BmpBytes.h"
#include "model/BmpHeader.h"

namespace tvlc {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr size_t kMaxPaletteEntries = 256;

std::vector<uint8_t> Headers(const TImage& image, int bitCount, uint32_t paletteEntries) {
  const uint32_t imageSize =
      uint32_t(BmpRowStride(uint32_t(image.Width()), bitCount) * uint32_t(image.Height()));
  const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * paletteEntries;
  std::vector<uint8_t> out = {'B', 'M'};
  AppendU32(out, pixelOffset + imageSize);
  AppendU32(out, 0);  // two reserved words
  AppendU32(out, pixelOffset);
  AppendU32(out, kInfoHeaderSize);
  AppendU32(out, uint32_t(image.Width()));
  AppendU32(out, uint32_t(image.Height()));  // positive: rows stored bottom-up
  AppendU16(out, 1);                         // planes
  AppendU16(out, uint16_t(bitCount));
  AppendU32(out, 0);  // uncompressed
  AppendU32(out, imageSize);
  AppendU32(out, kPixelsPerMetre);
  AppendU32(out, kPixelsPerMetre);
  AppendU32(out, paletteEntries);
  AppendU32(out, 0);  // every colour is important
  return out;
}

void AppendPalette(std::vector<uint8_t>& out, const std::vector<TColor>& palette, size_t entries) {
  for (size_t i = 0; i < entries; ++i) {
    const TColor c = palette[i];
    out.insert(out.end(), {BlueOf(c), GreenOf(c), RedOf(c), 0});
  }
}

void AppendPixel(std::vector<uint8_t>& row, const TImage& image, int x, int y) {
  if (image.Format() == TPixelFormat::Indexed8) {
    row.push_back(image.Index(x, y));
    return;
  }
  const TColor c = image.Pixel(x, y);
  row.insert(row.end(), {BlueOf(c), GreenOf(c), RedOf(c)});
}

void Put(std::ostream& out, const std::vector<uint8_t>& bytes) {
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Anything the reader would refuse is not written in the first place.
void CheckWritable(const TImage& image) {
  if (!BmpSizeSupported(image.Width(), image.Height()))
    throw std::runtime_error("Image size not supported by bitmap files (" +
                             std::to_string(image.Width()) + " x " +
                             std::to_string(image.Height()) + ")");
}

}  // namespace

void WriteBmp(std::ostream& out, const TImage& image) {
  CheckWritable(image);
  const bool indexed = image.Format() == TPixelFormat::Indexed8;
  const int bitCount = indexed ? 8 : 24;
  // Indices are bytes, so entries past 256 can never be used.
  const size_t entries = indexed ? std::min(image.Palette().size(), kMaxPaletteEntries) : 0;
  std::vector<uint8_t> head = Headers(image, bitCount, uint32_t(entries));
  AppendPalette(head, image.Palette(), entries);
  Put(out, head);

  const size_t stride = size_t(BmpRowStride(uint32_t(image.Width()), bitCount));
  std::vector<uint8_t> row;
  for (int y = image.Height() - 1; y >= 0; --y) {
    row.clear();
    for (int x = 0; x < image.Width(); ++x) AppendPixel(row, image, x, y);
    row.resize(stride, 0);
    Put(out, row);
  }
}

void WriteBmpFile(const std::string& path, const TImage& image) {
  // Refused before the file is touched.
  CheckWritable(image);
  ReplaceFile(path, [&image](std::ostream& out) { WriteBmp(out, image); });
}

}  // namespace tvlc
