#include <algorithm>
#include <fstream>
#include <istream>

#include "model/Bmp.h"
#include "model/BmpBytes.h"
#include "model/BmpHeader.h"
#include "model/BmpPixels.h"
#include "model/BmpRle.h"

namespace tvlc {

namespace {

// Reads the colour entries a pixel can address and passes over the rest of
// the table and any gap up to the pixel data.
std::vector<TColor> ReadColourTable(std::istream& in, const TBmpHeader& h) {
  const uint32_t addressable = h.bitCount <= 8 ? uint32_t(1) << h.bitCount : 0;
  const uint32_t kept = std::min(h.paletteEntries, addressable);
  const uint32_t entrySize = uint32_t(h.paletteEntrySize);
  const std::vector<uint8_t> table = ReadExactly(in, uint64_t(kept) * entrySize);
  std::vector<TColor> palette;
  for (uint32_t i = 0; i < kept; ++i) {
    const uint8_t* entry = table.data() + i * entrySize;
    palette.push_back(RGB(entry[2], entry[1], entry[0]));
  }
  SkipExactly(in, h.pixelOffset - h.headersSize - uint64_t(kept) * entrySize);
  return palette;
}

// Uncompressed rows; a stated image size beyond them is passed over.
std::vector<uint8_t> ReadRows(std::istream& in, const TBmpHeader& h) {
  const uint64_t needed = BmpRowStride(uint32_t(h.width), h.bitCount) * uint64_t(h.height);
  if (h.imageSize != 0 && h.imageSize < needed)
    throw TBmpError("Bitmap image size is too small for its dimensions");
  std::vector<uint8_t> rows = ReadExactly(in, needed);
  SkipExactly(in, h.imageSize != 0 ? h.imageSize - needed : 0);
  return rows;
}

// Rows are turned top first in place: an RLE image may be large.
void PutTopRowFirst(const TBmpHeader& h, std::vector<uint8_t>& storedIndices) {
  if (h.topDown) return;
  const size_t width = size_t(h.width);
  for (size_t top = 0, bottom = size_t(h.height) - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(storedIndices.begin() + ptrdiff_t(top * width),
                     storedIndices.begin() + ptrdiff_t((top + 1) * width),
                     storedIndices.begin() + ptrdiff_t(bottom * width));
}

// Entries missing from a short colour table are black.
TImage IndexedImage(const TBmpHeader& h, std::vector<TColor> palette,
                    std::vector<uint8_t> storedIndices) {
  const uint8_t highest = *std::max_element(storedIndices.begin(), storedIndices.end());
  if (palette.size() <= highest) palette.resize(size_t(highest) + 1, kBlack);
  PutTopRowFirst(h, storedIndices);
  return TImage(h.width, h.height, std::move(palette), std::move(storedIndices));
}

}  // namespace

TImage ReadBmp(std::istream& in) {
  const TBmpHeader header = ReadBmpHeaders(in);
  std::vector<TColor> palette = ReadColourTable(in, header);
  if (header.compression == TBmpCompression::Rle4 || header.compression == TBmpCompression::Rle8)
    return IndexedImage(header, std::move(palette), DecodeBmpRle(in, header));
  const std::vector<uint8_t> rows = ReadRows(in, header);
  if (header.bitCount <= 8)
    return IndexedImage(header, std::move(palette), UnpackIndexedRows(rows, header));
  return UnpackColourRows(rows, header);
}

TImage ReadBmpFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw TBmpError("Cannot open bitmap file " + path);
  return ReadBmp(file);
}

}  // namespace tvlc
