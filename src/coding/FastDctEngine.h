// Analysis of a shape with the built-in DCT II that makes the literal
// engine's choices without its analysis transform per iteration. It keeps
// the analysis of the residual from one iteration to the next: when the
// residual loses m times basis function j on the mask, its analysis loses
// m times the inner products of basis function j with every basis function
// over the mask, which the mask's cosine moments give in one pass over the
// coefficients. The residual itself is still updated explicitly, with the
// DCT II's own basis values, so that the PSNR that stops the expansion and
// everything the notifications report is that of the literal engine; from
// time to time the kept analysis is recomputed from it, so that rounding
// cannot build up.
#pragma once

#include <cstdint>

#include "model/Arrays.h"
#include "model/Shape.h"
#include "tvlc/module.h"

namespace tvlc {

// Iterations between two exact analyses of the residual.
constexpr int32_t kFreshAnalysisInterval = 256;

// The analysis mode of TransformShape, same arguments, statuses,
// notifications and failure handling. The descriptor must be the built-in
// DCT II or a module with the same analysis and the same basis values (its
// Basis slot is not called), and every array must hold width * height
// elements.
uint8_t AnalyzeShapeFastDct(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask, double requestedPSNR,
                            uint16_t notifyInterval, const TProgressHandler& onProgress);

}  // namespace tvlc
