#include <iostream>

#include "cli/CliCommands.h"

namespace tvlc {

int SegmentCommand(const TCliOptions& options) {
  if (options.files.size() != 2) return UsageError("segment needs PICTURE and OUT_MAP");
  if (options.segment) return UsageError("segment takes --method and its options, not --segment");
  TCliSession session(options);
  const bool ok = session.core.LoadPicture1Click(options.files[0]) &&
                  session.core.GenerateSegmentation(options.segmentation) &&
                  session.core.SaveMap1Click(options.files[1]);
  session.log.Flush(ok ? std::cout : std::cerr);
  return ok ? 0 : 1;
}

}  // namespace tvlc
