// The spectrum of a shape as a text file and as a picture.
#pragma once

#include <string>

#include "model/Image.h"
#include "model/Shape.h"

namespace tvlc {

// A coefficient in the 23-character scientific form of the spectrum text:
// sign or space, one digit, ".", 14 digits, "E", exponent sign, 4 digits.
std::string SpectrumNumberText(double value);

// One line per row of coefficients, separated by ",", each line ended by CR LF.
std::string SpectrumText(const TShapeData& spectrum, int width, int height);

// One pixel per coefficient: the magnitude on a logarithmic scale relative
// to the largest one, from black (zero, or 6 decades below the largest)
// through blue, red and yellow to white (the largest).
TImage RenderSpectrum(const TShapeData& spectrum, int width, int height);

// The colour of a point 0..1 on that scale.
TColor SpectrumScaleColor(double t);

// Writes "SPECTRUM_TXT_" + name + ".TXT" and "SPECTRUM_IMG_" + name + ".BMP"
// into the current directory and draws the picture into `view`. A shape
// without spectrum paints the view black and writes nothing. Throws
// std::runtime_error when a file cannot be written.
void SaveSpectrumFiles(const TShape& shape, TImage& view, const std::string& name);

}  // namespace tvlc
