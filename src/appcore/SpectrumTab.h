// What the Spectrum and Coeficients tabs show besides the spectrum image.
#pragma once

#include <string>
#include <vector>

namespace tvlc {

struct TSpectrumTab {
  int Zoom = 1;  // 1..10
  // Size of the control the spectrum image is stretched into.
  int ViewWidth = 0;
  int ViewHeight = 0;
  std::string ZeroLab, NonZeroLab, MinValLab, MaxValLab;
  std::vector<std::string> CoefList;  // the non-zero quantized values
};

}  // namespace tvlc
