#include "study/RdPlot.h"

#include <algorithm>
#include <cmath>

#include "base/NumberText.h"
#include "study/RdReport.h"

namespace tvlc {

namespace {

constexpr double kWidth = 800, kPlotLeft = 70, kPlotRight = 780, kPlotTop = 40,
                 kPlotBottom = 460, kNoteHeight = 18;

std::string Num(double v) { return FixedText(v, 1); }

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A step of 1, 2 or 5 times a power of ten giving about `count` ticks.
double TickStep(double span, int count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10.0 * power;
}

struct TAxes {
  double X0, X1, Y0, Y1;
  double X(double bpp) const { return kPlotLeft + (bpp - X0) / (X1 - X0) * (kPlotRight - kPlotLeft); }
  double Y(double psnr) const {
    return kPlotBottom - (psnr - Y0) / (Y1 - Y0) * (kPlotBottom - kPlotTop);
  }
};

std::string Polyline(const TAxes& axes, const std::vector<TRdSample>& curve,
                     const std::string& colour, const std::string& extra) {
  if (curve.empty()) return {};
  std::string points;
  for (const TRdSample& s : curve) points += Num(axes.X(s.Rate)) + "," + Num(axes.Y(s.Psnr)) + " ";
  std::string svg = "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2\" " +
                    extra + " points=\"" + points + "\"/>\n";
  for (const TRdSample& s : curve)
    svg += "<circle cx=\"" + Num(axes.X(s.Rate)) + "\" cy=\"" + Num(axes.Y(s.Psnr)) +
           "\" r=\"3\" fill=\"" + colour + "\"/>\n";
  return svg;
}

}  // namespace

std::string RdSvg(const std::vector<TRdRow>& rows, double pixels, const std::string& title,
                  const std::vector<std::string>& notes) {
  TAxes axes{0.0, 0.5, 20.0, 30.0};
  bool any = false;
  for (const TRdRow& r : rows) {
    if (!r.Psnr || !std::isfinite(*r.Psnr)) continue;
    axes.X1 = std::max(axes.X1, r.Bpp);
    axes.Y0 = any ? std::min(axes.Y0, *r.Psnr) : *r.Psnr;
    axes.Y1 = any ? std::max(axes.Y1, *r.Psnr) : *r.Psnr;
    any = true;
  }
  if (!any || axes.Y1 - axes.Y0 < 1.0) axes.Y1 = axes.Y0 + 1.0;
  const double xStep = TickStep(axes.X1 - axes.X0, 8);
  const double yStep = TickStep(axes.Y1 - axes.Y0, 8);
  axes.X1 = std::ceil(axes.X1 / xStep) * xStep;
  axes.Y0 = std::floor(axes.Y0 / yStep) * yStep;
  axes.Y1 = std::ceil(axes.Y1 / yStep) * yStep;

  const double height = kPlotBottom + 50 + kNoteHeight * double(notes.size() + 1);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) +
                    "\" height=\"" + Num(height) + "\" viewBox=\"0 0 " + Num(kWidth) + " " +
                    Num(height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n"
                    "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
                    "<text x=\"" + Num(kWidth / 2) + "\" y=\"24\" text-anchor=\"middle\" "
                    "font-size=\"15\">" + Escaped(title) + "</text>\n";
  for (double x = axes.X0; x <= axes.X1 + xStep / 2; x += xStep)
    svg += "<line x1=\"" + Num(axes.X(x)) + "\" y1=\"" + Num(kPlotTop) + "\" x2=\"" +
           Num(axes.X(x)) + "\" y2=\"" + Num(kPlotBottom) + "\" stroke=\"#ddd\"/>\n"
           "<text x=\"" + Num(axes.X(x)) + "\" y=\"" + Num(kPlotBottom + 16) +
           "\" text-anchor=\"middle\">" + FixedText(x, xStep < 0.1 ? 2 : 1) + "</text>\n";
  for (double y = axes.Y0; y <= axes.Y1 + yStep / 2; y += yStep)
    svg += "<line x1=\"" + Num(kPlotLeft) + "\" y1=\"" + Num(axes.Y(y)) + "\" x2=\"" +
           Num(kPlotRight) + "\" y2=\"" + Num(axes.Y(y)) + "\" stroke=\"#ddd\"/>\n"
           "<text x=\"" + Num(kPlotLeft - 6) + "\" y=\"" + Num(axes.Y(y) + 4) +
           "\" text-anchor=\"end\">" + FixedText(y, yStep < 1 ? 1 : 0) + "</text>\n";
  svg += "<rect x=\"" + Num(kPlotLeft) + "\" y=\"" + Num(kPlotTop) + "\" width=\"" +
         Num(kPlotRight - kPlotLeft) + "\" height=\"" + Num(kPlotBottom - kPlotTop) +
         "\" fill=\"none\" stroke=\"black\"/>\n"
         "<text x=\"" + Num((kPlotLeft + kPlotRight) / 2) + "\" y=\"" + Num(kPlotBottom + 34) +
         "\" text-anchor=\"middle\">bits per pixel</text>\n"
         "<text transform=\"translate(18," + Num((kPlotTop + kPlotBottom) / 2) +
         ") rotate(-90)\" text-anchor=\"middle\">PSNR [dB]</text>\n";

  for (const TRdRow& r : rows)
    if (r.Codec == "tvlc" && r.Psnr && std::isfinite(*r.Psnr))
      svg += "<circle cx=\"" + Num(axes.X(r.Bpp)) + "\" cy=\"" + Num(axes.Y(*r.Psnr)) +
             "\" r=\"1.5\" fill=\"#999\"/>\n";
  struct TSeries {
    const char* Codec;
    bool TextureOnly;
    const char* Colour;
    const char* Extra;
    const char* Label;
  };
  const TSeries series[] = {
      {"tvlc", false, "#1f5fbf", "", "region coding, envelope (map included)"},
      {"tvlc", true, "#1f5fbf", "stroke-dasharray=\"6,4\"", "region coding, envelope (texture only)"},
      {"jpeg", false, "#c0392b", "", "JPEG (optimised Huffman)"},
      {"jpeg2000", false, "#27884a", "", "JPEG 2000 (9/7, one layer)"}};
  double legendY = kPlotTop + 16;
  for (const TSeries& s : series) {
    const std::vector<TRdSample> curve = RdCurve(rows, s.Codec, s.TextureOnly, pixels);
    if (curve.empty()) continue;
    svg += Polyline(axes, curve, s.Colour, s.Extra);
    svg += "<line x1=\"" + Num(kPlotRight - 290) + "\" y1=\"" + Num(legendY - 4) + "\" x2=\"" +
           Num(kPlotRight - 262) + "\" y2=\"" + Num(legendY - 4) + "\" stroke=\"" + s.Colour +
           "\" stroke-width=\"2\" " + s.Extra + "/>\n<text x=\"" + Num(kPlotRight - 256) +
           "\" y=\"" + Num(legendY) + "\">" + Escaped(s.Label) + "</text>\n";
    legendY += 16;
  }
  double noteY = kPlotBottom + 56;
  for (const std::string& note : notes) {
    svg += "<text x=\"" + Num(kPlotLeft) + "\" y=\"" + Num(noteY) + "\">" + Escaped(note) +
           "</text>\n";
    noteY += kNoteHeight;
  }
  return svg + "</svg>\n";
}

}  // namespace tvlc
