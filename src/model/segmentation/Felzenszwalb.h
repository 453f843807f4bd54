// Graph-based segmentation of Felzenszwalb and Huttenlocher (2004).
#pragma once

#include "model/segmentation/LabelMap.h"

namespace tvlc {

// Parameters as scikit-image gives them for a picture scaled to 0..1: the
// grey levels are divided by 255, Scale / 255 is the k of the paper.
struct TFelzenszwalbParams {
  double Scale = 250.0;   // larger: fewer, larger regions
  double Sigma = 0.8;     // deviation of the Gaussian smoothing, 0 for none
  int32_t MinSize = 100;  // smaller regions are merged into a neighbour
};

// The levels are smoothed (GaussianSmoothing.h), then every pixel is joined
// to its eight neighbours by an edge weighted by the absolute difference of
// their smoothed levels. Edges are taken by increasing weight; an edge joins
// two regions when its weight is below the smaller of their thresholds, the
// largest edge weight inside the region plus k / its size. A second pass
// over the edges in the same order then joins every region below MinSize to
// the neighbour across its lightest edge. n log n in the pixels (a radix
// sort of the edges), about 12 bytes an edge and 4 edges a pixel.
// Throws std::length_error for pictures of kMaxSegmentPixels or more.
TLabelMap SegmentFelzenszwalb(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                              const TFelzenszwalbParams& params,
                              const TSegmentProgress& progress = {});

}  // namespace tvlc
