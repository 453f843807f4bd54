// The orthonormal two-dimensional DCT II of a power-of-two block and its
// inverse. Each axis is a real N-point DCT computed through an N/2-point
// complex FFT: the samples are reordered (evens forward, odds backward),
// packed in pairs into complex values, transformed, and one twiddle step
// unpacks the real spectrum and turns it into cosine coefficients. The FFTs
// of a strip of neighbouring rows or columns run side by side. A strip of
// zeros (+0 throughout: the columns outside a shape, or those of a sparse
// spectrum) is not transformed: it takes the transform of zeros, worked out
// once, signs of zero included, so that the result is the same bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "transform/Complex.h"
#include "transform/FftKernel.h"

namespace tvlc {

// Lanes that are neighbouring columns: element i of lane l at Base[i * Step + l].
struct TColumnLanes {
  double* Base;
  size_t Step;
  double& At(uint32_t i, size_t l) const { return Base[i * Step + l]; }
};

// Lanes that are neighbouring rows: element i of lane l at Base[l * Step + i].
struct TRowLanes {
  double* Base;
  size_t Step;
  double& At(uint32_t i, size_t l) const { return Base[l * Step + i]; }
};

class TDctAxis {
 public:
  // Tables for length n (a power of two).
  explicit TDctAxis(uint32_t n);

  // Lanes per strip: enough for long inner loops, few enough for the strip's
  // FFTs to stay in the first-level cache.
  size_t StripLanes() const { return stripLanes_; }

  // Transform `lanes` lanes in place; scratch holds n/2 * lanes complex values.
  template <class Lanes>
  void Analyse(Lanes block, size_t lanes, TSplitBlock scratch) const;
  template <class Lanes>
  void Synthesise(Lanes block, size_t lanes, TSplitBlock scratch) const;

 private:
  // The transforms proper, whatever the lanes hold.
  template <class Lanes>
  void AnalyseLanes(Lanes block, size_t lanes, TSplitBlock scratch) const;
  template <class Lanes>
  void SynthesiseLanes(Lanes block, size_t lanes, TSplitBlock scratch) const;
  // When every value of the lanes is +0, gives each lane `transform` (the
  // transform of zeros) and returns true.
  template <class Lanes>
  bool FillZeroLanes(Lanes block, size_t lanes, const std::vector<double>& transform) const;

  // Position in the block of element p of the even/odd reordered sequence.
  uint32_t Source(uint32_t p) const { return p < half_ ? 2 * p : 2 * n_ - 2 * p - 1; }

  uint32_t n_, half_;
  size_t stripLanes_;
  double analysisEdge_ = 1.0, synthesisEdge_ = 1.0;  // scales of coefficients 0 and n/2
  std::vector<uint32_t> reversal_;          // where packed pair p enters the FFT
  TFFTData twiddles_;                       // of the half_-point FFT
  TFFTData unpackDirect_, unpackMirror_;    // analysis: c(k) = direct(k) Z(k) + mirror(k) conj Z(half-k)
  TFFTData packDirect_, packMirror_;        // synthesis: Z(k) from coefficients k, n-k, half-k, half+k
  std::vector<double> zeroAnalysis_, zeroSynthesis_;  // the transforms of a lane of +0
};

class TDctPlan {
 public:
  TDctPlan(uint32_t width, uint32_t height);

  // In place on width x height doubles, row-major.
  void Analyse(double* block);
  void Synthesise(double* block);

 private:
  template <class Pass>
  void ForEachStrip(double* block, Pass pass);

  uint32_t width_, height_;
  TDctAxis rows_, columns_;
  std::vector<double> scratchRe_, scratchIm_;
};

}  // namespace tvlc
