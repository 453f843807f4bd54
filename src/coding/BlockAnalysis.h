// The carried analysis of a large window kept lazily, block by block, so
// that an iteration costs far less than a pass over the window.
//
// The coefficients are cut into tiles of kBlockSide x kBlockSide. Every
// Gram-column update of the analysis is logged instead of applied; a block
// applies the updates it has missed, in the order they came (so its values
// are bit for bit those of the whole update), only when it might hold the
// best candidate or a rival of it. For that each block keeps an upper bound
// of the amplitude |work| / sqrt(norm) of its coefficients: exact when the
// block is current, and raised by every logged update by what the update
// can change it at most. The Gram entry of coefficients k and j combines
// four cosine moments at the sum and difference frequencies, so over a
// block it is bounded by the largest moment magnitudes over four shifted
// ranges of the moment table: a table of the largest magnitude over windows
// of 5 x 5 tiles of 8 x 8 moments, each window covering any 32 frequencies
// that start in its first tile, gives them in four look-ups.
//
// A block made current is only measured, by a pass that finds its largest
// gain through the inverse norms (a few roundings from the rule's own, far
// within the bounds' margin) and tightens its bound. The rule's own choice
// pass, with the lowest index on ties and the runner-up, runs only on the
// blocks that might hold the best.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "coding/CosineMoments.h"
#include "coding/LeadingCandidates.h"
#include "model/Arrays.h"

namespace tvlc {

class TBlockAnalysis {
 public:
  // Side of a block of coefficients and of a tile of the moment table.
  static constexpr uint32_t kBlockSide = 32;

  // Keeps references to all four, which must outlive the object;
  // `inverseNorms` is storage of the window's size, filled here.
  TBlockAnalysis(const TCosineMoments& moments, const TShapeData& norms,
                 TShapeData& inverseNorms, TShapeData& work, uint16_t width, uint16_t height);

  // `work` was just analysed exactly: every block is current.
  void Refresh();
  // Whether the work spent since the last exact analysis on keeping the
  // blocks current (updates applied, blocks measured and scanned, bounds
  // raised) has reached what an exact analysis costs. Analysing afresh then
  // keeps the total within twice the better of the two (the rent-or-buy
  // rule), and leaves every bound tight again.
  bool ExactAnalysisPays() const;
  // Logs work[k] -= m * G[k][j] and raises every block's bound.
  void Update(size_t j, double m);
  // The best candidate of the engine's rule and an upper bound of the
  // runner-up's gain, with every block that might hold the best made
  // current first.
  TLeadingPair Choose();
  // Choose() on an exact analysis (every block current), with the best of
  // ChooseLeadingPair bit for bit: where a rival comes within the rounding
  // of the rule's comparisons, whose order then decides, by its pass over
  // the whole window.
  TLeadingPair ChooseOnExactAnalysis();
  // AnyRivalWithin over the whole analysis, making current the blocks that
  // might hold a rival.
  bool AnyRivalWithin(size_t best, double error);
  // What the blocks know of coefficient k: an upper bound of
  // |work[k]| / sqrt(norm[k]) once every logged update is applied.
  double AmplitudeBound(size_t k) const;

 private:
  struct TBlock {
    uint32_t U0, U1, V0, V1;
    double InverseRoot;      // 1 / sqrt of its smallest usable norm; 0 when none
    double Amplitude;        // bound of |work| / sqrt(norm) over its usable coefficients
    size_t Current;          // logged updates applied
    double LowestBest;       // when current, a lower bound of its best gain
    bool Scanned;            // when current, whether the next three hold
    size_t Best;             // its best candidate, kNoCoefficient when none
    double BestGain, SecondGain;
  };
  struct TUpdate {
    size_t J;
    double M;
  };

  static size_t Coefficients(const TBlock& block);
  void MakeCurrent(TBlock& block);
  // Its bound and lower bound from its values as they stand.
  void Measure(TBlock& block);
  // The rule's choice pass over a current block.
  void Scan(TBlock& block);
  // The tile of the window of the moment table that holds the folded
  // frequencies [low, high] (fewer than `side`) of an axis of length n.
  static uint32_t FoldedWindow(int64_t low, int64_t high, uint32_t n, uint32_t side);

  const TCosineMoments& moments_;
  const TShapeData& norms_;
  const TShapeData& inverseNorms_;  // 1 / norm, 0 for an unusable norm
  TShapeData& work_;
  uint32_t width_, height_, blockColumns_, blockRows_;
  uint32_t windowColumns_, windowRows_;  // the runs of frequencies a window must cover
  uint32_t tileColumns_ = 0;             // of the moment table
  std::vector<TBlock> blocks_;
  // Tiles of the moment table, and windows of tiles: max |C| over the
  // window starting at each tile.
  static constexpr uint32_t kTileSide = 8, kWindowTiles = 5;
  // A window covers any kBlockSide frequencies that start in its first tile.
  static_assert(kWindowTiles * kTileSide >= kBlockSide + kTileSide - 1);
  std::vector<double> windowMaxima_;
  std::vector<TUpdate> log_;
  // Where the windows of a block column or row start, for the update at hand.
  std::vector<uint32_t> plusColumns_, minusColumns_;
  std::vector<size_t> plusRows_, minusRows_;
  std::vector<size_t> candidates_;
  // Work since the last exact analysis, in coefficients updated or scanned.
  size_t workSinceRefresh_ = 0;
  // An exact analysis (two transforms of the window and a few passes over
  // it) costs about (base + per level * log2 N) N of those, as measured
  // against the Gram-column update; raising a block's bound about 16, and
  // measuring it about a quarter.
  static constexpr double kExactAnalysisBase = 8.0, kExactAnalysisPerLevel = 1.0;
  static constexpr size_t kBoundUpdateCost = 16, kMeasuresPerUpdate = 4;
  double exactAnalysisCost_;
};

}  // namespace tvlc
