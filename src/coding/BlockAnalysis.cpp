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
      windowColumns_(std::min(width_, kBlockSide)),
      windowRows_(std::min(height_, kBlockSide)) {
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
  // The largest |C| of every kTileSide x kTileSide tile of the moment
  // table, then of every kWindowTiles x kWindowTiles tiles: the window at
  // tile (a, b) covers every run of kBlockSide frequencies that starts in
  // tile (a, b).
  const TShapeData& table = moments_.Table();
  tileColumns_ = (width_ + kTileSide - 1) / kTileSide;
  const uint32_t tileRows = (height_ + kTileSide - 1) / kTileSide;
  windowMaxima_.assign(size_t{tileColumns_} * tileRows, 0.0);
  for (uint32_t b = 0; b < height_; ++b)
    for (uint32_t a = 0; a < width_; ++a) {
      double& tile = windowMaxima_[size_t{b / kTileSide} * tileColumns_ + a / kTileSide];
      tile = std::max(tile, std::fabs(table[size_t{b} * width_ + a]));
    }
  // Along lines of `count` tiles `step` apart, in increasing order, so that
  // the tiles read are not yet widened.
  const auto widen = [&](uint32_t count, uint32_t lines, size_t step, size_t lineStep) {
    for (uint32_t line = 0; line < lines; ++line) {
      double* tiles = windowMaxima_.data() + line * lineStep;
      for (uint32_t i = 0; i < count; ++i)
        for (uint32_t t = 1; t < kWindowTiles && i + t < count; ++t)
          tiles[i * step] = std::max(tiles[i * step], tiles[(i + t) * step]);
    }
  };
  widen(tileColumns_, tileRows, 1, tileColumns_);
  widen(tileRows, tileColumns_, tileColumns_, 1);
  plusColumns_.resize(blockColumns_);
  minusColumns_.resize(blockColumns_);
  plusRows_.resize(blockRows_);
  minusRows_.resize(blockRows_);
}

uint32_t TBlockAnalysis::FoldedWindow(int64_t low, int64_t high, uint32_t n, uint32_t side) {
  const int64_t length = n;
  // The folded index is a triangle wave: rising from 0 at even multiples of
  // n, falling from n (a vanishing cosine, counted as n - 1) at odd ones.
  // Fewer than n frequencies pass at most one turn, so they fold onto a run
  // of fewer than `side` indices; it starts at the lower end's fold, or at 0
  // when they pass an even multiple.
  const auto fold = [&](int64_t a) {
    int64_t r = a % (2 * length);
    if (r < 0) r += 2 * length;
    return std::min(r <= length ? r : 2 * length - r, length - 1);
  };
  int64_t first = std::min(fold(low), fold(high));
  const int64_t turn = (FloorDivide(low, length) + 1) * length;  // the first multiple past low
  if (turn < high && FloorDivide(turn, length) % 2 == 0) first = 0;
  return uint32_t(std::min<int64_t>(first, length - side)) / kTileSide;
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
    plusColumns_[c] = FoldedWindow(u0 + uj, u1 + uj, width_, windowColumns_);
    minusColumns_[c] = FoldedWindow(u0 - uj, u1 - uj, width_, windowColumns_);
  }
  for (uint32_t r = 0; r < blockRows_; ++r) {
    const int64_t v0 = int64_t{r} * kBlockSide, v1 = std::min<int64_t>(height_, v0 + kBlockSide) - 1;
    plusRows_[r] = size_t{FoldedWindow(v0 + vj, v1 + vj, height_, windowRows_)} * tileColumns_;
    minusRows_[r] = size_t{FoldedWindow(v0 - vj, v1 - vj, height_, windowRows_)} * tileColumns_;
  }
  // |G[k][j]| <= scale(k) scale(j) / 4 times the four moment magnitudes.
  const double factor =
      std::fabs(m) * moments_.Scale(j) * moments_.LargestScale() * 0.25 * (1.0 + kBoundMargin);
  for (uint32_t r = 0; r < blockRows_; ++r)
    for (uint32_t c = 0; c < blockColumns_; ++c) {
      TBlock& block = blocks_[size_t{r} * blockColumns_ + c];
      if (block.InverseRoot == 0.0) continue;
      const double* plusRow = windowMaxima_.data() + plusRows_[r];
      const double* minusRow = windowMaxima_.data() + minusRows_[r];
      const double moments = plusRow[plusColumns_[c]] + plusRow[minusColumns_[c]] +
                             minusRow[plusColumns_[c]] + minusRow[minusColumns_[c]];
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

double TBlockAnalysis::AmplitudeBound(size_t k) const {
  const uint32_t u = uint32_t(k % width_), v = uint32_t(k / width_);
  return blocks_[size_t{v / kBlockSide} * blockColumns_ + u / kBlockSide].Amplitude;
}

TLeadingPair TBlockAnalysis::ChooseOnExactAnalysis() {
  // The rule compares by cross-multiplication in index order; the blocks
  // compare their bests' quotients in block order. With every other gain
  // behind by far more than a few roundings the two agree.
  constexpr double kComparisonMargin = 1e-12;
  const TLeadingPair pair = Choose();
  if (pair.BestGain > pair.RunnerUpGain * (1.0 + kComparisonMargin)) return pair;
  return ChooseLeadingPair(work_, norms_, true);
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
