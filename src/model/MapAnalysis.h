// The map analysis: one shape per distinct label of a map.
#pragma once

#include <functional>

#include "model/Shape.h"

namespace tvlc {

// Called after each pixel with its index y * width + x.
using TAnalysisProgress = std::function<void(int64_t pixelIndex)>;

// Shapes in order of first appearance (rows top to bottom, each left to
// right), named "Shape " + HexLabel(label). Every shape collects all pixels of
// its label, connected or not. Runs in time linear in the pixels.
TShapeList LocateShapes(const TMapData& mapData, int32_t mapWidth, int32_t mapHeight,
                        const TPicData& picData, int32_t picWidth,
                        const TAnalysisProgress& progress = {});

// First shape whose box is wider or higher than kMaxShapeExtent, or null.
const TShapeItem* FindOversizeShape(const TShapeList& shapes);

}  // namespace tvlc
