// Raster images: pictures, maps, overlays, the decoded picture and every view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tvlc {

// Colour value of a pixel: red + 256 * green + 65536 * blue.
using TColor = uint32_t;

constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t RedOf(TColor c) { return uint8_t(c); }
constexpr uint8_t GreenOf(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(TColor c) { return uint8_t(c >> 16); }
constexpr TColor Grey(uint8_t g) { return RGB(g, g, g); }

enum class TPixelFormat { Indexed8, Rgb24 };

// An image of Width x Height pixels, (0, 0) top left, either 8-bit indexed
// with a colour table or 24-bit colour. Pixels are addressed by colour value
// whatever the format. Access outside the image is ignored (reads give black).
//
// The format is what a bitmap file of the image holds; the storage does not
// follow it. Pixels are kept as byte indices into a colour list while the
// image has at most 256 colours, whatever its format, and an image of one
// colour keeps no pixels at all: overlays, the decoded picture and grey
// pictures cost at most a byte per pixel, and a cleared overlay nothing.
class TImage {
 public:
  TImage() = default;
  // A 24-bit image filled with `fill`.
  TImage(int width, int height, TColor fill = kBlack);
  // An indexed image; every index must be below the palette size.
  TImage(int width, int height, std::vector<TColor> palette, std::vector<uint8_t> indices);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TPixelFormat Format() const { return format_; }
  // Colour table and palette index of a pixel of an indexed image. Of any
  // image, the colours its indices address; empty once the image holds more
  // colours than indices reach and stores colour values instead.
  const std::vector<TColor>& Palette() const { return palette_; }
  uint8_t Index(int x, int y) const {
    return indices_.empty() ? 0 : indices_[size_t(y) * size_t(width_) + size_t(x)];
  }

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  TColor Pixel(int x, int y) const;
  // On an indexed image a colour missing from the palette turns the image
  // into a 24-bit one first.
  void SetPixel(int x, int y, TColor color);

  // Rectangles include both corners and are clipped to the image.
  void FillRect(int left, int top, int right, int bottom, TColor color);
  void Fill(TColor color) { FillRect(0, 0, width_ - 1, height_ - 1, color); }
  void FrameRect(int left, int top, int right, int bottom, TColor color);
  // Copies the width x height rectangle at (srcX, srcY) of `src` to (dstX, dstY).
  void CopyRect(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width, int height);
  // The same, storing the bitwise AND of source and destination colours.
  void CopyRectAnd(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                   int height);

  // New size; the content afterwards is not relied on (it is black).
  void Resize(int width, int height);
  void SetRgb24() {
    stamp_ = NewStamp();
    format_ = TPixelFormat::Rgb24;
  }

  // Bytes held for the pixels.
  size_t PixelBytes() const;

  bool operator==(const TImage& other) const;

 private:
  static constexpr int kNoEntry = -1;
  // A number no other content of any image has had: every change of an
  // image takes a new one, a copy of an image keeps it.
  static uint64_t NewStamp();
  size_t PixelCount() const { return size_t(width_) * size_t(height_); }
  // The colour list entry of a colour, added when missing; kNoEntry when
  // the list is full.
  int EntryOf(TColor color);
  // Stores pixel p; `entry`: EntryOf(color) while no colours are stored.
  void StoreAt(size_t p, TColor color, int entry);
  // Every pixel one colour, nothing stored.
  void MakeUniform(TColor color);
  // Indices stored for every pixel of a one-colour image.
  void StoreIndices();
  // Colour values stored for every pixel.
  void StoreColours();
  void CopyRectWith(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                    int height, bool combineAnd);

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::Rgb24;
  // The colour list the indices address (the colour table of an indexed
  // image), empty once colours are stored.
  std::vector<TColor> palette_;
  // One index per pixel; none while every pixel is entry 0.
  std::vector<uint8_t> indices_;
  // One colour per pixel, once the image holds more colours than indices reach.
  std::vector<TColor> pixels_;
  // The colour list sorted by colour, each colour with its first entry.
  std::vector<std::pair<TColor, uint8_t>> lookup_;
  uint64_t stamp_ = NewStamp();
  // The last whole-picture CopyRect: the source's stamp and this image's
  // stamp right after it; 0 when the last change was something else.
  uint64_t copiedFrom_ = 0, afterCopy_ = 0;
};

}  // namespace tvlc
