// The rate-distortion sweep of region-based coding on one picture and map:
// every shape is encoded once to the highest requested PSNR with snapshots
// at the lower ones; each combination of request, quality and normalization
// then only requantizes, writes the compressed picture file into memory,
// reads it back and decodes it, exactly as a separate compress and
// decompress would.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "model/Shape.h"
#include "study/RdRow.h"
#include "study/SnapshotEncoder.h"

namespace tvlc {

struct TSweepSettings {
  std::vector<double> Psnr;      // requested PSNRs, any order
  std::vector<int> Qualities;    // 0..100 (0: not quantized)
  std::vector<int> Norms;        // normalization kinds 0..4
  int32_t ModuleCode = 1;        // the transformation (built-in DCT II by default)
  int32_t TransCode = 2;
};

struct TSweepInput {
  TPicData Picture;
  int PicWidth = 0;
  int PicHeight = 0;
  int MapWidth = 0;
  int MapHeight = 0;
  std::string MapName;     // the CSV's map column
  uint64_t MapBytes = 0;   // see MapCost.h; 0 for generated rectangles
  TShapeList* Shapes = nullptr;  // the map's shapes; their spectra and settings change
};

// Called after every shape encoded and every setting measured, with the work
// done and the work in all; returns true to stop.
using TSweepProgress = std::function<bool(size_t done, size_t total)>;

struct TSweepResult {
  std::vector<TRdRow> Rows;  // one per setting measured, envelopes not marked
  std::string Error;         // a whole message when the sweep could not run
  bool Stopped = false;
  double EncodeSeconds = 0.0;   // the one shared encode
  double MeasureSeconds = 0.0;  // requantizing, writing, reading, decoding, measuring
};

TSweepResult RunRegionSweep(const TSweepInput& input, const TSweepSettings& settings,
                            const TSweepProgress& progress = {});

// The sweep's two steps apart, for searches that measure only some settings.
class TRegionCoder {
 public:
  TRegionCoder(const TSweepInput& input, int32_t moduleCode, int32_t transCode);
  // Encodes every shape once with snapshots at `levels` (ascending);
  // `shapeDone` runs after each shape and returns true to stop. Returns an
  // error text, empty on success.
  std::string Encode(const std::vector<double>& levels,
                     const std::function<bool()>& shapeDone = {});
  // One setting: requantize the snapshots of level `level` (an index into
  // the levels encoded), write, read back, decode, measure. The SSIM is
  // left out unless asked for. Fills `row` or returns an error text.
  std::string Measure(size_t level, int quality, int norm, bool withSsim, TRdRow& row);
  const std::vector<double>& Levels() const { return levels_; }

 private:
  TSweepInput input_;
  const TTransDescriptor* descriptor_;
  int32_t moduleCode_, transCode_;
  std::vector<double> levels_;
  std::vector<TShapeSnapshots> snapshots_;
};

}  // namespace tvlc
