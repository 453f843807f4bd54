// Analysis of a shape with the built-in DCT II that makes the literal
// engine's choices without its analysis transform per iteration. It carries
// the analysis of the residual from one iteration to the next: when the
// residual loses m times basis function j on the mask, its analysis loses
// m times the inner products of basis function j with every basis function
// over the mask, which the mask's cosine moments give.
//
// In windows of at most kExactAnalysisWindow coefficients the residual is
// analysed exactly in every iteration, where the transform costs about as
// much as carrying the analysis, and updated explicitly with the DCT II's
// own basis values: there the engine is the literal engine bit for bit.
// Larger windows carry the analysis block by block (TBlockAnalysis), and
// keep the residual implicit: the multiples taken since the last exact
// analysis are listed, the energy tracked, and the residual worked out by
// one inverse transform when an exact analysis is due, when the tracked
// energy comes within its error of the request (so that the request is
// judged on the residual's own energy, in the literal engine's order), and
// for a handler that reads it.
//
// The carried analysis drifts from the exact one by rounding; a bound on
// that drift (TCarriedAnalysisBound) decides when to analyse the residual
// afresh with the transformation itself:
// - when the best candidate is not separated from its rivals by more than
//   the bound, so that every choice is the one the literal engine's rule
//   makes on the exact analysis of this engine's residual (ties included:
//   the lowest index wins);
// - when the residual's energy has fallen so far below the energy of the
//   last exact analysis that the bound would swamp it (the rounding noise
//   floor);
// - every FreshAnalysisInterval(N) iterations.
//
// Memory: besides the caller's arrays, the literal engine's three arrays of
// N doubles, the moment table of N doubles, the inverse norms (N doubles,
// large windows only), tables of the window's sides and of its blocks, all
// made before the transformation is initialised;
// when they cannot be had, the literal engine does the work.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Arrays.h"
#include "model/Shape.h"
#include "tvlc/module.h"

namespace tvlc {

// Iterations between two exact analyses of the residual at most, in
// windows of up to 256 x 256 coefficients; larger windows stretch it with
// their size (FreshAnalysisInterval), so that the two transforms of a
// refresh cost about as much per iteration whatever the window.
constexpr int32_t kFreshAnalysisInterval = 256;
int32_t FreshAnalysisInterval(size_t coefficientCount);
// Windows analysed exactly in every iteration (16 x 16 and smaller).
constexpr size_t kExactAnalysisWindow = 256;

// The analysis mode of TransformShape, same arguments, statuses,
// notifications and failure handling. The descriptor must be the built-in
// DCT II or a module with the same analysis and the same basis values (its
// Basis slot is not called), and every array must hold width * height
// elements.
uint8_t AnalyzeShapeFastDct(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask, double requestedPSNR,
                            uint16_t notifyInterval, const TProgressHandler& onProgress);

}  // namespace tvlc
