// The shape transform engine. A transformation only works on full W x H
// blocks, but a shape covers just the pixels of its mask inside its rounded
// window; analysis bridges the two with a greedy expansion that adds, one
// iteration at a time, the basis function removing the most error inside the
// mask, until a requested PSNR is reached or the notification says stop.
// Synthesis is one plain inverse transform of a spectrum.
#pragma once

#include <cstdint>

#include "model/Arrays.h"
#include "model/Shape.h"
#include "tvlc/module.h"

namespace tvlc {

// Status of an analysis that an exception interrupted.
constexpr uint8_t kEngineFailedStatus = TVLC_STATUS_NO_MEMORY;

// Which engine analyses shapes coded with the built-in DCT II: the fast one
// (the default) or the reference below, so that the two can be compared on
// the same work. Every other transformation always uses the reference.
enum class TEngineChoice { Fast, Literal };
void SetEngineChoice(TEngineChoice choice);

// The engine every caller uses; it picks the implementation for the
// transformation. Analysis (inverse false): `coefficients` comes in holding
// the centred window pixels and goes out holding the spectrum, all zero when
// the result is 1 (an exception was caught). Synthesis (inverse true): the
// spectrum is replaced by pixel values, `mask` may be empty, and an exception
// of the transformation reaches the caller. Arrays must hold width * height
// elements (mask too, in analysis); otherwise nothing is called and the
// result is TVLC_STATUS_LENGTH_MISMATCH.
uint8_t TransformShape(const TTransDescriptor* descriptor, uint16_t width, uint16_t height,
                       TShapeData& coefficients, bool inverse, const TShapeMask& mask,
                       double requestedPSNR, uint16_t notifyInterval,
                       const TProgressHandler& onProgress);

// The reference implementation, calling the transformation's slots one by one
// as the module interface describes: one analysis Transform per iteration and
// Basis for every mask pixel of the chosen coefficient. Any faster engine
// must produce the same choices and spectra as this one.
uint8_t TransformShapeLiteral(const TTransDescriptor* descriptor, uint16_t width, uint16_t height,
                              TShapeData& coefficients, bool inverse, const TShapeMask& mask,
                              double requestedPSNR, uint16_t notifyInterval,
                              const TProgressHandler& onProgress);

// An analysis engine for one transformation; the fast DCT II engine and the
// reference below have this signature, so that the two can be run side by
// side on the same shape.
using TShapeAnalysis = uint8_t (*)(const TTransDescriptor& descriptor, uint16_t width,
                                   uint16_t height, TShapeData& coefficients,
                                   const TShapeMask& mask, double requestedPSNR,
                                   uint16_t notifyInterval, const TProgressHandler& onProgress);
uint8_t AnalyzeShapeLiteral(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask,
                            double requestedPSNR, uint16_t notifyInterval,
                            const TProgressHandler& onProgress);

}  // namespace tvlc
