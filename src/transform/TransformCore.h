// The transform core: the engine of the built-in module that runs
// two-dimensional power-of-two FFTs (complex kind) and the orthonormal DCT II
// of a W x H block (DCT kind). DCT II and FFT share a thread's core, so only
// one of them can be initialised at a time on that thread.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "transform/Complex.h"
#include "transform/DctKernel.h"
#include "tvlc/module.h"

namespace tvlc {

enum TCoreState : uint8_t { kCoreIdle = 0, kCoreInitialised = 1, kCoreBusy = 2, kCoreFailed = 3 };
enum TCoreKind : uint8_t { kKindComplexFft = 0, kKindDct = 1, kKindNone = 2 };

class TTransformCore {
 public:
  TTransformCore() = default;
  TTransformCore(const TTransformCore&) = delete;
  TTransformCore& operator=(const TTransformCore&) = delete;

  // Complex kind: n1 x n2 FFT, each at most 32768. DCT kind: W = n1, H = n2,
  // each at most 16384.
  uint8_t Init(uint32_t n1, uint32_t n2, uint8_t kind);
  uint8_t Done();
  // inverse 0 forward, 1 inverse, anything else does nothing. The complex kind
  // transforms complexData (n1*n2 elements), the DCT kind realData in place
  // (W*H doubles that carry their length, see TVLC_ARRAY_LENGTH). The array
  // the kind does not use may be null.
  uint8_t Execute(uint32_t inverse, TFFTData* complexData, double* realData);

  // Runs one transform job with the core busy. A non-zero status of the job
  // leaves the core failed, and so does an exception, which becomes status 1
  // instead of escaping into a C slot; the following Done reports the failure
  // and returns the core to idle.
  template <class Job>
  uint8_t RunBusy(Job&& job);
  // A transformation refuses its input: the core fails with `status` as if a
  // transform had, so that the following Done reports it.
  uint8_t Reject(uint8_t status);

  uint8_t State() const { return state_; }
  uint8_t Kind() const { return kind_; }
  // Bit-reversal swap tables of the complex kind (empty in the DCT kind).
  const std::vector<uint16_t>& RowReversal() const { return rowReversal_; }
  const std::vector<uint16_t>& ColumnReversal() const { return columnReversal_; }

 private:
  void BuildComplexTables(uint32_t n1, uint32_t n2);
  void ReleaseTables();
  void ComplexForward(TComplex* a) const;
  void ComplexInverse(TComplex* a) const;
  void InnerFft(TComplex* a) const;

  uint8_t state_ = kCoreIdle;
  uint8_t kind_ = kKindNone;
  uint8_t failure_ = TVLC_STATUS_OK;  // status that left the core failed
  uint32_t n1_ = 0, n2_ = 0, n_ = 0;
  double root_ = 0.0;
  TFFTData rowTwiddles_, columnTwiddles_;
  std::vector<uint16_t> rowReversal_, columnReversal_;
  // DCT kind.
  uint32_t width_ = 0, height_ = 0;
  std::optional<TDctPlan> dct_;
};

template <class Job>
uint8_t TTransformCore::RunBusy(Job&& job) {
  if (state_ == kCoreIdle) return TVLC_STATUS_NOT_INIT;
  if (state_ == kCoreBusy) return TVLC_STATUS_BUSY;
  state_ = kCoreBusy;
  uint8_t status;
  try {
    status = job();
  } catch (...) {
    status = TVLC_STATUS_NO_MEMORY;
  }
  failure_ = status;
  state_ = status == TVLC_STATUS_OK ? kCoreInitialised : kCoreFailed;
  return status;
}

// The core of the calling thread's transform state (TransformState.h).
TTransformCore& TransformCore();

}  // namespace tvlc
