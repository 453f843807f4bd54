// The working state of the built-in module: the transform core and the DCT
// II's basis tables and descriptor. The user-interface thread works on one
// process-wide state; a worker thread of a batch binds a state of its own for
// its lifetime, so that every built-in DCT II slot called on that thread,
// through that thread's DCT II descriptor, works on it alone. Callers of the
// slots see the module's state machine unchanged, one per thread.
#pragma once

#include <memory>

#include "transform/TransformCore.h"

namespace tvlc {

struct TDctIIState;  // the DCT II's tables and descriptor (DCTII.cpp)
struct TDctIIStateDeleter {
  void operator()(TDctIIState* state) const;
};

struct TTransformState {
  TTransformState();
  TTransformCore Core;
  std::unique_ptr<TDctIIState, TDctIIStateDeleter> Dct;
};

// The state bound to the calling thread, or the process-wide one.
TTransformState& CurrentTransformState();

// Binds a fresh state to the calling thread while it lives; made and
// destroyed on the same thread.
class TBoundTransformState {
 public:
  TBoundTransformState();
  ~TBoundTransformState();
  TBoundTransformState(const TBoundTransformState&) = delete;
  TBoundTransformState& operator=(const TBoundTransformState&) = delete;

 private:
  TTransformState state_;
  TTransformState* previous_;
};

}  // namespace tvlc
