#include "model/segmentation/GaussianSmoothing.h"

#include <cmath>

namespace tvlc {

namespace {

// Index of position i (any integer) on a line of n pixels reflected about
// its ends; the pattern repeats every 2n pixels.
int32_t Reflect(int64_t i, int32_t n) {
  const int64_t period = 2 * int64_t(n);
  int64_t m = i % period;
  if (m < 0) m += period;
  return int32_t(m < n ? m : period - 1 - m);
}

// Every value becomes in[0] * w[0] + sum over d = radius .. 1 of
// (in[-d] + in[+d]) * w[d], the outermost pair added first.

// Along the columns, one whole row at a time so that memory is read in order.
std::vector<double> SmoothColumns(const std::vector<double>& in, int32_t width, int32_t height,
                                  const std::vector<double>& weights) {
  const int32_t radius = int32_t(weights.size() / 2);
  const double* w = weights.data() + radius;
  std::vector<double> out(in.size());
  for (int32_t y = 0; y < height; ++y) {
    double* row = out.data() + size_t(y) * width;
    const double* centre = in.data() + size_t(y) * width;
    for (int32_t x = 0; x < width; ++x) row[x] = centre[x] * w[0];
    for (int32_t d = radius; d >= 1; --d) {
      const double* above = in.data() + size_t(Reflect(y - d, height)) * width;
      const double* below = in.data() + size_t(Reflect(y + d, height)) * width;
      for (int32_t x = 0; x < width; ++x) row[x] += (above[x] + below[x]) * w[d];
    }
  }
  return out;
}

// Along the rows, in place, through a copy of the row padded by reflection.
void SmoothRows(std::vector<double>& values, int32_t width, int32_t height,
                const std::vector<double>& weights) {
  const int32_t radius = int32_t(weights.size() / 2);
  const double* w = weights.data() + radius;
  std::vector<double> padded(size_t(width) + 2 * size_t(radius));
  const double* line = padded.data() + radius;
  for (int32_t y = 0; y < height; ++y) {
    double* row = values.data() + size_t(y) * width;
    for (int32_t x = -radius; x < width + radius; ++x)
      padded[size_t(x + radius)] = row[Reflect(x, width)];
    for (int32_t x = 0; x < width; ++x) {
      double sum = line[x] * w[0];
      for (int32_t d = radius; d >= 1; --d) sum += (line[x - d] + line[x + d]) * w[d];
      row[x] = sum;
    }
  }
}

}  // namespace

std::vector<double> GaussianWeights(double sigma) {
  const int32_t radius = int32_t(4.0 * sigma + 0.5);
  std::vector<double> weights(2 * size_t(radius) + 1);
  const double factor = -0.5 / (sigma * sigma);
  double sum = 0.0;
  for (int32_t x = -radius; x <= radius; ++x) {
    weights[size_t(x + radius)] = std::exp(factor * double(x) * double(x));
    sum += weights[size_t(x + radius)];
  }
  for (double& weight : weights) weight /= sum;
  return weights;
}

std::vector<double> SmoothGaussian(const std::vector<double>& values, int32_t width, int32_t height,
                                   double sigma) {
  if (!(sigma > 0.0) || width <= 0 || height <= 0) return values;
  const std::vector<double> weights = GaussianWeights(sigma);
  std::vector<double> smoothed = SmoothColumns(values, width, height, weights);
  SmoothRows(smoothed, width, height, weights);
  return smoothed;
}

}  // namespace tvlc
