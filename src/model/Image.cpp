#include "model/Image.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace tvlc {

namespace {

constexpr size_t kMaxEntries = 256;

}  // namespace

TImage::TImage(int width, int height, TColor fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  MakeUniform(fill & kWhite);
}

TImage::TImage(int width, int height, std::vector<TColor> palette, std::vector<uint8_t> indices)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), format_(TPixelFormat::Indexed8),
      palette_(std::move(palette)), indices_(std::move(indices)) {
  if (indices_.size() != PixelCount())
    throw std::invalid_argument("index count does not match the image size");
  for (uint8_t i : indices_)
    if (i >= palette_.size()) throw std::invalid_argument("pixel index outside the colour table");
  const size_t reachable = std::min(palette_.size(), kMaxEntries);
  for (size_t i = 0; i < reachable; ++i) {
    const TColor color = palette_[i] & kWhite;
    auto it = std::lower_bound(lookup_.begin(), lookup_.end(), std::make_pair(color, uint8_t(0)));
    if (it == lookup_.end() || it->first != color) lookup_.insert(it, {color, uint8_t(i)});
  }
}

TColor TImage::Pixel(int x, int y) const {
  if (!Inside(x, y)) return kBlack;
  const size_t p = size_t(y) * size_t(width_) + size_t(x);
  if (!pixels_.empty()) return pixels_[p];
  return palette_[indices_.empty() ? 0 : indices_[p]];
}

int TImage::EntryOf(TColor color) {
  auto it = std::lower_bound(lookup_.begin(), lookup_.end(), std::make_pair(color, uint8_t(0)));
  if (it != lookup_.end() && it->first == color) return it->second;
  if (palette_.size() >= kMaxEntries) return kNoEntry;
  // A colour missing from the table of an indexed image makes it 24-bit.
  format_ = TPixelFormat::Rgb24;
  const uint8_t entry = uint8_t(palette_.size());
  palette_.push_back(color);
  lookup_.insert(it, {color, entry});
  return entry;
}

void TImage::MakeUniform(TColor color) {
  palette_ = {color};
  lookup_ = {{color, uint8_t(0)}};
  indices_ = std::vector<uint8_t>();
  pixels_ = std::vector<TColor>();
}

void TImage::StoreIndices() {
  if (indices_.empty()) indices_.assign(PixelCount(), 0);
}

void TImage::StoreColours() {
  std::vector<TColor> pixels(PixelCount());
  for (size_t p = 0; p < pixels.size(); ++p) pixels[p] = palette_[indices_.empty() ? 0 : indices_[p]];
  pixels_ = std::move(pixels);
  palette_ = std::vector<TColor>();
  lookup_ = {};
  indices_ = std::vector<uint8_t>();
}

uint64_t TImage::NewStamp() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void TImage::SetPixel(int x, int y, TColor color) {
  if (!Inside(x, y)) return;
  stamp_ = NewStamp();
  color &= kWhite;
  StoreAt(size_t(y) * size_t(width_) + size_t(x), color,
          pixels_.empty() ? EntryOf(color) : kNoEntry);
}

void TImage::StoreAt(size_t p, TColor color, int entry) {
  if (pixels_.empty()) {
    if (entry != kNoEntry) {
      if (entry == 0 && indices_.empty()) return;
      StoreIndices();
      indices_[p] = uint8_t(entry);
      return;
    }
    format_ = TPixelFormat::Rgb24;
    StoreColours();
  }
  pixels_[p] = color;
}

void TImage::FillRect(int left, int top, int right, int bottom, TColor color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_ - 1);
  bottom = std::min(bottom, height_ - 1);
  if (left > right || top > bottom) return;
  stamp_ = NewStamp();
  format_ = TPixelFormat::Rgb24;
  color &= kWhite;
  if (left == 0 && top == 0 && right == width_ - 1 && bottom == height_ - 1) {
    MakeUniform(color);
    return;
  }
  const size_t width = size_t(right - left + 1);
  if (pixels_.empty()) {
    const int entry = EntryOf(color);
    if (entry != kNoEntry) {
      if (entry == 0 && indices_.empty()) return;
      StoreIndices();
      for (int y = top; y <= bottom; ++y)
        std::fill_n(indices_.begin() + ptrdiff_t(size_t(y) * width_ + left), width, entry);
      return;
    }
    StoreColours();
  }
  for (int y = top; y <= bottom; ++y)
    std::fill_n(pixels_.begin() + ptrdiff_t(size_t(y) * width_ + left), width, color);
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
  // A whole picture copied again onto an unchanged copy of the very same
  // content would store every pixel as it is (a decoded shape copies the
  // boundaries over the whole picture each time).
  const bool whole = !combineAnd && dstX == 0 && dstY == 0 && srcX == 0 && srcY == 0 &&
                     width == width_ && height == height_ && src.width_ == width_ &&
                     src.height_ == height_;
  if (whole && copiedFrom_ == src.stamp_ && stamp_ == afterCopy_) return;
  const uint64_t sourceStamp = src.stamp_;
  // Pixels as SetPixel stores them, with the colour list entry of the last
  // colour kept: overlays copy long runs of few colours.
  TColor lastColour = 0;
  int lastEntry = kNoEntry;
  bool haveLast = false;
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) {
      if (!Inside(dstX + i, dstY + j)) continue;
      const size_t p = size_t(dstY + j) * size_t(width_) + size_t(dstX + i);
      TColor c = src.Pixel(srcX + i, srcY + j);
      if (combineAnd) c &= Pixel(dstX + i, dstY + j);
      c &= kWhite;
      if (pixels_.empty() && (!haveLast || c != lastColour)) {
        lastColour = c;
        lastEntry = EntryOf(c);
        haveLast = true;
      }
      StoreAt(p, c, pixels_.empty() ? lastEntry : kNoEntry);
    }
  stamp_ = NewStamp();
  copiedFrom_ = whole ? sourceStamp : 0;
  afterCopy_ = whole ? stamp_ : 0;
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

size_t TImage::PixelBytes() const {
  return indices_.size() + pixels_.size() * sizeof(TColor);
}

bool TImage::operator==(const TImage& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
  return true;
}

}  // namespace tvlc
