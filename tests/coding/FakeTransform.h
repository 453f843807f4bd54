// A transformation module for the coding tests, computing everything by
// direct sums: an orthonormal DCT II or the identity basis (where the
// spectrum is the pixel block itself). It counts every slot call, checks
// that the bracket and the array lengths are kept, and can be told to fail
// in the ways the engine must survive. Module slots carry no context, so
// its state is global; tests call Reset() first.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "tvlc/module.h"

namespace tvlc::fake {

enum class TBasisKind { Dct, Identity };

struct TState {
  TBasisKind kind = TBasisKind::Dct;
  uint32_t width = 0;
  uint32_t height = 0;
  bool initialised = false;

  // Failures on demand.
  uint8_t initStatus = 0;
  uint8_t doneStatus = 0;
  int throwOnTransformCall = 0;                // 1-based; 0 never
  std::function<void(double* norms)> editNorms;  // runs after BasisNorms

  // What the engine did.
  int initCalls = 0;
  int doneCalls = 0;
  int transformCalls = 0;
  int inverseTransformCalls = 0;  // of transformCalls
  int basisNormsCalls = 0;
  int64_t basisCalls = 0;
  bool calledOutsideBracket = false;
  bool wrongArrayLength = false;

  // Configuration blob handed out by GetConfig and received by SetConfig.
  std::vector<uint8_t> config;
  int32_t configSize = 0;
  std::vector<uint8_t> receivedConfig;
  int setConfigCalls = 0;
};

inline TState& State() {
  static TState state;
  return state;
}

inline void Reset() { State() = TState(); }

inline double DctFactor(uint32_t frequency, uint32_t position, uint32_t size) {
  const double scale = frequency == 0 ? std::sqrt(1.0 / size) : std::sqrt(2.0 / size);
  return scale * std::cos(std::numbers::pi * frequency * (2.0 * position + 1.0) / (2.0 * size));
}

// The basis value itself, for the module and for the tests' own sums.
inline double BasisValue(uint32_t u, uint32_t v, uint32_t x, uint32_t y) {
  const TState& s = State();
  if (s.kind == TBasisKind::Identity) return u == x && v == y ? 1.0 : 0.0;
  return DctFactor(u, x, s.width) * DctFactor(v, y, s.height);
}

inline void NoteSlotCall(const double* array = nullptr, bool hasArray = false) {
  TState& s = State();
  if (!s.initialised) s.calledOutsideBracket = true;
  if (hasArray && TVLC_ARRAY_LENGTH(array) != int64_t(s.width) * s.height)
    s.wrongArrayLength = true;
}

inline uint8_t Init(uint32_t width, uint32_t height) {
  TState& s = State();
  ++s.initCalls;
  if (s.initStatus != 0) return s.initStatus;
  if (s.initialised) return TVLC_STATUS_ALREADY_INIT;
  s.width = width;
  s.height = height;
  s.initialised = true;
  return TVLC_STATUS_OK;
}

inline uint8_t Done() {
  TState& s = State();
  ++s.doneCalls;
  if (!s.initialised) return TVLC_STATUS_WRONG_STATE;
  s.initialised = false;
  return s.doneStatus;
}

inline double Basis(uint32_t u, uint32_t v, uint32_t x, uint32_t y) {
  NoteSlotCall();
  ++State().basisCalls;
  return BasisValue(u, v, x, y);
}

inline void BasisNorms(double* mask, double* norms) {
  NoteSlotCall(mask, true);
  NoteSlotCall(norms, true);
  TState& s = State();
  ++s.basisNormsCalls;
  // The same sums in the same order as the engine's own fallback.
  for (uint32_t v = 0; v < s.height; ++v)
    for (uint32_t u = 0; u < s.width; ++u)
      for (uint32_t y = 0; y < s.height; ++y)
        for (uint32_t x = 0; x < s.width; ++x) {
          const double b = BasisValue(u, v, x, y);
          norms[v * s.width + u] += mask[y * s.width + x] * b * b;
        }
  // The mask is a scratch copy the module may use for its own purposes.
  for (uint32_t i = 0; i < s.width * s.height; ++i) mask[i] = -7.0;
  if (s.editNorms) s.editNorms(norms);
}

inline uint8_t Transform(uint32_t inverse, double* data) {
  NoteSlotCall(data, true);
  TState& s = State();
  if (++s.transformCalls == s.throwOnTransformCall) throw std::runtime_error("transform fault");
  if (inverse) ++s.inverseTransformCalls;
  const uint32_t count = s.width * s.height;
  const std::vector<double> in(data, data + count);
  for (uint32_t out = 0; out < count; ++out) {
    double sum = 0.0;
    for (uint32_t i = 0; i < count; ++i) {
      // Analysis sums over pixels i for coefficient `out`, synthesis over
      // coefficients i for pixel `out`.
      const uint32_t k = inverse ? i : out;
      const uint32_t p = inverse ? out : i;
      sum += in[i] * BasisValue(k % s.width, k / s.width, p % s.width, p / s.width);
    }
    data[out] = sum;
  }
  return TVLC_STATUS_OK;
}

inline int32_t GetConfig(void** data) {
  TState& s = State();
  *data = s.config.empty() ? nullptr : s.config.data();
  return s.configSize;
}

inline void SetConfig(const void* data, int32_t size) {
  TState& s = State();
  ++s.setConfigCalls;
  const auto* bytes = static_cast<const uint8_t*>(data);
  s.receivedConfig.assign(bytes, bytes + (size > 0 ? size : 0));
}

struct TSlots {
  bool basisNorms = true;
  bool config = false;
};

inline TTransDescriptor Descriptor(TSlots slots = {}) {
  TTransDescriptor d{};
  d.Name = "Fake";
  d.Description = "Direct sums for the tests";
  d.TransCode = 77;
  d.Version = 0x0100;
  d.Listed = 1;
  d.Init = &Init;
  d.Done = &Done;
  d.BasisNorms = slots.basisNorms ? &BasisNorms : nullptr;
  d.Basis = &Basis;
  d.Transform = &Transform;
  d.GetConfig = slots.config ? &GetConfig : nullptr;
  d.SetConfig = slots.config ? &SetConfig : nullptr;
  return d;
}

}  // namespace tvlc::fake
