// The command line of tvlc-cli: a command, its files and its options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "appcore/ShapeWorkers.h"
#include "model/segmentation/Segmentation.h"

namespace tvlc {

struct TCliOptions {
  std::string command;
  std::vector<std::string> files;
  bool csv = false;
  bool grey = false;                 // --grey: convert a colour picture
  std::string psnr;                  // --psnr DB, as typed
  int32_t moduleCode = 1;            // --transform MODULE:TRANS
  int32_t transCode = 2;
  int quality = 0;                   // --quality Q (0: not quantized)
  int normKind = 2;                  // --norm KIND
  std::string out;                   // --out FILE
  std::string saveProject;           // --save-project FILE
  std::string engine = "fast";       // --engine fast|literal
  unsigned threads = AllCores();     // --threads N: workers of the batches
  std::string diagnostics;           // --diagnostics DIR: SEGMENT_*.BMP go there
  int rectWidth = 0;                 // --rect WxH: a generated rectangle map
  int rectHeight = 0;
  bool rectAuto = false;             // --rect auto: the search picks the size
  std::optional<double> targetBpp;   // compress --target-bpp B
  std::optional<double> targetPsnr;  // compress --target-psnr P
  // segment: --method and the parameters; encode, compress and stats:
  // --segment METHOD[:k=v,...], a generated segmentation map.
  TSegmentParams segmentation;
  bool segment = false;              // --segment given
  std::string saveMap;               // --save-map FILE

  // The map is generated (--rect or --segment), not read from a file.
  bool GeneratesMap() const { return rectWidth > 0 || segment; }
};

// Throws std::invalid_argument with a message for the user.
TCliOptions ParseCliOptions(const std::vector<std::string>& words);

}  // namespace tvlc
