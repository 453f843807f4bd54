#include "model/Shape.h"

#include <algorithm>
#include <cmath>

namespace tvlc {

const char* const kNormKindNames[5] = {"None", "Orthogonal", "Orthonormal", "8*Orthogonal",
                                        "64*Orthogonal"};

int RoundUpPow2(int extentMinusOne) {
  unsigned d = unsigned(extentMinusOne) & 0xFFFFu;
  int result = 1;
  while (d) {
    result <<= 1;
    d >>= 1;
  }
  return result;
}

std::string HexLabel(uint32_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  bool leading = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned byte = (value >> shift) & 0xFF;
    if (leading && byte == 0) continue;
    leading = false;
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

TShape::TShape(uint32_t id, TPicData picData, int32_t picWidth, TMapData mapData,
               int32_t mapWidth, int32_t x, int32_t y)
    : PicData(std::move(picData)), MapData(std::move(mapData)), PicWidth(picWidth),
      MapWidth(mapWidth), ID(id), Left(x), Right(x), Top(y), Bottom(y) {}

bool TShape::AddPoint(int32_t label, int32_t x, int32_t y) {
  if (!MapData || uint32_t(label) != ID) return false;
  Left = std::min(Left, x);
  Right = std::max(Right, x);
  Top = std::min(Top, y);
  Bottom = std::max(Bottom, y);
  ++PointCount;
  return true;
}

bool TShape::Contains(int32_t x, int32_t y) const {
  if (!MapData) return false;
  if (x < Left || x > Right || y < Top || y > Bottom) return false;
  if (x < 0 || y < 0 || x >= MapWidth) return false;
  const int64_t p = int64_t(x) + int64_t(y) * MapWidth;
  if (p >= int64_t(MapData->size())) return false;
  return uint32_t((*MapData)[size_t(p)]) == ID;
}

double TShape::RoundingSlack() const {
  const int64_t n = int64_t(RoundedWidth()) * RoundedHeight();
  return double((n - int64_t(BoxWidth()) * BoxHeight()) * 100) / double(n);
}

double TShape::TotalSlack() const {
  const int64_t n = int64_t(RoundedWidth()) * RoundedHeight();
  return double((n - PointCount) * 100) / double(n);
}

void TShape::DrawBounds(TImage& picOverlay, TImage& mapOverlay) const {
  constexpr TColor kBoxColor = RGB(0, 128, 0);
  constexpr TColor kOutlineColor = RGB(0, 0, 255);
  constexpr TColor kWindowColor = RGB(255, 0, 0);

  mapOverlay.FrameRect(Left, Top, Right, Bottom, kBoxColor);
  picOverlay.FrameRect(Left, Top, Right, Bottom, kBoxColor);

  for (int y = Top; y <= Bottom; ++y)
    for (int x = Left; x <= Right; ++x) {
      if (!Contains(x, y)) continue;
      const bool edge = !Contains(x - 1, y - 1) || !Contains(x - 1, y) || !Contains(x - 1, y + 1) ||
                        !Contains(x, y - 1) || !Contains(x, y + 1) || !Contains(x + 1, y - 1) ||
                        !Contains(x + 1, y) || !Contains(x + 1, y + 1);
      if (edge) {
        mapOverlay.SetPixel(x, y, kOutlineColor);
        picOverlay.SetPixel(x, y, kOutlineColor);
      }
    }

  const int windowRight = Left + RoundedWidth() - 1;
  const int windowBottom = Top + RoundedHeight() - 1;
  mapOverlay.FrameRect(Left, Top, windowRight, windowBottom, kWindowColor);
  picOverlay.FrameRect(Left, Top, windowRight, windowBottom, kWindowColor);
}

void TShape::SetQuality(uint8_t quality) {
  if (quality > 100 || quality == Quality) return;
  Quality = quality;
  if (quality == 0) return;
  if (quality <= 50)
    QuantScale = 50.0 / quality;
  else if (quality <= 99)
    QuantScale = 2.0 - quality / 50.0;
  else
    QuantScale = 1.0;
}

void TShape::SetNormKind(uint8_t kind) {
  const double root = std::sqrt(double(int64_t(RoundedWidth()) * RoundedHeight()));
  switch (kind) {
    case 0: NormFactor = root; break;
    case 1: NormFactor = 1.0 / root; break;
    case 3: NormFactor = 8.0 / root; break;
    case 4: NormFactor = 64.0 / root; break;
    default: kind = 2; NormFactor = 1.0; break;
  }
  NormKind = kind;
}

}  // namespace tvlc
