// A map of equal rectangles covering a picture: block coding with the same
// machinery as region coding.
#pragma once

#include <functional>

#include "model/Image.h"
#include "model/Shape.h"

namespace tvlc {

struct TRectangleMap {
  TImage Image;  // 24-bit, rectangle n in colour value n
  TMapData MapData;
  TShapeList Shapes;
};

// Rectangle n (row-major over the grid) has label n and is named "Shape " +
// n. Rectangles of the last column and row are cut off by the map's edge in
// the labels and the image, but keep the box and point count of a full
// xSize x ySize rectangle. `rectangleDone` runs after each rectangle with the
// index of its top left pixel (width * y0 + x0), `rowDone` after each row of
// rectangles. Sizes must be between 1 and kMaxShapeExtent.
TRectangleMap GenerateRectangles(int32_t width, int32_t height, int32_t xSize, int32_t ySize,
                                 const TPicData& picData, int32_t picWidth,
                                 const std::function<void(int64_t)>& rectangleDone = {},
                                 const std::function<void()>& rowDone = {});

}  // namespace tvlc
