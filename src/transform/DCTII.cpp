#include "transform/DCTII.h"

#include <cmath>
#include <new>
#include <numbers>
#include <vector>

#include "transform/InternalModule.h"
#include "transform/TransformState.h"

namespace tvlc {

namespace {

// JPEG luminance quantization table (ITU-T T.81, Table K.1), row = vertical
// frequency, column = horizontal frequency.
constexpr uint8_t kLuminanceTable[8][8] = {
    {16, 11, 10, 16, 24, 40, 51, 61},      {12, 12, 14, 19, 26, 58, 60, 55},
    {14, 13, 16, 24, 40, 57, 69, 56},      {14, 17, 22, 29, 51, 87, 80, 62},
    {18, 22, 37, 56, 68, 109, 103, 77},    {24, 35, 55, 64, 81, 104, 113, 92},
    {49, 64, 78, 87, 103, 121, 120, 101},  {72, 92, 95, 98, 112, 100, 103, 99},
};

// The basis factors of one axis of length n: cos(i * pi / (2n)) for i < 4n,
// one full period, so any product k * (2x + 1) is taken modulo 4n; and the
// orthonormal scales of frequency 0 and of the others.
struct TAxisFactors {
  std::vector<double> Cosines;
  double ZeroScale = 0.0;   // 1 / sqrt(n)
  double OtherScale = 0.0;  // sqrt(2 / n)

  explicit TAxisFactors(uint32_t n = 0) : Cosines(size_t{4} * n) {
    if (n == 0) return;
    for (size_t i = 0; i < Cosines.size(); ++i)
      Cosines[i] = std::cos(double(i) * std::numbers::pi / (2.0 * n));
    ZeroScale = 1.0 / std::sqrt(double(n));
    OtherScale = std::sqrt(2.0 / n);
  }
  // The period 4n is a power of two that divides 2^32, so masking the
  // (possibly wrapped) product finds the right entry.
  double Factor(uint32_t k, uint32_t x) const {
    return Cosines[(k * (2 * x + 1)) & (Cosines.size() - 1)] * (k > 0 ? OtherScale : ZeroScale);
  }
};

TTransDescriptor MakeDescriptor();

}  // namespace

// A thread's DCT II: its basis tables and the descriptor its slots report to.
struct TDctIIState {
  TAxisFactors Horizontal, Vertical;
  TTransDescriptor Descriptor = MakeDescriptor();
};

void TDctIIStateDeleter::operator()(TDctIIState* state) const { delete state; }

TTransformState::TTransformState() : Dct(new TDctIIState) {}

namespace {

TDctIIState& State() { return *CurrentTransformState().Dct; }
TTransDescriptor& Descriptor() { return State().Descriptor; }

bool CoreHoldsDct() { return TransformCore().Kind() == kKindDct; }

// Status for the slots that need the DCT initialised.
uint8_t ReadyStatus() {
  if (!CoreHoldsDct()) return TVLC_STATUS_WRONG_STATE;
  if (TransformCore().State() == kCoreIdle) return TVLC_STATUS_NOT_INIT;
  return TVLC_STATUS_OK;
}

uint8_t Init(uint32_t width, uint32_t height) {
  TTransDescriptor& d = Descriptor();
  d.LastError = TransformCore().Init(width, height, kKindDct);
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  d.Width = int32_t(width);
  d.Height = int32_t(height);
  try {
    State().Horizontal = TAxisFactors(width);
    State().Vertical = TAxisFactors(height);
  } catch (const std::bad_alloc&) {
    TransformCore().Done();
    d.LastError = TVLC_STATUS_NO_MEMORY;
  }
  return d.LastError;
}

uint8_t Done() {
  TTransDescriptor& d = Descriptor();
  if (!CoreHoldsDct()) return d.LastError = TVLC_STATUS_WRONG_STATE;
  d.LastError = TransformCore().Done();
  State().Horizontal = TAxisFactors();
  State().Vertical = TAxisFactors();
  return d.LastError;
}

uint8_t Transform(uint32_t inverse, double* data) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return d.LastError;
  return d.LastError = TransformCore().Execute(inverse, nullptr, data);
}

// Folds the doubled frequency 2k of a length-n axis back into 0..n-1:
// cos^2 of frequency k is (1 + sign * cos of frequency index) / 2.
struct TFoldedFrequency {
  uint32_t Index = 0;
  double Sign = 0.0;
  double IndexFactor = 1.0;  // sqrt(2) for index 0, whose spectrum carries 1/sqrt(n), not sqrt(2/n)
  double Divisor = 1.0;      // 2 for k = 0, whose squared scale is 1/n, not 2/n
};

TFoldedFrequency FoldDoubled(uint32_t k, uint32_t n) {
  TFoldedFrequency f;
  if (2 * k < n) {
    f.Sign = 1.0;
    f.Index = 2 * k;
  } else if (2 * k > n) {
    f.Sign = -1.0;
    f.Index = 2 * n - 2 * k;
  }
  if (f.Index == 0) f.IndexFactor = std::numbers::sqrt2;
  if (k == 0) f.Divisor = 2.0;
  return f;
}

// sum of mask * Basis^2 from one analysis of the mask, by cos^2 t = (1 + cos 2t) / 2.
void BasisNorms(double* mask, double* norms) {
  TTransDescriptor& d = Descriptor();
  if (!CoreHoldsDct()) {
    d.LastError = TVLC_STATUS_WRONG_STATE;
    return;
  }
  const uint32_t w = uint32_t(d.Width), h = uint32_t(d.Height);
  if (TVLC_ARRAY_LENGTH(norms) != int64_t{w} * h) {
    d.LastError = TransformCore().Reject(TVLC_STATUS_LENGTH_MISMATCH);
    return;
  }
  if (Transform(0, mask) != TVLC_STATUS_OK) return;
  const double* m = mask;
  const double denominator = 2.0 * std::sqrt(double(w) * h);
  for (uint32_t v = 0; v < h; ++v) {
    const TFoldedFrequency fv = FoldDoubled(v, h);
    for (uint32_t u = 0; u < w; ++u) {
      const TFoldedFrequency fu = FoldDoubled(u, w);
      const double sum =
          2.0 * m[0] + std::numbers::sqrt2 * fu.IndexFactor * fu.Sign * m[fu.Index] +
          std::numbers::sqrt2 * fv.IndexFactor * fv.Sign * m[size_t{fv.Index} * w] +
          fu.IndexFactor * fv.IndexFactor * fu.Sign * fv.Sign * m[size_t{fv.Index} * w + fu.Index];
      norms[size_t{v} * w + u] = sum / (denominator * fu.Divisor * fv.Divisor);
    }
  }
}

double Basis(uint32_t u, uint32_t v, uint32_t x, uint32_t y) {
  TTransDescriptor& d = Descriptor();
  d.LastError = ReadyStatus();
  if (d.LastError != TVLC_STATUS_OK) return 0.0;
  const TDctIIState& state = State();
  return state.Horizontal.Factor(u, x) * state.Vertical.Factor(v, y);
}

uint8_t GetParam(int32_t, intptr_t* value, int32_t* size) {
  if (value) *value = 0;
  if (size) *size = 0;
  return Descriptor().LastError = TVLC_STATUS_NOT_SUPPORTED;
}

uint8_t SetParam(int32_t, intptr_t) { return Descriptor().LastError = TVLC_STATUS_NOT_SUPPORTED; }

int32_t GetConfig(void** data) {
  if (data) *data = nullptr;
  return 0;
}

void SetConfig(const void*, int32_t) {}

// The horizontal interpolation of QuantWeight on table row `row`.
double InterpolateRow(uint32_t row, uint32_t column, uint32_t u, uint32_t width) {
  const double entry = kLuminanceTable[row][column];
  if (width < 8 || column >= 7) return entry;
  const double next = kLuminanceTable[row][column + 1];
  return entry + (next - entry) * 8.0 * double(u % (width / 8)) / double(width);
}

// Relative quantization step of coefficient (u, v), interpolated over the
// luminance table; independent of Init. Indices use unsigned division, the
// difference of two entries is signed.
double QuantWeight(uint32_t u, uint32_t v, uint32_t width, uint32_t height) {
  // Outside the block there is no table entry to interpolate; 1.0 is the
  // neutral step the quantizer uses when a transformation has no weights.
  if (u >= width || v >= height) return 1.0;
  const uint32_t iu = (8 * u) / width, iv = (8 * v) / height;
  const double a = InterpolateRow(iv, iu, u, width);
  const double b = iv >= 7 ? a : InterpolateRow(iv + 1, iu, u, width);
  if (height < 8) return a;
  return a + (b - a) * 8.0 * double(v % (height / 8)) / double(height);
}

uint8_t GetState() { return TransformCore().State(); }

TTransDescriptor MakeDescriptor() {
  return {"DCT II", "Discrete Cosine Transformation II", kDctTransCode, 0x0100, 1,
          Init, Done, BasisNorms, Basis, Transform, GetParam, SetParam, GetConfig, SetConfig,
          nullptr, QuantWeight, GetState, TVLC_STATUS_OK, 0, 0};
}

}  // namespace

TTransDescriptor* DctIIDescriptor() { return &Descriptor(); }

}  // namespace tvlc
