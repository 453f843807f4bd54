// PSNR against iteration: every progress notification of the latest encode,
// and during Encode All the final (iterations, PSNR) of each finished shape.
// Kept whole for anyone who reads the numbers; thinned only for drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tvlc {

struct TCurvePoint {
  int32_t Iteration = 0;
  double PSNR = 0.0;
  bool operator==(const TCurvePoint&) const = default;
};

class TEncodeCurves {
 public:
  // An encode of `shapeName` towards `requested` dB begins. A continued
  // encode of the same shape extends its curve; any other starts a new one.
  void StartEncode(const std::string& shapeName, double requested, bool continuing);
  // One progress notification of the running encode.
  void Add(int32_t iteration, double psnr) { points_.push_back({iteration, psnr}); }

  // Encode All begins, and has finished one shape.
  void StartBatch() { finished_.clear(); }
  void FinishShape(int32_t iterations, double psnr) { finished_.push_back({iterations, psnr}); }

  const std::string& ShapeName() const { return shapeName_; }
  double Requested() const { return requested_; }
  const std::vector<TCurvePoint>& Points() const { return points_; }
  const std::vector<TCurvePoint>& Finished() const { return finished_; }

 private:
  std::string shapeName_;
  double requested_ = 0.0;
  std::vector<TCurvePoint> points_;
  std::vector<TCurvePoint> finished_;
};

// At most about maxPoints of `points` for drawing a line: all of them when
// they are few; otherwise the first and the last, and in each of
// maxPoints / 2 runs of consecutive points the lowest and the highest, in
// their order, so that no peak or dip of the curve is lost.
std::vector<TCurvePoint> ThinForDrawing(const std::vector<TCurvePoint>& points, size_t maxPoints);

}  // namespace tvlc
