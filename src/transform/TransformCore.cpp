#include "transform/TransformCore.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "transform/FftKernel.h"

namespace tvlc {

namespace {

constexpr uint32_t kComplexSizeLimit = 32768;
constexpr uint32_t kDctSizeLimit = 16384;

// Bit-reversal permutation of an n1 x n2 block: columns inside every row, then
// whole rows, each pair swapped once as the tables list it.
void Permute(TComplex* a, uint32_t n1, uint32_t n2, const std::vector<uint16_t>& rowTable,
             const std::vector<uint16_t>& columnTable) {
  for (uint32_t r = 0; r < n2; ++r) {
    TComplex* row = a + size_t{r} * n1;
    for (uint32_t c = 0; c < n1; ++c)
      if (rowTable[c] != kReversalPartner && rowTable[c] != c) std::swap(row[c], row[rowTable[c]]);
  }
  for (uint32_t r = 0; r < n2; ++r)
    if (columnTable[r] != kReversalPartner && columnTable[r] != r)
      std::swap_ranges(a + size_t{r} * n1, a + size_t{r + 1} * n1, a + size_t{columnTable[r]} * n1);
}

// Element (r, c) -> ((n2 - r) mod n2, (n1 - c) mod n1): turns the forward FFT
// into the inverse one.
void ReverseIndices(TComplex* a, uint32_t n1, uint32_t n2) {
  for (uint32_t r = 0; r < n2; ++r) std::reverse(a + size_t{r} * n1 + 1, a + size_t{r + 1} * n1);
  for (uint32_t r = 1, s = n2 - 1; r < s; ++r, --s)
    std::swap_ranges(a + size_t{r} * n1, a + size_t{r + 1} * n1, a + size_t{s} * n1);
}

}  // namespace

uint8_t TTransformCore::Init(uint32_t n1, uint32_t n2, uint8_t kind) {
  if (state_ == kCoreInitialised || state_ == kCoreFailed) return TVLC_STATUS_ALREADY_INIT;
  if (state_ == kCoreBusy) return TVLC_STATUS_BUSY;
  if (!IsPowerOfTwo(n1) || !IsPowerOfTwo(n2)) return TVLC_STATUS_INVALID_SIZE;
  if (kind == kKindComplexFft && (n1 > kComplexSizeLimit || n2 > kComplexSizeLimit))
    return TVLC_STATUS_INVALID_SIZE;
  if (kind == kKindDct && (n1 > kDctSizeLimit || n2 > kDctSizeLimit)) return TVLC_STATUS_INVALID_SIZE;
  if (kind != kKindComplexFft && kind != kKindDct) return TVLC_STATUS_WRONG_STATE;
  try {
    if (kind == kKindComplexFft) {
      BuildComplexTables(n1, n2);
    } else {
      width_ = n1;
      height_ = n2;
      dct_.emplace(n1, n2);
    }
  } catch (const std::bad_alloc&) {
    ReleaseTables();
    return TVLC_STATUS_NO_MEMORY;
  }
  kind_ = kind;
  state_ = kCoreInitialised;
  return TVLC_STATUS_OK;
}

uint8_t TTransformCore::Done() {
  if (state_ == kCoreIdle) return TVLC_STATUS_NOT_INIT;
  if (state_ == kCoreBusy) return TVLC_STATUS_BUSY;
  if (kind_ != kKindComplexFft && kind_ != kKindDct) return TVLC_STATUS_WRONG_STATE;
  const uint8_t status = state_ == kCoreFailed ? failure_ : uint8_t{TVLC_STATUS_OK};
  ReleaseTables();
  kind_ = kKindNone;
  state_ = kCoreIdle;
  return status;
}

uint8_t TTransformCore::Reject(uint8_t status) {
  return RunBusy([status] { return status; });
}

uint8_t TTransformCore::Execute(uint32_t inverse, TFFTData* complexData, double* realData) {
  return RunBusy([&]() -> uint8_t {
    if (kind_ == kKindComplexFft) {
      if (!complexData) return realData ? TVLC_STATUS_WRONG_STATE : TVLC_STATUS_LENGTH_MISMATCH;
      if (complexData->size() != n_) return TVLC_STATUS_LENGTH_MISMATCH;
      if (inverse == 0) ComplexForward(complexData->data());
      if (inverse == 1) ComplexInverse(complexData->data());
    } else {
      if (!realData) return complexData ? TVLC_STATUS_WRONG_STATE : TVLC_STATUS_LENGTH_MISMATCH;
      if (TVLC_ARRAY_LENGTH(realData) != int64_t{width_} * height_) return TVLC_STATUS_LENGTH_MISMATCH;
      if (inverse == 0) dct_->Analyse(realData);
      if (inverse == 1) dct_->Synthesise(realData);
    }
    return TVLC_STATUS_OK;
  });
}

void TTransformCore::BuildComplexTables(uint32_t n1, uint32_t n2) {
  n1_ = n1;
  n2_ = n2;
  n_ = n1 * n2;
  root_ = std::sqrt(double(n_));
  rowTwiddles_ = Twiddles(n1);
  columnTwiddles_ = Twiddles(n2);
  rowReversal_ = BitReversalTable(n1);
  columnReversal_ = BitReversalTable(n2);
}

void TTransformCore::ReleaseTables() {
  rowTwiddles_ = TFFTData();
  columnTwiddles_ = TFFTData();
  rowReversal_ = std::vector<uint16_t>();
  columnReversal_ = std::vector<uint16_t>();
  dct_.reset();
}

void TTransformCore::InnerFft(TComplex* a) const {
  Permute(a, n1_, n2_, rowReversal_, columnReversal_);
  for (uint32_t r = 0; r < n2_; ++r)
    Butterflies(TInterleavedBlock{a + size_t{r} * n1_}, n1_, 1, 1, rowTwiddles_.data());
  Butterflies(TInterleavedBlock{a}, n2_, n1_, n1_, columnTwiddles_.data());
}

void TTransformCore::ComplexForward(TComplex* a) const {
  InnerFft(a);
  for (uint32_t i = 0; i < n_; ++i) a[i] = {a[i].Re / root_, a[i].Im / root_};
}

void TTransformCore::ComplexInverse(TComplex* a) const {
  ReverseIndices(a, n1_, n2_);
  ComplexForward(a);
}

}  // namespace tvlc
