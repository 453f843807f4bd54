// The segmentation methods behind one call: what the map generator of the
// window and the command line ask for.
#pragma once

#include <optional>
#include <string>

#include "model/segmentation/Felzenszwalb.h"
#include "model/segmentation/Slic.h"

namespace tvlc {

enum class TSegmentMethod { Felzenszwalb, Slic };

// The method and the parameters of both methods; only the chosen method's
// are used.
struct TSegmentParams {
  TSegmentMethod Method = TSegmentMethod::Felzenszwalb;
  TFelzenszwalbParams Felzenszwalb;
  TSlicParams Slic;
};

// "felzenszwalb" and "slic": the names the command line and the log use.
const char* MethodName(TSegmentMethod method);
std::optional<TSegmentMethod> MethodNamed(const std::string& name);

// Bounds of the parameters. Larger sigmas would smooth with kernels of
// hundreds of pixels for no use.
constexpr double kMaxSigma = 50.0;
constexpr double kMaxScale = 1e9;
constexpr double kMaxCompactness = 1e6;

// Why the parameters cannot segment a picture of `pixels` pixels, or empty
// when they can: scale from 0 to kMaxScale, sigma from 0 to kMaxSigma, min
// size from 0 on; segments from 1 to the pixel count and kMaxMapRegions,
// compactness above 0 up to kMaxCompactness.
std::string ParamsError(const TSegmentParams& params, size_t pixels);

// The method with its parameters for the log:
// "felzenszwalb (scale 250, sigma 0.8, min size 100)",
// "slic (400 segments, compactness 0.3)". Numbers in their shortest form.
std::string Describe(const TSegmentParams& params);

// Runs the chosen method; the parameters must pass ParamsError.
TLabelMap Segment(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                  const TSegmentParams& params, const TSegmentProgress& progress = {});

}  // namespace tvlc
