// A shape's spectrum as the list of quantized coefficients that the
// compressed picture file stores, and back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/Arrays.h"
#include "model/Shape.h"

namespace tvlc {

// Fills `out` with the shape's quantized coefficients in zigzag order up to
// and including the last non-zero one, and returns their number. Returns 0
// and leaves `out` untouched when the shape has no spectrum. Throws
// std::range_error, leaving `out` untouched, when a quantized value does not
// fit 32 bits (or the spectrum does not cover the shape's window).
int Quantize(TShape& shape, TSpecData& out);

// Gives the shape the coding parameters and a spectrum rebuilt from
// quantized coefficients in zigzag order. Values beyond the shape's window
// are ignored; returns how many were.
size_t LoadQuantized(TShape& shape, const int32_t* values, size_t count, int32_t moduleCode,
                     int32_t transCode, uint8_t quality, uint8_t normKind);

// How many values each shape's window takes, in list order: what a
// compressed picture read onto these shapes may keep of each.
std::vector<size_t> WindowSizes(const TShapeList& shapes);

}  // namespace tvlc
