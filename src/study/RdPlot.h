// The rate-distortion curves as an SVG drawing: PSNR over bits per pixel,
// every region-coding setting as a dot, its envelopes (map included, and
// texture alone) and the standard codecs as lines, the text lines below.
#pragma once

#include <string>
#include <vector>

#include "study/RdRow.h"

namespace tvlc {

std::string RdSvg(const std::vector<TRdRow>& rows, double pixels, const std::string& title,
                  const std::vector<std::string>& notes);

}  // namespace tvlc
