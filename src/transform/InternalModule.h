// The built-in module: DCT II (code 2, listed) and FFT (code 1, hidden).
#pragma once

#include "tvlc/module.h"

namespace tvlc {

constexpr int32_t kInternalModuleCode = 1;
constexpr int32_t kFftTransCode = 1;
constexpr int32_t kDctTransCode = 2;

// The module's constant header; the registry writes FindTransformation and
// HostVersion into it.
TModuleHeader* InternalModuleHeader();

}  // namespace tvlc
