#include "model/RectGenerator.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tvlc {

TRectangleMap GenerateRectangles(int32_t width, int32_t height, int32_t xSize, int32_t ySize,
                                 const TPicData& picData, int32_t picWidth,
                                 const std::function<void(int64_t)>& rectangleDone,
                                 const std::function<void()>& rowDone) {
  // Larger sizes would overflow the point count of a full rectangle.
  if (xSize < 1 || ySize < 1 || xSize > kMaxShapeExtent || ySize > kMaxShapeExtent)
    throw std::invalid_argument("rectangle sizes must be between 1 and " +
                                std::to_string(kMaxShapeExtent));
  TRectangleMap result;
  result.Image = TImage(width, height);
  auto labels = std::make_shared<std::vector<int32_t>>(size_t(width) * height, 0);
  result.MapData = labels;
  int32_t n = 0;
  for (int32_t y0 = 0; y0 < height; y0 += ySize) {
    for (int32_t x0 = 0; x0 < width; x0 += xSize) {
      auto shape = std::make_unique<TShape>(uint32_t(n), picData, picWidth, result.MapData, width,
                                            x0, y0);
      shape->Right = x0 + xSize - 1;
      shape->Bottom = y0 + ySize - 1;
      shape->PointCount = xSize * ySize;
      const int32_t right = std::min(shape->Right, width - 1);
      const int32_t bottom = std::min(shape->Bottom, height - 1);
      for (int32_t y = y0; y <= bottom; ++y) {
        std::fill(labels->begin() + (int64_t(y) * width + x0),
                  labels->begin() + (int64_t(y) * width + right + 1), n);
        for (int32_t x = x0; x <= right; ++x) result.Image.SetPixel(x, y, TColor(n) & kWhite);
      }
      if (rectangleDone) rectangleDone(int64_t(y0) * width + x0);
      result.Shapes.push_back({"Shape " + std::to_string(n), std::move(shape)});
      ++n;
      if (x0 > width - 1 - xSize) break;  // the next step would overflow past the edge
    }
    if (rowDone) rowDone();
    if (y0 > height - 1 - ySize) break;
  }
  return result;
}

}  // namespace tvlc
