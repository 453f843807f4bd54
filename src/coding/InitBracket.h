// Keeps a transformation's Init ... Done bracket closed on every way out of
// an engine: a module left initialised refuses every later Init.
#pragma once

#include <cstdint>

#include "tvlc/module.h"

namespace tvlc {

class TInitBracket {
 public:
  explicit TInitBracket(const TTransDescriptor& descriptor) : descriptor_(descriptor) {}
  TInitBracket(const TInitBracket&) = delete;
  TInitBracket& operator=(const TInitBracket&) = delete;
  ~TInitBracket() { CloseQuietly(); }

  uint8_t Open(uint16_t width, uint16_t height) {
    open_ = true;  // an Init that throws may have half set up the module
    const uint8_t status = descriptor_.Init(width, height);
    open_ = status == 0;
    return status;
  }

  uint8_t Close() {
    open_ = false;
    return descriptor_.Done();
  }

  // For the failure paths, where only the exception or status already at
  // hand counts.
  void CloseQuietly() noexcept {
    if (!open_) return;
    try {
      Close();
    } catch (...) {
    }
  }

 private:
  const TTransDescriptor& descriptor_;
  bool open_ = false;
};

}  // namespace tvlc
