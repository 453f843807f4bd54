// The command line of tvlc-cli rd: its own options (ranges and lists of
// settings, outputs) and those it shares with the other commands (files,
// --rect, --segment, --save-map, --grey, --transform, --diagnostics), which
// the common parser reads, so that a way of giving the map that the other
// commands learn reaches rd too.
#pragma once

#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "study/RegionSweep.h"

namespace tvlc {

struct TRdOptions {
  TCliOptions common;       // PICTURE, and MAP unless --rect or --segment
  TSweepSettings settings;  // --psnr FROM:TO:STEP, --quality LIST, --norm LIST
  bool jpeg = false;        // --jpeg
  std::string csv;          // --csv OUT.csv
  std::string plot;         // --plot OUT.svg
};

// `words` starts with "rd". Throws std::invalid_argument with a message for
// the user.
TRdOptions ParseRdOptions(const std::vector<std::string>& words);

}  // namespace tvlc
