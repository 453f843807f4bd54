// The platform side of module loading: finding tr_*.so files and opening
// them as module libraries.
#pragma once

#include <string>
#include <vector>

#include "tvlc/module.h"

namespace tvlc {

// Full paths of the entries of directory whose names match tr_*.so, sorted
// by name so that the module list has the same order on every run. A missing
// or unreadable directory gives an empty list.
std::vector<std::string> FindModuleFiles(const std::string& directory);

// Loads the library at path and returns its header with LibHandle written.
// Null, with the library freed again, when it cannot be loaded, lacks
// GetModuleHeader or speaks another interface version.
TModuleHeader* OpenModuleLibrary(const std::string& path);

// Frees the library behind a header that OpenModuleLibrary returned; does
// nothing for the built-in module (LibHandle 0).
void CloseModuleLibrary(TModuleHeader& header);

}  // namespace tvlc
