#include "appcore/Comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "appcore/MainCore.h"
#include "model/Shape.h"

namespace tvlc {

namespace {

int InputAt(const TMainCore& core, int x, int y) {
  return (*core.PicData)[size_t(y) * size_t(core.PicWidth) + size_t(x)];
}

bool InPicture(const TMainCore& core, int x, int y) {
  return core.PicData && x >= 0 && y >= 0 && x < core.PicWidth && y < core.PicHeight;
}

bool InMap(const TMainCore& core, int x, int y) {
  return core.MapData && x >= 0 && y >= 0 && x < core.MapWidth && y < core.MapHeight;
}

int32_t LabelAt(const TMainCore& core, int x, int y) {
  return (*core.MapData)[size_t(y) * size_t(core.MapWidth) + size_t(x)];
}

bool Decoded(const TMainCore& core, int x, int y) {
  const size_t k = size_t(y) * size_t(core.Reconst.Width()) + size_t(x);
  return core.Reconst.Inside(x, y) && k < core.DecodedMask.size() && core.DecodedMask[k] != 0;
}

}  // namespace

TDifference DecodedMinusInput(const TMainCore& core) {
  TDifference d;
  d.Width = core.Reconst.Width();
  d.Height = core.Reconst.Height();
  d.Values.assign(size_t(d.Width) * d.Height, 0);
  d.Known.assign(d.Values.size(), 0);
  int largest = 0;
  for (int y = 0; y < d.Height; ++y)
    for (int x = 0; x < d.Width; ++x) {
      if (!Decoded(core, x, y) || !InPicture(core, x, y)) continue;
      const int value = int(RedOf(core.Reconst.Pixel(x, y))) - InputAt(core, x, y);
      const size_t k = size_t(y) * d.Width + x;
      d.Values[k] = int16_t(value);
      d.Known[k] = 1;
      largest = std::max(largest, std::abs(value));
    }
  d.Scale = std::max(largest, 1);
  return d;
}

TImage DifferenceImage(const TDifference& difference) {
  TImage image(difference.Width, difference.Height, kNotDecoded);
  for (int y = 0; y < difference.Height; ++y)
    for (int x = 0; x < difference.Width; ++x) {
      if (!difference.Has(x, y)) continue;
      const double grey = 128.0 + 127.0 * difference.At(x, y) / difference.Scale;
      image.SetPixel(x, y, Grey(uint8_t(std::lround(grey))));
    }
  return image;
}

TImage MapOverInput(const TMainCore& core) {
  TImage image = core.Picture;
  image.SetRgb24();
  if (!core.MapData) return image;
  const int w = std::min(core.MapWidth, image.Width());
  const int h = std::min(core.MapHeight, image.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int32_t label = LabelAt(core, x, y);
      const bool edge = (x + 1 < core.MapWidth && LabelAt(core, x + 1, y) != label) ||
                        (y + 1 < core.MapHeight && LabelAt(core, x, y + 1) != label);
      if (edge) image.SetPixel(x, y, kOutline);
    }
  return image;
}

TComparison RenderComparison(const TMainCore& core, TCompareKind kind) {
  switch (kind) {
    case TCompareKind::Input:
      return {core.Picture, 0};
    case TCompareKind::Decoded:
      return {core.Reconst, 0};
    case TCompareKind::Difference: {
      const TDifference difference = DecodedMinusInput(core);
      return {DifferenceImage(difference), difference.Scale};
    }
    case TCompareKind::MapOverInput:
      return {MapOverInput(core), 0};
  }
  return {};
}

std::string DescribePixel(const TMainCore& core, int x, int y) {
  const bool inPicture = InPicture(core, x, y);
  const bool inMap = InMap(core, x, y);
  if (!inPicture && !inMap) return "";
  std::string text = "x " + std::to_string(x) + ", y " + std::to_string(y) + ":";
  const char* separator = " ";
  auto part = [&](const std::string& item) {
    text += separator + item;
    separator = ", ";
  };
  if (inPicture) part("input " + std::to_string(InputAt(core, x, y)));
  if (Decoded(core, x, y)) {
    const int decoded = RedOf(core.Reconst.Pixel(x, y));
    part("decoded " + std::to_string(decoded));
    if (inPicture) part("difference " + std::to_string(decoded - InputAt(core, x, y)));
  }
  if (inMap) {
    part("label " + HexLabel(uint32_t(LabelAt(core, x, y))));
  }
  return text;
}

}  // namespace tvlc
