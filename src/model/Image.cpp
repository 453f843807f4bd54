#include "model/Image.h"

#include <algorithm>
#include <stdexcept>

namespace tvlc {

TImage::TImage(int width, int height, TColor fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(size_t(width_) * height_, fill & kWhite) {}

TImage::TImage(int width, int height, std::vector<TColor> palette, std::vector<uint8_t> indices)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), format_(TPixelFormat::Indexed8),
      palette_(std::move(palette)), indices_(std::move(indices)) {
  if (indices_.size() != size_t(width_) * height_)
    throw std::invalid_argument("index count does not match the image size");
  for (uint8_t i : indices_)
    if (i >= palette_.size()) throw std::invalid_argument("pixel index outside the colour table");
}

TColor TImage::Pixel(int x, int y) const {
  if (!Inside(x, y)) return kBlack;
  const size_t p = size_t(y) * width_ + x;
  return format_ == TPixelFormat::Rgb24 ? pixels_[p] : palette_[indices_[p]];
}

void TImage::SetPixel(int x, int y, TColor color) {
  if (!Inside(x, y)) return;
  color &= kWhite;
  const size_t p = size_t(y) * width_ + x;
  if (format_ == TPixelFormat::Indexed8) {
    auto it = std::find(palette_.begin(), palette_.end(), color);
    if (it != palette_.end()) {
      indices_[p] = uint8_t(it - palette_.begin());
      return;
    }
    SetRgb24();
  }
  pixels_[p] = color;
}

void TImage::FillRect(int left, int top, int right, int bottom, TColor color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_ - 1);
  bottom = std::min(bottom, height_ - 1);
  if (left > right || top > bottom) return;
  if (format_ == TPixelFormat::Indexed8) SetRgb24();
  for (int y = top; y <= bottom; ++y)
    std::fill_n(pixels_.begin() + (size_t(y) * width_ + left), right - left + 1, color & kWhite);
}

void TImage::FrameRect(int left, int top, int right, int bottom, TColor color) {
  for (int x = left; x <= right; ++x) {
    SetPixel(x, top, color);
    SetPixel(x, bottom, color);
  }
  for (int y = top; y <= bottom; ++y) {
    SetPixel(left, y, color);
    SetPixel(right, y, color);
  }
}

void TImage::CopyRectWith(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                          int height, bool combineAnd) {
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) {
      if (!Inside(dstX + i, dstY + j)) continue;
      TColor c = src.Pixel(srcX + i, srcY + j);
      if (combineAnd) c &= Pixel(dstX + i, dstY + j);
      SetPixel(dstX + i, dstY + j, c);
    }
}

void TImage::CopyRect(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                      int height) {
  CopyRectWith(dstX, dstY, src, srcX, srcY, width, height, false);
}

void TImage::CopyRectAnd(int dstX, int dstY, const TImage& src, int srcX, int srcY, int width,
                         int height) {
  CopyRectWith(dstX, dstY, src, srcX, srcY, width, height, true);
}

void TImage::Resize(int width, int height) { *this = TImage(width, height); }

void TImage::SetRgb24() {
  if (format_ == TPixelFormat::Rgb24) return;
  std::vector<TColor> pixels(indices_.size());
  for (size_t p = 0; p < indices_.size(); ++p) pixels[p] = palette_[indices_[p]];
  pixels_ = std::move(pixels);
  palette_.clear();
  indices_.clear();
  format_ = TPixelFormat::Rgb24;
}

bool TImage::operator==(const TImage& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
  return true;
}

}  // namespace tvlc
