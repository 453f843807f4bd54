// The commands of tvlc-cli. Each returns the exit status: 0 success, 1 a
// refused file or a failed command, 2 a usage error.
#pragma once

#include "cli/CliHost.h"
#include "cli/CliOptions.h"

namespace tvlc {

int ShapesCommand(const TCliOptions& options);
int ModulesCommand(const TCliOptions& options);
int EncodeCommand(const TCliOptions& options);
int CompressCommand(const TCliOptions& options);
int DecompressCommand(const TCliOptions& options);
int InfoCommand(const TCliOptions& options);
int StatsCommand(const TCliOptions& options);
int SegmentCommand(const TCliOptions& options);
// compress with --target-bpp or --target-psnr: searches the settings, says
// what it chose, then compresses with them.
int CompressToTarget(const TCliOptions& options);
// rd reads its own command line (see RdOptions.h).
int RdCommand(const std::vector<std::string>& words);

// A usage error: message and hint on stderr, status 2.
int UsageError(const std::string& message);

// The core of one command run with the modules beside the program.
struct TCliSession {
  // Diagnostic bitmaps are written only into the folder of --diagnostics.
  explicit TCliSession(const TCliOptions& options);

  TCliHost host;
  TMainCore core{host};
  TLogPrinter log{core};

  // Loads picture and map (the first two files); a refusal prints the log to
  // stderr. With echo the load's log lines go to stdout.
  bool LoadInputs(const TCliOptions& options, bool echo);
  // The picture (first file) and either the map (second file) or, with
  // --rect or --segment, a generated map; --save-map writes the map.
  bool LoadPictureAndMap(const TCliOptions& options);
  // Encodes every shape with the options' transformation, request, quality
  // and normalization; the wall time of the encode goes to `seconds`. A
  // SIGINT stops the batch after the shape in hand, as the window's Stop
  // does (see Interrupted).
  bool EncodeAll(const TCliOptions& options, double& seconds);
  // The shapes that EncodeAll encoded: all of them unless a SIGINT stopped
  // it. They lead the list, since the batch runs in list order.
  size_t ShapesDone() const;
  // Decodes every shape into the decoded picture; false, with a line on
  // stderr for each shape that could not be decoded, when any failed.
  bool DecodeAll();
};

}  // namespace tvlc
