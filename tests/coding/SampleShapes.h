// A grey picture and its segmentation map read from bitmap files, with the
// shapes of the map as the map analysis finds them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "model/Bmp.h"
#include "model/Image.h"
#include "model/MapAnalysis.h"
#include "model/PictureArrays.h"
#include "model/Shape.h"

namespace tvlc {

struct SampleShapes {
  TPicData PicData;
  int32_t PicWidth = 0;
  int32_t PicHeight = 0;
  TMapData MapData;
  int32_t MapWidth = 0;
  int32_t MapHeight = 0;
  TShapeList Shapes;
};

inline SampleShapes LoadSampleShapes(const std::string& picturePath, const std::string& mapPath) {
  SampleShapes sample;
  const TImage picture = ReadBmpFile(picturePath);
  sample.PicWidth = picture.Width();
  sample.PicHeight = picture.Height();
  sample.PicData = RedLevels(picture);

  const TImage map = ReadBmpFile(mapPath);
  sample.MapWidth = map.Width();
  sample.MapHeight = map.Height();
  sample.MapData = ColorLabels(map);

  sample.Shapes = LocateShapes(sample.MapData, sample.MapWidth, sample.MapHeight, sample.PicData,
                               sample.PicWidth);
  return sample;
}

// The shape's mask over its rounded window.
inline TShapeMask WindowMask(const TShape& shape) {
  TShapeMask mask(size_t(shape.WindowSize()));
  for (int q = 0; q < shape.RoundedHeight(); ++q)
    for (int i = 0; i < shape.RoundedWidth(); ++i)
      mask[size_t(q) * shape.RoundedWidth() + i] = shape.Contains(shape.Left + i, shape.Top + q);
  return mask;
}

// Grey level - 128 of every window pixel inside the shape, 0 elsewhere.
inline TShapeData CentredShapePixels(const TShape& shape) {
  TShapeData pixels(size_t(shape.WindowSize()));
  for (int q = 0; q < shape.RoundedHeight(); ++q)
    for (int i = 0; i < shape.RoundedWidth(); ++i) {
      const int x = shape.Left + i;
      const int y = shape.Top + q;
      if (shape.Contains(x, y))
        pixels[size_t(q) * shape.RoundedWidth() + i] =
            (*shape.PicData)[size_t(y) * shape.PicWidth + x] - 128.0;
    }
  return pixels;
}

}  // namespace tvlc
