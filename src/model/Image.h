// Raster images: pictures, maps, overlays, the decoded picture and every view.
#pragma once

#include <cstddef>
#include <cstdint>
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
  const std::vector<TColor>& Palette() const { return palette_; }
  // Palette index of a pixel of an indexed image.
  uint8_t Index(int x, int y) const { return indices_[size_t(y) * width_ + x]; }

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
  void SetRgb24();

  bool operator==(const TImage& other) const;

 private:
  void CopyRectWith(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                    int height, bool combineAnd);

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::Rgb24;
  std::vector<TColor> palette_;   // Indexed8 only
  std::vector<uint8_t> indices_;  // Indexed8 only
  std::vector<TColor> pixels_;    // Rgb24 only
};

}  // namespace tvlc
