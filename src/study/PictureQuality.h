// The quality of a decoded picture against its original.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/Image.h"

namespace tvlc {

// PSNR over the picture pixels a decoded shape has claimed (`decodedMask`,
// one byte per map pixel, map width `mapWidth`), the decoded grey level
// being the red of `decoded`. None when no such pixel differs from the
// picture. Only the part of picture and map they share counts.
std::optional<double> DecodedPSNR(const std::vector<uint8_t>& picture, int picWidth,
                                  int picHeight, const TImage& decoded,
                                  const std::vector<uint8_t>& decodedMask, int mapWidth,
                                  int mapHeight);

// The decoded picture as grey levels of the picture's size: the red of
// `decoded` where the map reaches, white beyond it.
std::vector<uint8_t> DecodedGreyLevels(const TImage& decoded, int picWidth, int picHeight);

}  // namespace tvlc
