// The structural similarity index of a decoded grey picture against its
// original, in its usual form: 11 x 11 Gaussian window with sigma 1.5,
// K1 0.01, K2 0.03, data range 255, population variances and covariance,
// the mean over every position where the window lies wholly inside the
// picture, no downsampling.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tvlc {

// Both pictures hold width * height grey levels, row by row. None when the
// picture is smaller than the window in either direction.
std::optional<double> StructuralSimilarity(const std::vector<uint8_t>& original,
                                           const std::vector<uint8_t>& decoded, int width,
                                           int height);

}  // namespace tvlc
