// What the comparison view shows: the input picture, the decoded picture,
// their difference, or the map's outlines over the input, and the numbers
// under the pointer. Computed from the main window's state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Image.h"

namespace tvlc {

class TMainCore;

enum class TCompareKind { Input, Decoded, Difference, MapOverInput };

// Decoded minus input over the decoded picture's extent (the map's), where a
// shape has been decoded; Scale is the largest magnitude, at least 1.
struct TDifference {
  int Width = 0, Height = 0;
  std::vector<int16_t> Values;
  std::vector<uint8_t> Known;  // nonzero where the pixel has been decoded
  int Scale = 1;

  bool Has(int x, int y) const { return Known[size_t(y) * Width + x] != 0; }
  int At(int x, int y) const { return Values[size_t(y) * Width + x]; }
};
TDifference DecodedMinusInput(const TMainCore& core);

// Colour of pixels that have not been decoded in the difference image.
constexpr TColor kNotDecoded = RGB(40, 56, 96);
// Colour of the map's outlines over the input picture.
constexpr TColor kOutline = RGB(255, 216, 0);

// The difference as grey levels: 128 for zero, 128 + 127 * d / Scale
// rounded, so that black and white stand for -Scale and +Scale.
TImage DifferenceImage(const TDifference& difference);
// The input picture with every map pixel whose label differs from its right
// or lower neighbour painted in kOutline.
TImage MapOverInput(const TMainCore& core);

struct TComparison {
  TImage Image;
  int Scale = 0;  // the difference's scale; 0 for the other kinds
};
TComparison RenderComparison(const TMainCore& core, TCompareKind kind);

// "x 12, y 40: input 123, decoded 118, difference -5, label AA04FF" with the
// parts that exist at that pixel; empty outside the picture and the map.
std::string DescribePixel(const TMainCore& core, int x, int y);

}  // namespace tvlc
