#include "files/SpectrumFiles.h"

#include <algorithm>
#include <cmath>

#include "base/NumberText.h"
#include "base/ReplaceFile.h"
#include "model/Bmp.h"

namespace tvlc {

namespace {

constexpr double kDecadesShown = 6.0;
constexpr size_t kNumberWidth = 23;
constexpr int kMantissaDecimals = 14;
constexpr size_t kExponentDigits = 4;

}  // namespace

std::string SpectrumNumberText(double value) {
  const char sign = std::signbit(value) && value != 0.0 ? '-' : ' ';
  std::string text(1, sign);
  if (!std::isfinite(value)) {
    text += std::isnan(value) ? "NAN" : "INF";
    text.resize(kNumberWidth, ' ');
    return text;
  }
  // "d.dddddddddddddde+xx" becomes "d.ddddddddddddddE+00xx".
  const std::string digits = ScientificText(std::fabs(value), kMantissaDecimals);
  const size_t e = digits.find('e');
  text.append(digits, 0, e);
  text += 'E';
  text += digits[e + 1];
  const std::string exponent = digits.substr(e + 2);
  text.append(kExponentDigits - std::min(kExponentDigits, exponent.size()), '0');
  text += exponent;
  return text;
}

std::string SpectrumText(const TShapeData& spectrum, int width, int height) {
  std::string text;
  text.reserve(size_t(width) * height * (kNumberWidth + 1) + size_t(height) * 2);
  for (int v = 0; v < height; ++v) {
    for (int u = 0; u < width; ++u) {
      if (u) text += ',';
      text += SpectrumNumberText(spectrum[size_t(v) * width + u]);
    }
    text += "\r\n";
  }
  return text;
}

TColor SpectrumScaleColor(double t) {
  struct Stop {
    double at;
    uint8_t r, g, b;
  };
  static const Stop stops[] = {{0.0, 0, 0, 0},       {0.25, 20, 30, 160}, {0.5, 200, 30, 80},
                               {0.75, 250, 160, 20}, {1.0, 255, 255, 255}};
  t = std::clamp(t, 0.0, 1.0);
  size_t k = 1;
  while (k < std::size(stops) - 1 && t > stops[k].at) ++k;
  const Stop& a = stops[k - 1];
  const Stop& b = stops[k];
  const double f = (t - a.at) / (b.at - a.at);
  auto mix = [f](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * f)); };
  return RGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

TImage RenderSpectrum(const TShapeData& spectrum, int width, int height) {
  TImage image(width, height, kBlack);
  double largest = 0.0;
  for (double c : spectrum)
    if (std::isfinite(c)) largest = std::max(largest, std::fabs(c));
  if (largest == 0.0) return image;
  for (int v = 0; v < height; ++v)
    for (int u = 0; u < width; ++u) {
      const double c = std::fabs(spectrum[size_t(v) * width + u]);
      if (!(c > 0.0) || !std::isfinite(c)) continue;
      const double t = 1.0 + std::log10(c / largest) / kDecadesShown;
      if (t > 0.0) image.SetPixel(u, v, SpectrumScaleColor(t));
    }
  return image;
}

void SaveSpectrumFiles(const TShape& shape, TImage& view, const std::string& name) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  if (!shape.HasSpectrum()) {
    view = TImage(width, height, kBlack);
    return;
  }
  ReplaceFile("SPECTRUM_TXT_" + name + ".TXT", SpectrumText(shape.Spectrum, width, height));
  view = RenderSpectrum(shape.Spectrum, width, height);
  WriteBmpFile("SPECTRUM_IMG_" + name + ".BMP", view);
}

}  // namespace tvlc
