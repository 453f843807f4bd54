// FFT, the built-in module's hidden transformation (code 1, not listed): the
// unitary two-dimensional complex FFT of the transform core, with the
// imaginary parts kept in a plane of the module between transforms.
//
// Its scales differ from the agreement of the other transformations and are
// kept as they always were: Transform gives sqrt(W*H) times the sums formed
// with Basis (whose values carry 1/(W*H)), and BasisNorms gives the pixel
// count of the mask. That is why it is not offered for coding.
#pragma once

#include "tvlc/module.h"

namespace tvlc {

TTransDescriptor* FftDescriptor();

}  // namespace tvlc
