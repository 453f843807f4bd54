// The checker of analysis engines: any engine with the TShapeAnalysis
// signature run beside the reference engine on the same window, and a
// verdict that says what differs and why. Below the rounding noise floor the
// engines must choose the same coefficients, end on the same iteration and
// give spectra within 1e-9 of the largest coefficient; from kNoiseFloorPSNR
// up both choose from rounding noise, and the candidate must reach the
// request within twice the reference's iterations plus the window's
// coefficient count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coding/TransformShape.h"
#include "model/Arrays.h"
#include "model/Shape.h"

namespace tvlc {

// Requests from here up are judged by the noise-floor rule: the error of
// 8-bit pictures is resolved by doubles to about 250 dB.
constexpr double kNoiseFloorPSNR = 300.0;
// Largest spectrum difference allowed, relative to the largest coefficient.
constexpr double kSpectrumTolerance = 1e-9;

// What an engine needs of one shape.
struct TWindowJob {
  std::string Name;
  uint16_t Width = 0, Height = 0;
  TShapeMask Mask;
  TShapeData Pixels;  // centred grey levels inside the mask, 0 outside
};

TWindowJob JobOfShape(const TShapeItem& item);
// Every shape of a picture and its map.
std::vector<TWindowJob> JobsOfSample(const std::string& picturePath, const std::string& mapPath);

// What one analysis reports through its notifications and result.
struct TExpansion {
  uint8_t Status = 0;
  TShapeData Spectrum;
  std::vector<uint32_t> Choices;  // v * width + u of every iteration
  std::vector<double> PSNRs;
};

// Runs `engine` on the job with the built-in DCT II, notified every
// iteration; `stopAfter` > 0 ends it after that many iterations.
TExpansion Expand(TShapeAnalysis engine, const TWindowJob& job, double request,
                  size_t stopAfter = 0);

struct TVerdict {
  bool Agrees = true;
  std::string Divergence;  // what differs and its cause; empty when they agree
  size_t ReferenceIterations = 0, CandidateIterations = 0;
};

// Whether every choice of `engine` is the one the reference's rule makes on
// the exact analysis (the DCT II's Transform) of the engine's own residual:
// what the fast engine guarantees however its residual drifts from the
// reference's by rounding.
TVerdict CheckOwnChoices(TShapeAnalysis engine, const TWindowJob& job, double request);

// `candidate` against the reference engine on one job and request.
TVerdict CompareWithReference(TShapeAnalysis candidate, const TWindowJob& job, double request);
// The same with the reference's expansion already at hand.
TVerdict CompareExpansions(const TExpansion& candidate, const TExpansion& reference,
                           const TWindowJob& job, double request);

}  // namespace tvlc
