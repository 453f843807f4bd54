#include "study/RdStudy.h"

#include <chrono>
#include <cmath>

#include "study/StandardSweep.h"

namespace tvlc {

std::vector<double> PsnrRange(double from, double to, double step) {
  std::vector<double> levels;
  if (!(step > 0.0) || !(from <= to) || !std::isfinite(from) || !std::isfinite(to)) return levels;
  const double count = std::floor((to - from) / step + 1e-3) + 1.0;
  if (count > 10000.0) return levels;
  // Each level from its index, so that no error accumulates along the range.
  for (int i = 0; i < int(count); ++i) levels.push_back(from + step * i);
  return levels;
}

TRdStudy RunRdStudy(const TSweepInput& input, const TSweepSettings& settings,
                    bool standardCodecs, const TSweepProgress& progress) {
  TRdStudy study;
  TSweepResult sweep = RunRegionSweep(input, settings, progress);
  study.Rows = std::move(sweep.Rows);
  study.Error = sweep.Error;
  study.Stopped = sweep.Stopped;
  study.EncodeSeconds = sweep.EncodeSeconds;
  study.MeasureSeconds = sweep.MeasureSeconds;
  const double pixels = double(input.PicWidth) * input.PicHeight;
  if (study.Error.empty() && !study.Stopped && standardCodecs) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<TRdRow> standard =
        RunStandardSweep(*input.Picture, input.PicWidth, input.PicHeight, study.Error,
                         [&]() { return progress && progress(0, 0); });
    study.StandardSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    study.Rows.insert(study.Rows.end(), standard.begin(), standard.end());
  }
  MarkEnvelopes(study.Rows, pixels);
  if (standardCodecs) study.Figures = RdBdFigures(study.Rows, pixels);
  return study;
}

}  // namespace tvlc
