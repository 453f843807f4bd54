// A whole rate-distortion study of one picture: the region-coding sweep,
// optionally the standard codecs beside it, the envelopes and the
// Bjontegaard deltas.
#pragma once

#include <string>
#include <vector>

#include "study/RdReport.h"
#include "study/RegionSweep.h"

namespace tvlc {

struct TRdStudy {
  std::vector<TRdRow> Rows;         // region coding first, then JPEG, then JPEG 2000
  std::vector<TBdFigure> Figures;   // empty without the standard codecs
  std::string Error;
  bool Stopped = false;
  double EncodeSeconds = 0.0;       // the one encode of every shape
  double MeasureSeconds = 0.0;      // requantizing, writing, reading back, decoding, measuring
  double StandardSeconds = 0.0;     // JPEG and JPEG 2000
};

// `progress` sees the region sweep's work as RunRegionSweep reports it, and
// (0, 0) after every picture of the standard codecs; true stops either.
TRdStudy RunRdStudy(const TSweepInput& input, const TSweepSettings& settings,
                    bool standardCodecs, const TSweepProgress& progress = {});

// The requested PSNRs FROM, FROM + STEP, ... up to TO (within a thousandth
// of a step, so that 20:45:0.5 ends at 45); empty unless STEP > 0 and
// FROM <= TO, or when the range would hold more than 10000 values.
std::vector<double> PsnrRange(double from, double to, double step);

}  // namespace tvlc
