// The loaded picture and map as the input of a rate-distortion study or a
// settings search (src/study), for the command line and the window alike.
// TMainCore::RunStudy, which runs the window's study as a Map command, is
// defined beside it.
#pragma once

#include <string>

#include "study/RegionSweep.h"

namespace tvlc {

class TMainCore;

// The core's picture and map with `shapes` (the core's own or copies) as the
// shapes to code. A generated rectangle map costs no bytes; any other map
// costs its labels coded without loss (study/MapCost.h).
TSweepInput StudyInputOf(const TMainCore& core, TShapeList& shapes, const std::string& mapName,
                         bool generatedMap);

}  // namespace tvlc
