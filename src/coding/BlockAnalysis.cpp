#include "coding/BlockAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/VectorClones.h"
#include "coding/EngineSteps.h"

namespace tvlc {

namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2.0;
// Room for the rounding of the bounds' own arithmetic and of the gains
// (each a few units), far beyond it.
constexpr double kBoundMargin = 1e-9;

int64_t FloorDivide(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The largest of `largest` and work^2 * inverseNorm over `count` values,
// four at a time in vector registers.
using TFourDoubles = double __attribute__((vector_size(32)));

TVLC_VECTOR_CLONES
double LargestGain(const double* __restrict work, const double* __restrict inverseNorms,
                   size_t count, double largest) {
  TFourDoubles top = {largest, largest, largest, largest};
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    TFourDoubles w, inverse;
    std::memcpy(&w, work + i, sizeof w);
    std::memcpy(&inverse, inverseNorms + i, sizeof inverse);
    const TFourDoubles gain = w * w * inverse;
    top = gain > top ? gain : top;
  }
  for (; i < count; ++i) largest = std::max(largest, work[i] * work[i] * inverseNorms[i]);
  for (int lane = 0; lane < 4; ++lane) largest = std::max(largest, top[lane]);
  return largest;
}

}  // namespace

TBlockAnalysis::TBlockAnalysis(const TCosineMoments& moments, const TShapeData& norms,
                               TShapeData& inverseNorms, TShapeData& work, uint16_t width,
                               uint16_t height)
    : moments_(moments),
      norms_(norms),
      inverseNorms_(inverseNorms),
      work_(work),
      width_(width),
      height_(height),
      blockColumns_((width + kBlockSide - 1) / kBlockSide),
      blockRows_((height + kBlockSide - 1) / kBlockSide),
      tileColumns_(blockColumns_) {
  for (size_t k = 0; k < norms_.size(); ++k)
    inverseNorms[k] = norms_[k] != 0.0 && !std::isnan(norms_[k]) ? 1.0 / norms_[k] : 0.0;
  for (uint32_t r = 0; r < blockRows_; ++r)
    for (uint32_t c = 0; c < blockColumns_; ++c) {
      TBlock block{c * kBlockSide, std::min(width_, (c + 1) * kBlockSide),
                   r * kBlockSide, std::min(height_, (r + 1) * kBlockSide),
                   0.0, 0.0, 0, 0.0, false, kNoCoefficient, 0.0, 0.0};
      double smallest = std::numeric_limits<double>::infinity();
      for (uint32_t v = block.V0; v < block.V1; ++v)
        for (uint32_t u = block.U0; u < block.U1; ++u) {
          const double n = norms_[size_t{v} * width_ + u];
          if (n != 0.0 && !std::isnan(n)) smallest = std::min(smallest, n);
        }
      block.InverseRoot = std::isinf(smallest) ? 0.0 : 1.0 / std::sqrt(smallest);
      blocks_.push_back(block);
    }
  // The moment table has the window's shape, so its tiles are the blocks'.
  const TShapeData& table = moments_.Table();
  tileMaxima_.assign(blocks_.size(), 0.0);
  for (uint32_t b = 0; b < height_; ++b)
    for (uint32_t a = 0; a < width_; ++a) {
      double& tile = tileMaxima_[size_t{b / kBlockSide} * tileColumns_ + a / kBlockSide];
      tile = std::max(tile, std::fabs(table[size_t{b} * width_ + a]));
    }
  plusColumns_.resize(blockColumns_);
  minusColumns_.resize(blockColumns_);
  plusRows_.resize(blockRows_);
  minusRows_.resize(blockRows_);
}

TBlockAnalysis::TTileRange TBlockAnalysis::FoldedTiles(int64_t low, int64_t high, uint32_t n) {
  const int64_t length = n, lastTile = (length - 1) / kBlockSide;
  if (high - low + 1 >= 2 * length) return {0, uint32_t(lastTile)};
  // The folded index is a triangle wave: rising from 0 at even multiples of
  // n, falling from n (a vanishing cosine, counted as n - 1) at odd ones.
  const auto fold = [&](int64_t a) {
    int64_t r = a % (2 * length);
    if (r < 0) r += 2 * length;
    return std::min(r <= length ? r : 2 * length - r, length - 1);
  };
  const int64_t lowFold = fold(low), highFold = fold(high);
  int64_t first = std::min(lowFold, highFold), last = std::max(lowFold, highFold);
  const int64_t turn = (FloorDivide(low, length) + 1) * length;  // the first multiple past low
  if (turn < high) {
    if (turn + length < high) return {0, uint32_t(lastTile)};
    if (FloorDivide(turn, length) % 2 == 0)
      first = 0;
    else
      last = length - 1;
  }
  return {uint32_t(first / kBlockSide), uint32_t(last / kBlockSide)};
}

double TBlockAnalysis::TileMaximum(TTileRange columns, TTileRange rows) const {
  double largest = 0.0;
  for (uint32_t r = rows.First; r <= rows.Last; ++r)
    for (uint32_t c = columns.First; c <= columns.Last; ++c)
      largest = std::max(largest, tileMaxima_[size_t{r} * tileColumns_ + c]);
  return largest;
}

size_t TBlockAnalysis::Coefficients(const TBlock& block) {
  return size_t{block.U1 - block.U0} * (block.V1 - block.V0);
}

bool TBlockAnalysis::ExactAnalysisPays() const {
  const double n = double(work_.size());
  return double(workSinceRefresh_) >=
         n * (kExactAnalysisBase + kExactAnalysisPerLevel * std::log2(n));
}

void TBlockAnalysis::Measure(TBlock& block) {
  double largest = 0.0;
  for (uint32_t v = block.V0; v < block.V1; ++v) {
    const size_t row = size_t{v} * width_ + block.U0;
    largest = LargestGain(work_.data() + row, inverseNorms_.data() + row, block.U1 - block.U0,
                          largest);
  }
  block.Amplitude = std::sqrt(largest) * (1.0 + kBoundMargin);
  block.LowestBest = largest * (1.0 - kBoundMargin);
  block.Scanned = false;
  block.Current = log_.size();
  workSinceRefresh_ += Coefficients(block) / kMeasuresPerUpdate;
}

void TBlockAnalysis::Scan(TBlock& block) {
  TLeadingScan scan(work_, norms_, true);
  for (uint32_t v = block.V0; v < block.V1; ++v)
    scan.Add(size_t{v} * width_ + block.U0, size_t{v} * width_ + block.U1);
  const TLeadingPair pair = scan.Result();
  block.Best = pair.Best;
  block.BestGain = pair.BestGain;
  block.SecondGain = pair.RunnerUpGain;
  block.Scanned = true;
  workSinceRefresh_ += Coefficients(block);
}

void TBlockAnalysis::MakeCurrent(TBlock& block) {
  if (block.Current == log_.size()) return;
  for (size_t i = block.Current; i < log_.size(); ++i)
    moments_.SubtractGramColumn(log_[i].J, log_[i].M, work_, block.U0, block.U1, block.V0,
                                block.V1);
  workSinceRefresh_ += (log_.size() - block.Current) * Coefficients(block);
  Measure(block);
}

void TBlockAnalysis::Refresh() {
  log_.clear();
  for (TBlock& block : blocks_) Measure(block);
  workSinceRefresh_ = 0;
}

void TBlockAnalysis::Update(size_t j, double m) {
  log_.push_back({j, m});
  workSinceRefresh_ += blocks_.size() * kBoundUpdateCost;
  const int64_t uj = int64_t(j % width_), vj = int64_t(j / width_);
  for (uint32_t c = 0; c < blockColumns_; ++c) {
    const int64_t u0 = int64_t{c} * kBlockSide, u1 = std::min<int64_t>(width_, u0 + kBlockSide) - 1;
    plusColumns_[c] = FoldedTiles(u0 + uj, u1 + uj, width_);
    minusColumns_[c] = FoldedTiles(u0 - uj, u1 - uj, width_);
  }
  for (uint32_t r = 0; r < blockRows_; ++r) {
    const int64_t v0 = int64_t{r} * kBlockSide, v1 = std::min<int64_t>(height_, v0 + kBlockSide) - 1;
    plusRows_[r] = FoldedTiles(v0 + vj, v1 + vj, height_);
    minusRows_[r] = FoldedTiles(v0 - vj, v1 - vj, height_);
  }
  // |G[k][j]| <= scale(k) scale(j) / 4 times the four moment magnitudes.
  const double factor =
      std::fabs(m) * moments_.Scale(j) * moments_.LargestScale() * 0.25 * (1.0 + kBoundMargin);
  for (uint32_t r = 0; r < blockRows_; ++r)
    for (uint32_t c = 0; c < blockColumns_; ++c) {
      TBlock& block = blocks_[size_t{r} * blockColumns_ + c];
      if (block.InverseRoot == 0.0) continue;
      const double moments =
          TileMaximum(plusColumns_[c], plusRows_[r]) + TileMaximum(minusColumns_[c], plusRows_[r]) +
          TileMaximum(plusColumns_[c], minusRows_[r]) + TileMaximum(minusColumns_[c], minusRows_[r]);
      block.Amplitude = block.Amplitude * (1.0 + 4.0 * kUnit) + factor * moments * block.InverseRoot;
    }
}

TLeadingPair TBlockAnalysis::Choose() {
  // The block with the highest bound first: its best sets the bar the
  // others must reach to be looked at.
  TBlock* top = nullptr;
  for (TBlock& block : blocks_)
    if (block.InverseRoot != 0.0 && (!top || block.Amplitude > top->Amplitude)) top = &block;
  if (!top) return {kNoCoefficient, 0.0, 0.0};
  MakeCurrent(*top);
  double bar = 0.0;
  for (const TBlock& block : blocks_)
    if (block.Current == log_.size()) bar = std::max(bar, block.LowestBest);
  candidates_.clear();
  const auto reaches = [&](const TBlock& block) {
    return block.Amplitude * block.Amplitude >= bar * (1.0 - kBoundMargin);
  };
  for (size_t b = 0; b < blocks_.size(); ++b)
    if (blocks_[b].InverseRoot != 0.0 && blocks_[b].Current != log_.size() && reaches(blocks_[b]))
      candidates_.push_back(b);
  std::sort(candidates_.begin(), candidates_.end(),
            [&](size_t a, size_t b) { return blocks_[a].Amplitude > blocks_[b].Amplitude; });
  for (size_t b : candidates_) {
    TBlock& block = blocks_[b];
    if (!reaches(block)) break;
    MakeCurrent(block);
    bar = std::max(bar, block.LowestBest);
  }

  // The best of the blocks that might hold it, by the rule's own pass over
  // each, the lowest index on ties; every other block counts with its
  // bound towards the runner-up.
  TLeadingPair pair{kNoCoefficient, 0.0, 0.0};
  const TBlock* bestBlock = nullptr;
  for (TBlock& block : blocks_) {
    if (block.InverseRoot == 0.0 || block.Current != log_.size() || !reaches(block)) continue;
    if (!block.Scanned) Scan(block);
    if (block.Best == kNoCoefficient) continue;
    if (!bestBlock || block.BestGain > pair.BestGain ||
        (block.BestGain == pair.BestGain && block.Best < pair.Best)) {
      bestBlock = &block;
      pair.Best = block.Best;
      pair.BestGain = block.BestGain;
    }
  }
  for (const TBlock& block : blocks_) {
    if (block.InverseRoot == 0.0) continue;
    const bool scanned = block.Current == log_.size() && block.Scanned;
    const double rival = &block == bestBlock ? block.SecondGain
                         : scanned           ? block.BestGain
                                             : block.Amplitude * block.Amplitude;
    pair.RunnerUpGain = std::max(pair.RunnerUpGain, rival);
  }
  return pair;
}

bool TBlockAnalysis::AnyRivalWithin(size_t best, double error) {
  const double bestNorm = norms_[best];
  const double bestLow = std::fabs(work_[best]) - error;
  if (bestLow <= 0.0) return true;
  const double bar = bestLow / std::sqrt(bestNorm) * (1.0 - kBoundMargin);
  for (TBlock& block : blocks_) {
    if (block.InverseRoot == 0.0 || block.Amplitude + error * block.InverseRoot < bar) continue;
    MakeCurrent(block);
    for (uint32_t v = block.V0; v < block.V1; ++v) {
      const size_t row = size_t{v} * width_;
      if (tvlc::AnyRivalWithin(work_, norms_, best, error, row + block.U0, row + block.U1))
        return true;
    }
  }
  return false;
}

}  // namespace tvlc
