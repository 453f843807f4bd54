#include "transform/FFTModule.h"

#include <algorithm>
#include <new>
#include <numbers>

#include "model/Arrays.h"
#include "transform/Complex.h"
#include "transform/InternalModule.h"
#include "transform/TransformCore.h"

namespace tvlc {

namespace {

enum : int32_t { kParamComponent = 0, kParamImaginaryPlane = 1, kParamImagMode = 2 };

// 0: Basis returns the real part, 1: the imaginary part.
uint8_t component = 0;
// 1: Transform starts from a zero imaginary part, 0: from the imaginary plane.
uint8_t imagMode = 1;
TFFTData work;
// Allocated with its length in front, so its address can be handed out by
// GetParam and taken back by SetParam like any array of the program.
TShapeData imaginaryPlane;
// exp(+2*pi*i*j/W) and exp(+2*pi*i*j/H): the basis functions.
TFFTData rowTable, columnTable;

TTransDescriptor& Descriptor();

size_t BlockSize() { return size_t(Descriptor().Width) * size_t(Descriptor().Height); }

TFFTData UnitRoots(uint32_t n) {
  TFFTData roots(n);
  for (uint32_t j = 0; j < n; ++j) roots[j] = UnitComplex(2.0 * std::numbers::pi * j / n);
  return roots;
}

void ReleaseArrays() {
  work = TFFTData();
  imaginaryPlane.clear();
  rowTable = TFFTData();
  columnTable = TFFTData();
}

bool CoreHoldsFft() { return TransformCore().Kind() == kKindComplexFft; }

// Status for the slots that need the FFT initialised.
uint8_t ReadyStatus() {
  if (TransformCore().State() == kCoreIdle) return TVLC_STATUS_NOT_INIT;
  if (!CoreHoldsFft()) return TVLC_STATUS_WRONG_STATE;
  return TVLC_STATUS_OK;
}

uint8_t Init(uint32_t width, uint32_t height) {
  TTransDescriptor& d = Descriptor();
  component = 0;
  imagMode = 1;
  d.LastError = TransformCore().Init(width, height, kKindComplexFft);
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  d.Width = int32_t(width);
  d.Height = int32_t(height);
  try {
    work.assign(BlockSize(), TComplex{0.0, 0.0});
    imaginaryPlane.assign(BlockSize(), 0.0);
    rowTable = UnitRoots(width);
    columnTable = UnitRoots(height);
  } catch (const std::bad_alloc&) {
    ReleaseArrays();
    TransformCore().Done();
    d.LastError = TVLC_STATUS_NO_MEMORY;
  }
  return d.LastError;
}

uint8_t Done() {
  TTransDescriptor& d = Descriptor();
  // The core may be initialised for DCT II; ending that is not ours to do.
  if (TransformCore().State() != kCoreIdle && !CoreHoldsFft()) return d.LastError = TVLC_STATUS_WRONG_STATE;
  ReleaseArrays();
  return d.LastError = TransformCore().Done();
}

void BasisNorms(double* mask, double* norms) {
  TTransDescriptor& d = Descriptor();
  if (!CoreHoldsFft()) {
    d.LastError = TVLC_STATUS_WRONG_STATE;
    return;
  }
  const int64_t count = int64_t(BlockSize());
  if (TVLC_ARRAY_LENGTH(mask) != count || TVLC_ARRAY_LENGTH(norms) != count) {
    d.LastError = TransformCore().Reject(TVLC_STATUS_LENGTH_MISMATCH);
    return;
  }
  double pixels = 0.0;
  for (int64_t i = 0; i < count; ++i) pixels += mask[i];
  std::fill(norms, norms + count, pixels);
  std::fill(imaginaryPlane.begin(), imaginaryPlane.end(), 0.0);
}

double Basis(uint32_t u, uint32_t v, uint32_t x, uint32_t y) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return 0.0;
  const uint32_t w = uint32_t(d.Width), h = uint32_t(d.Height);
  // W and H divide 2^32, so a wrapped product still lands on the right entry.
  const TComplex z = rowTable[(u * x) % w] * columnTable[(v * y) % h];
  const double pixels = double(w) * h;
  return component == 1 ? z.Im / pixels : z.Re / pixels;
}

uint8_t Transform(uint32_t inverse, double* data) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  const size_t count = BlockSize();
  if (TVLC_ARRAY_LENGTH(data) != int64_t(count))
    return d.LastError = TransformCore().Reject(TVLC_STATUS_LENGTH_MISMATCH);
  for (size_t i = 0; i < count; ++i) work[i] = {data[i], imagMode == 0 ? imaginaryPlane[i] : 0.0};
  d.LastError = TransformCore().Execute(inverse, &work, nullptr);
  for (size_t i = 0; i < count; ++i) {
    data[i] = work[i].Re;
    imaginaryPlane[i] = work[i].Im;
  }
  return d.LastError;
}

uint8_t GetParam(int32_t index, intptr_t* value, int32_t* size) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  switch (index) {
    case kParamComponent:
      *value = component;
      *size = 0;
      break;
    case kParamImaginaryPlane:
      *value = reinterpret_cast<intptr_t>(imaginaryPlane.data());
      *size = int32_t(BlockSize() * sizeof(double));
      break;
    case kParamImagMode:
      *value = imagMode;
      *size = 0;
      break;
    default:
      d.LastError = TVLC_STATUS_NOT_SUPPORTED;
  }
  return d.LastError;
}

uint8_t SetParam(int32_t index, intptr_t value) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  switch (index) {
    case kParamComponent:
      component = uint8_t(value);
      break;
    case kParamImaginaryPlane: {
      const double* source = reinterpret_cast<const double*>(value);
      if (!source) return d.LastError = TVLC_STATUS_WRONG_STATE;
      std::copy(source, source + BlockSize(), imaginaryPlane.begin());
      break;
    }
    case kParamImagMode:
      imagMode = std::min<uint8_t>(uint8_t(value), 1);
      break;
    default:
      d.LastError = TVLC_STATUS_NOT_SUPPORTED;
  }
  return d.LastError;
}

int32_t GetConfig(void** data) {
  if (data) *data = nullptr;
  return 0;
}

void SetConfig(const void*, int32_t) {}

uint8_t GetState() { return TransformCore().State(); }

TTransDescriptor& Descriptor() {
  static TTransDescriptor descriptor = {
      "FFT", "Fast Discrete Fourier Transformation", kFftTransCode, 0x0100, 0,
      Init, Done, BasisNorms, Basis, Transform, GetParam, SetParam, GetConfig, SetConfig,
      nullptr, nullptr, GetState, TVLC_STATUS_OK, 0, 0};
  return descriptor;
}

}  // namespace

TTransDescriptor* FftDescriptor() { return &Descriptor(); }

}  // namespace tvlc
