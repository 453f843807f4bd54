// DCT II, the built-in module's default transformation (code 2, listed): the
// orthonormal two-dimensional DCT of type II on power-of-two blocks, run by
// the transform core in its DCT kind.
#pragma once

#include "tvlc/module.h"

namespace tvlc {

// The calling thread's DCT II (see TransformState.h): the process-wide one
// on the user-interface thread, which is the one the registry lists.
TTransDescriptor* DctIIDescriptor();

}  // namespace tvlc
