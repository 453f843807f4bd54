// Gaussian smoothing of a grey picture before segmentation.
#pragma once

#include <cstdint>
#include <vector>

namespace tvlc {

// The weights of a Gaussian of deviation sigma truncated at 4 sigma: radius
// int(4 * sigma + 0.5), exp(-x^2 / (2 sigma^2)) normalized to sum 1.
std::vector<double> GaussianWeights(double sigma);

// Smooths a width x height array of values with the Gaussian of deviation
// sigma, first along the columns, then along the rows. Borders are reflected
// about the edge between pixels (d c b a | a b c d | d c b a), repeatedly
// for lines shorter than the radius. Sigma 0 returns the values unchanged.
std::vector<double> SmoothGaussian(const std::vector<double>& values, int32_t width, int32_t height,
                                   double sigma);

}  // namespace tvlc
