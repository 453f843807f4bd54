// Running out of memory on demand: while a TAllocationLimit lives, every
// request of operator new for more bytes than its limit throws
// std::bad_alloc, as a request beyond the memory left would. Linked only
// into the test programs that use it, which replaces operator new there.
#pragma once

#include <cstddef>

namespace tvlc::testing {

class TAllocationLimit {
 public:
  explicit TAllocationLimit(size_t maxBytes);
  ~TAllocationLimit();
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;

  // Requests refused so far under this limit.
  static size_t Refused();

 private:
  size_t previous_;
};

}  // namespace tvlc::testing
