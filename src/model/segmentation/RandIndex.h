// Agreement of two segmentations of one picture.
#pragma once

#include <cstdint>
#include <vector>

namespace tvlc {

// The adjusted Rand index (Hubert and Arabie 1985) of two labellings of the
// same pixels: 1 for the same partition whatever the label values, about 0
// for independent ones. Computed from the table of pixel counts of every
// pair of labels that meet. Two partitions that are both a single region,
// or both all single pixels, give 1. The labellings must be equally long.
double AdjustedRandIndex(const std::vector<int32_t>& a, const std::vector<int32_t>& b);

}  // namespace tvlc
