// SLIC superpixels (Achanta et al. 2012) on grey levels.
#pragma once

#include "model/segmentation/LabelMap.h"

namespace tvlc {

struct TSlicParams {
  int32_t Segments = 400;    // about this many regions
  double Compactness = 0.3;  // larger: squarer regions, above 0
};

// Computed as scikit-image 0.19 computes it for a grey picture: the levels
// are scaled to 0..1 by their range and divided by Compactness; seeds lie on
// a regular grid of about Segments cells (cell side S); ten rounds of
// k-means in (level, y, x) assign every pixel to the seed of least
// (dy^2 + dx^2) / S^2 + dlevel^2 within 2 S of it (the first seed wins ties),
// the seeds starting at level 0. Pieces of a region that are not 4-connected
// then become regions of their own, at most three mean region sizes each,
// and pieces below half the mean region size join the last neighbouring
// region met on their border. Every region is one 4-connected piece.
// About 160 distance sums a pixel. Throws std::length_error for pictures
// of kMaxSegmentPixels or more.
TLabelMap SegmentSlic(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                      const TSlicParams& params, const TSegmentProgress& progress = {});

// The seed grid: rows StartY, StartY + StepY, ... and columns StartX,
// StartX + StepX, ... of a width x height picture, for about `seeds` seeds.
struct TSeedGrid {
  int32_t StartY = 0, StartX = 0, StepY = 1, StepX = 1;
};
TSeedGrid SeedGrid(int32_t width, int32_t height, int64_t seeds);

}  // namespace tvlc
