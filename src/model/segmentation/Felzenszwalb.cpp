#include "model/segmentation/Felzenszwalb.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

#include "model/segmentation/GaussianSmoothing.h"

namespace tvlc {

namespace {

// An edge is stored as its weight, rounded to a float, in the high 32 bits
// (the bits of a float that is not negative order like the float itself) and
// its number in the low 32 bits: the block in the top 2 bits, the pixel it
// starts from below them. The four blocks hold the edges to the left
// neighbour, the one above, the one above left and the one below left. A
// stable sort by the high word thus orders equal weights by block, then by
// pixel, row by row.
enum TEdgeBlock { kLeft, kUp, kUpLeft, kDownLeft, kBlockCount };
constexpr int kBlockShift = 30;
constexpr uint32_t kPixelMask = (1u << kBlockShift) - 1;

class TEdgeList {
 public:
  TEdgeList(const std::vector<double>& levels, int32_t width, int32_t height)
      : offsets_{-1, -int64_t(width), -int64_t(width) - 1, int64_t(width) - 1} {
    edges_.reserve(4 * size_t(width) * size_t(height));
    for (uint32_t block = 0; block < kBlockCount; ++block) {
      const int32_t firstRow = block == kUp || block == kUpLeft ? 1 : 0;
      const int32_t lastRow = block == kDownLeft ? height - 2 : height - 1;
      const int32_t firstColumn = block == kUp ? 0 : 1;
      for (int32_t y = firstRow; y <= lastRow; ++y)
        for (int32_t x = firstColumn; x < width; ++x) {
          const uint32_t p = uint32_t(y) * uint32_t(width) + uint32_t(x);
          const uint32_t number = block << kBlockShift | p;
          const float weight = float(std::fabs(levels[p] - levels[Other(number)]));
          edges_.push_back(uint64_t(std::bit_cast<uint32_t>(weight)) << 32 | number);
        }
    }
  }

  // Stable LSD radix sort on the high word in digits of 11, 11 and 10 bits.
  void SortByWeight() {
    std::vector<uint64_t> buffer(edges_.size());
    for (int shift : {32, 43, 54}) {
      std::vector<size_t> start(2049, 0);
      for (uint64_t e : edges_) ++start[((e >> shift) & 0x7FF) + 1];
      std::partial_sum(start.begin(), start.end(), start.begin());
      for (uint64_t e : edges_) buffer[start[(e >> shift) & 0x7FF]++] = e;
      edges_.swap(buffer);
    }
  }

  size_t Size() const { return edges_.size(); }
  uint32_t From(size_t i) const { return uint32_t(edges_[i]) & kPixelMask; }
  uint32_t To(size_t i) const { return Other(uint32_t(edges_[i])); }
  // Keeps edge i as the kept-th edge; Truncate(kept) drops the rest.
  void Keep(size_t kept, size_t i) { edges_[kept] = edges_[i]; }
  void Truncate(size_t kept) { edges_.resize(kept); }

 private:
  uint32_t Other(uint32_t number) const {
    return uint32_t(int64_t(number & kPixelMask) + offsets_[number >> kBlockShift]);
  }

  int64_t offsets_[kBlockCount];
  std::vector<uint64_t> edges_;
};

// Union-find over the pixels with the size and the largest inner edge
// weight of every region, kept at its root. The parents sit apart from the
// rest, so that the common case, both ends already in one region, reads
// the smallest array.
class TRegions {
 public:
  explicit TRegions(size_t count) : parent_(count), roots_(count) {
    std::iota(parent_.begin(), parent_.end(), 0u);
  }

  uint32_t Find(uint32_t p) {
    while (parent_[p] != p) {
      parent_[p] = parent_[parent_[p]];
      p = parent_[p];
    }
    return p;
  }
  // Joins two roots and returns the root of the joined region.
  uint32_t Join(uint32_t a, uint32_t b) {
    if (roots_[a].Size < roots_[b].Size) std::swap(a, b);
    parent_[b] = a;
    roots_[a].Size += roots_[b].Size;
    return a;
  }
  void SetInnerWeight(uint32_t root, double weight) { roots_[root].Inner = weight; }
  uint32_t Size(uint32_t root) const { return roots_[root].Size; }
  // The threshold of the paper, held in single precision as scikit-image
  // holds it, so that the same edges pass.
  float Threshold(uint32_t root, double k) const {
    return float(roots_[root].Inner + k / double(roots_[root].Size));
  }

 private:
  struct TRoot {
    uint32_t Size = 1;
    double Inner = 0.0;
  };
  std::vector<uint32_t> parent_;
  std::vector<TRoot> roots_;
};

}  // namespace

TLabelMap SegmentFelzenszwalb(const std::vector<uint8_t>& grey, int32_t width, int32_t height,
                              const TFelzenszwalbParams& params, const TSegmentProgress& progress) {
  const size_t pixels = CheckedPixelCount(width, height);
  if (pixels == 0 || grey.size() < pixels) return {};
  auto report = [&](double fraction) {
    if (progress) progress(fraction);
  };

  std::vector<double> levels(pixels);
  for (size_t i = 0; i < pixels; ++i) levels[i] = double(grey[i]) * (1.0 / 255.0);
  levels = SmoothGaussian(levels, width, height, params.Sigma);
  report(0.1);
  TEdgeList edges(levels, width, height);
  report(0.2);
  edges.SortByWeight();
  report(0.4);

  TRegions regions(pixels);
  const double k = params.Scale / 255.0;
  constexpr size_t kReportEvery = size_t(1) << 16;
  const double share = 0.4 / double(std::max<size_t>(edges.Size(), 1));
  // Edges inside a region stay inside; only the refused ones can join
  // regions later, so only they are kept for the second pass.
  size_t refused = 0;
  for (size_t i = 0; i < edges.Size(); ++i) {
    if (i % kReportEvery == 0) report(0.4 + share * double(i));
    const uint32_t from = edges.From(i), to = edges.To(i);
    const uint32_t a = regions.Find(from), b = regions.Find(to);
    if (a == b) continue;
    const double weight = std::fabs(levels[from] - levels[to]);
    if (weight < std::min(regions.Threshold(a, k), regions.Threshold(b, k)))
      regions.SetInnerWeight(regions.Join(a, b), weight);
    else
      edges.Keep(refused++, i);
  }
  edges.Truncate(refused);
  report(0.8);
  const uint32_t minSize = uint32_t(std::max(params.MinSize, 0));
  const double refusedShare = 0.1 / double(std::max<size_t>(edges.Size(), 1));
  for (size_t i = 0; i < edges.Size(); ++i) {
    if (i % kReportEvery == 0) report(0.8 + refusedShare * double(i));
    const uint32_t a = regions.Find(edges.From(i)), b = regions.Find(edges.To(i));
    if (a != b && (regions.Size(a) < minSize || regions.Size(b) < minSize)) regions.Join(a, b);
  }
  report(0.9);

  std::vector<int32_t> roots(pixels);
  for (size_t p = 0; p < pixels; ++p) roots[p] = int32_t(regions.Find(uint32_t(p)));
  report(1.0);
  return NumberByFirstAppearance(width, height, roots, int32_t(pixels));
}

}  // namespace tvlc
