// The command line of tvlc-cli: a command, its files and its options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tvlc {

struct TCliOptions {
  std::string command;
  std::vector<std::string> files;
  bool csv = false;
  std::string psnr;                  // --psnr DB, as typed
  int32_t moduleCode = 1;            // --transform MODULE:TRANS
  int32_t transCode = 2;
  int quality = 0;                   // --quality Q (0: not quantized)
  int normKind = 2;                  // --norm KIND
  std::string out;                   // --out FILE
  std::string saveProject;           // --save-project FILE
  std::string engine = "fast";       // --engine fast|literal
  int rectWidth = 0;                 // --rect WxH: a generated rectangle map
  int rectHeight = 0;
  bool rectAuto = false;             // --rect auto: the search picks the size
  std::optional<double> targetBpp;   // compress --target-bpp B
  std::optional<double> targetPsnr;  // compress --target-psnr P
};

// Throws std::invalid_argument with a message for the user.
TCliOptions ParseCliOptions(const std::vector<std::string>& words);

}  // namespace tvlc
