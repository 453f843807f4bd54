// The standard codecs' curves on the same picture: JPEG at qualities 5, 10,
// ..., 95 and JPEG 2000 aimed at the sizes JPEG reached.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "study/RdRow.h"

namespace tvlc {

// Rows of codec "jpeg" (Quality set) and "jpeg2000", in that order. `stop`
// is asked after every picture coded. An error text names the codec that
// failed; the rows so far are kept.
std::vector<TRdRow> RunStandardSweep(const std::vector<uint8_t>& grey, int width, int height,
                                     std::string& error, const std::function<bool()>& stop = {});

// The JPEG qualities of the sweep.
std::vector<int> StandardJpegQualities();

}  // namespace tvlc
