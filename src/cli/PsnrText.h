// How tvlc-cli reports the PSNR of shapes and pictures.
#pragma once

#include <string>

#include "model/Shape.h"

namespace tvlc {

// Two decimals, or "inf" from 1e20 on: the engine gives 1e20 for an exact
// reconstruction, which no finite figure in a table should stand for.
std::string PsnrText(double psnr);

// The PSNR a shape has after its encode: the engine's last figure, or, when
// the shape met the request without any iteration (and so kept its former
// figure), the PSNR of its unexpanded pixels.
double ReachedPSNR(const TShape& shape);

}  // namespace tvlc
