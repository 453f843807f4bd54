// One shape: every map pixel of one label, with its geometry and coding state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "model/Image.h"
#include "tvlc/module.h"

namespace tvlc {

// Largest width or height of a shape: the rounded window must fit 16 bits.
constexpr int kMaxShapeExtent = 16384;

// Smallest power of two not below D + 1, for D = extent - 1 taken as a
// 16-bit value: 0 gives 1, 4 gives 8, 8 gives 16.
int RoundUpPow2(int extentMinusOne);

// Upper-case hexadecimal text of a label, two digits a byte, leading zero
// bytes left out: 8421504 gives "808080", 1 gives "01", 0 gives "".
std::string HexLabel(uint32_t value);

// The engine's progress notification: iteration count, accumulated spectrum,
// PSNR in dB, residual, column U and row V of the coefficient chosen last,
// and the stop flag, which the handler may set.
//
// An engine that keeps the residual implicit (the fast DCT II engine on
// large windows) works it out for a notification only when the handler says
// it reads it; other handlers may get an empty array in its place.
struct TProgressHandler
    : std::function<void(int32_t iteration, const TShapeData& spectrum, double psnr,
                         const TShapeData& residual, uint16_t u, uint16_t v, bool& stop)> {
  using function::function;
  bool ReadsResidual = false;
};

// Names of the normalization kinds 0..4.
extern const char* const kNormKindNames[5];

class TShape {
 public:
  // A shape that so far consists of the single pixel (x, y).
  TShape(uint32_t id, TPicData picData, int32_t picWidth, TMapData mapData, int32_t mapWidth,
         int32_t x, int32_t y);

  TPicData PicData;
  TMapData MapData;
  int32_t PicWidth;
  int32_t MapWidth;
  uint32_t ID;
  TShapeData Spectrum;  // RoundedWidth * RoundedHeight coefficients, or empty
  TProgressHandler OnProgress;
  double PSNR = 0.0;
  int32_t Iterations = 0;
  int32_t IterationBase = 0;
  uint8_t Quality = 0;
  double QuantScale = 0.0;
  uint32_t ModuleCode = 0;
  uint32_t TransCode = 0;
  // Descriptor of the last lookup, not owned; valid only while the registry
  // generation it was found in is current (see HeldDescriptor).
  const TTransDescriptor* Descriptor = nullptr;
  uint64_t DescriptorGeneration = 0;
  int32_t ConfigSize = 0;
  std::vector<uint8_t> Config;
  double NormFactor = 1.0;
  uint8_t NormKind = 2;
  int32_t Left, Right, Top, Bottom;
  int32_t PointCount = 1;

  // Offers one map pixel; true when its label is the shape's.
  bool AddPoint(int32_t label, int32_t x, int32_t y);
  // True when (x, y) is in the box and in the map and carries the label.
  bool Contains(int32_t x, int32_t y) const;

  int BoxWidth() const { return Right - Left + 1; }
  int BoxHeight() const { return Bottom - Top + 1; }
  int RoundedWidth() const { return RoundUpPow2(Right - Left); }
  int RoundedHeight() const { return RoundUpPow2(Bottom - Top); }
  int WindowSize() const { return RoundedWidth() * RoundedHeight(); }
  bool HasSpectrum() const { return !Spectrum.empty(); }
  // Shares of the rounded window outside the box and outside the shape, in %.
  double RoundingSlack() const;
  double TotalSlack() const;

  // Box frame (green), outline pixels (blue) and rounded window frame (red)
  // on both overlays.
  void DrawBounds(TImage& picOverlay, TImage& mapOverlay) const;

  // Quantization quality: 0 off, 1..100; other values are ignored, and so is
  // the current value.
  void SetQuality(uint8_t quality);
  // Normalization kind 0..4; any other value means 2 ("Orthonormal").
  void SetNormKind(uint8_t kind);
};

// A shape with the text it is listed under.
struct TShapeItem {
  std::string Name;
  std::unique_ptr<TShape> Shape;
};
using TShapeList = std::vector<TShapeItem>;

}  // namespace tvlc
