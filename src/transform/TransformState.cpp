#include "transform/TransformState.h"

namespace tvlc {

namespace {

thread_local TTransformState* boundState = nullptr;

TTransformState& ProcessState() {
  static TTransformState state;
  return state;
}

}  // namespace

TTransformState& CurrentTransformState() { return boundState ? *boundState : ProcessState(); }

TBoundTransformState::TBoundTransformState() : previous_(boundState) { boundState = &state_; }

TBoundTransformState::~TBoundTransformState() { boundState = previous_; }

TTransformCore& TransformCore() { return CurrentTransformState().Core; }

}  // namespace tvlc
