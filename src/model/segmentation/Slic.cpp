#include "model/segmentation/Slic.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

namespace tvlc {

// The picture is a volume of 1 x height x width pixels. The cell side starts
// as the cube root of volume / seeds; an extent below its cell side becomes
// the cell side itself and the rest is shared among the larger extents.
TSeedGrid SeedGrid(int32_t width, int32_t height, int64_t seeds) {
  const double volume = double(width) * double(height);
  if (seeds < 1 || volume <= double(seeds)) return {};
  // Extents in increasing order; equal extents keep their order.
  std::array<int, 3> axes = {0, 1, 2};
  const std::array<double, 3> extent = {1.0, double(height), double(width)};
  std::stable_sort(axes.begin(), axes.end(), [&](int a, int b) { return extent[a] < extent[b]; });
  std::array<double, 3> sorted{}, side{};
  for (int i = 0; i < 3; ++i) sorted[i] = extent[size_t(axes[i])];
  side.fill(std::pow(volume / double(seeds), 1.0 / 3.0));
  auto fits = [&] {
    for (int i = 0; i < 3; ++i)
      if (sorted[i] < side[i]) return false;
    return true;
  };
  if (!fits())
    for (int dim = 0; dim < 2; ++dim) {
      side[size_t(dim)] = sorted[size_t(dim)];
      double rest = 1.0;
      for (int i = dim + 1; i < 3; ++i) rest *= sorted[size_t(i)];
      for (int i = dim + 1; i < 3; ++i)
        side[size_t(i)] = std::pow(rest / double(seeds), 1.0 / double(3 - dim - 1));
      if (fits()) break;
    }
  TSeedGrid grid;
  for (int i = 0; i < 3; ++i) {
    const int32_t start = int32_t(std::floor(side[size_t(i)] / 2.0));
    const int32_t step = std::max(int32_t(std::nearbyint(side[size_t(i)])), 1);
    if (axes[size_t(i)] == 1) grid.StartY = start, grid.StepY = step;
    if (axes[size_t(i)] == 2) grid.StartX = start, grid.StepX = step;
  }
  return grid;
}

namespace {

struct TCentre {
  double Y = 0.0, X = 0.0, Level = 0.0;
  bool Empty = false;  // lost all its pixels; it never gains any again
};

constexpr int kRounds = 10;

// The k-means rounds; returns the seed number of every pixel.
std::vector<int32_t> Cluster(const std::vector<double>& levels, int32_t width, int32_t height,
                             std::vector<TCentre>& centres, double cellSide,
                             const TSeedGrid& window, const TSegmentProgress& progress) {
  const size_t pixels = levels.size();
  const double spatialWeight = 1.0 / (cellSide * cellSide);
  std::vector<int32_t> nearest(pixels, 0);
  std::vector<double> distance(pixels);
  std::vector<double> columnDistance(static_cast<size_t>(width));
  for (int round = 0; round < kRounds; ++round) {
    std::fill(distance.begin(), distance.end(), DBL_MAX);
    bool changed = false;
    for (size_t k = 0; k < centres.size(); ++k) {
      if (progress && k % 64 == 0) progress((round + double(k) / double(centres.size())) / kRounds);
      const TCentre& c = centres[k];
      if (c.Empty) continue;
      const int32_t y0 = int32_t(std::max(c.Y - 2.0 * window.StepY, 0.0));
      const int32_t y1 = int32_t(std::min(c.Y + 2.0 * window.StepY + 1.0, double(height)));
      const int32_t x0 = int32_t(std::max(c.X - 2.0 * window.StepX, 0.0));
      const int32_t x1 = int32_t(std::min(c.X + 2.0 * window.StepX + 1.0, double(width)));
      for (int32_t x = x0; x < x1; ++x) {
        const double dx = c.X - x;
        columnDistance[size_t(x)] = dx * dx;
      }
      for (int32_t y = y0; y < y1; ++y) {
        const double dy2 = (c.Y - y) * (c.Y - y);
        const size_t row = size_t(y) * size_t(width);
        for (int32_t x = x0; x < x1; ++x) {
          const double t = levels[row + size_t(x)] - c.Level;
          const double d = (dy2 + columnDistance[size_t(x)]) * spatialWeight + t * t;
          if (distance[row + size_t(x)] > d) {
            distance[row + size_t(x)] = d;
            nearest[row + size_t(x)] = int32_t(k);
            changed = true;
          }
        }
      }
    }
    if (!changed) break;

    std::vector<TCentre> sums(centres.size());
    std::vector<int64_t> counts(centres.size(), 0);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const size_t i = size_t(y) * size_t(width) + size_t(x);
        TCentre& sum = sums[size_t(nearest[i])];
        ++counts[size_t(nearest[i])];
        sum.Y += y;
        sum.X += x;
        sum.Level += levels[i];
      }
    for (size_t k = 0; k < centres.size(); ++k) {
      const double n = double(counts[k]);
      centres[k] = {sums[k].Y / n, sums[k].X / n, sums[k].Level / n, counts[k] == 0};
    }
  }
  return nearest;
}

// Every 4-connected piece of a seed's pixels becomes a region, grown in
// breadth-first order to at most maxSize pixels; a piece below minSize
// takes the region last met on its border.
std::vector<int32_t> EnforceConnectivity(const std::vector<int32_t>& seeds, int32_t width,
                                         int32_t height, int64_t minSize, int64_t maxSize,
                                         int32_t& regions) {
  const size_t pixels = seeds.size();
  std::vector<int32_t> region(pixels, -1);
  std::vector<uint32_t> piece(size_t(std::max<int64_t>(maxSize, 1)));
  int32_t next = 0;
  for (uint32_t start = 0; start < pixels; ++start) {
    if (region[start] >= 0) continue;
    const int32_t seed = seeds[start];
    int32_t adjacent = next;
    region[start] = next;
    piece[0] = start;
    int64_t size = 1, visited = 0;
    while (visited < size && size < maxSize) {
      const uint32_t p = piece[size_t(visited)];
      const int32_t x = int32_t(p % uint32_t(width)), y = int32_t(p / uint32_t(width));
      const bool inside[4] = {x + 1 < width, x > 0, y + 1 < height, y > 0};
      const uint32_t neighbour[4] = {p + 1, p - 1, p + uint32_t(width), p - uint32_t(width)};
      for (int i = 0; i < 4; ++i) {
        if (!inside[i]) continue;
        const uint32_t q = neighbour[i];
        if (seeds[q] == seed && region[q] < 0) {
          region[q] = next;
          piece[size_t(size++)] = q;
          if (size >= maxSize) break;
        } else if (region[q] >= 0 && region[q] != next) {
          adjacent = region[q];
        }
      }
      ++visited;
    }
    if (size < minSize)
      for (int64_t i = 0; i < size; ++i) region[piece[size_t(i)]] = adjacent;
    else
      ++next;
  }
  regions = next + 1;
  return region;
}

}  // namespace

TLabelMap SegmentSlic(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                      const TSlicParams& params, const TSegmentProgress& progress) {
  const size_t pixels = CheckedPixelCount(width, height);
  if (pixels == 0 || grey.size() < pixels || params.Segments < 1 || !(params.Compactness > 0))
    return {};

  // Levels scaled to 0..1 by their range, then divided by the compactness.
  std::vector<double> levels(pixels);
  for (size_t i = 0; i < pixels; ++i) levels[i] = double(grey[i]) * (1.0 / 255.0);
  const double low = *std::min_element(levels.begin(), levels.end());
  for (double& v : levels) v -= low;
  const double high = *std::max_element(levels.begin(), levels.end());
  const double ratio = 1.0 / params.Compactness;
  for (double& v : levels) v = (high != 0.0 ? v / high : v) * ratio;

  const TSeedGrid grid = SeedGrid(width, height, params.Segments);
  std::vector<TCentre> centres;
  for (int32_t y = grid.StartY; y < height; y += grid.StepY)
    for (int32_t x = grid.StartX; x < width; x += grid.StepX)
      centres.push_back({double(y), double(x)});
  const double cellSide = double(std::max({grid.StepY, grid.StepX, 1}));
  const TSeedGrid window = SeedGrid(width, height, int64_t(centres.size()));
  const std::vector<int32_t> seeds =
      Cluster(levels, width, height, centres, cellSide, window, progress);

  const double meanSize = double(pixels) / double(centres.size());
  int32_t regions = 0;
  const std::vector<int32_t> connected = EnforceConnectivity(
      seeds, width, height, int64_t(0.5 * meanSize), int64_t(3.0 * meanSize), regions);
  if (progress) progress(1.0);
  return NumberByFirstAppearance(width, height, connected, regions);
}

}  // namespace tvlc
