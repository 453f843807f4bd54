#include "model/MapAnalysis.h"

#include <unordered_map>

namespace tvlc {

TShapeList LocateShapes(const TMapData& mapData, int32_t mapWidth, int32_t mapHeight,
                        const TPicData& picData, int32_t picWidth,
                        const TAnalysisProgress& progress) {
  TShapeList shapes;
  if (!mapData) return shapes;
  // Labels are distinct per shape, so looking the label up finds the one
  // shape that would accept the pixel among all shapes made so far.
  std::unordered_map<int32_t, TShape*> byLabel;
  const std::vector<int32_t>& labels = *mapData;
  for (int32_t y = 0; y < mapHeight; ++y)
    for (int32_t x = 0; x < mapWidth; ++x) {
      const int64_t index = int64_t(y) * mapWidth + x;
      const int32_t label = labels[size_t(index)];
      auto [it, isNew] = byLabel.try_emplace(label, nullptr);
      if (isNew) {
        auto shape = std::make_unique<TShape>(uint32_t(label), picData, picWidth, mapData,
                                              mapWidth, x, y);
        it->second = shape.get();
        shapes.push_back({"Shape " + HexLabel(uint32_t(label)), std::move(shape)});
      } else {
        it->second->AddPoint(label, x, y);
      }
      if (progress) progress(index);
    }
  return shapes;
}

const TShapeItem* FindOversizeShape(const TShapeList& shapes) {
  for (const TShapeItem& item : shapes)
    if (item.Shape->BoxWidth() > kMaxShapeExtent || item.Shape->BoxHeight() > kMaxShapeExtent)
      return &item;
  return nullptr;
}

}  // namespace tvlc
