// The arrays the codec works on, made from the images of picture and map.
#pragma once

#include <memory>
#include <vector>

#include "model/Image.h"

namespace tvlc {

// The red component of every pixel, row by row: the grey levels of a picture.
std::shared_ptr<std::vector<uint8_t>> RedLevels(const TImage& image);
// True when every pixel has green and blue equal to red.
bool IsGrey(const TImage& image);
// The colour value of every pixel, row by row: the labels of a map.
std::shared_ptr<std::vector<int32_t>> ColorLabels(const TImage& image);

}  // namespace tvlc
