#include "support/AllocationLimit.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace tvlc::testing {

namespace {

size_t limit = SIZE_MAX;
size_t refused = 0;

}  // namespace

TAllocationLimit::TAllocationLimit(size_t maxBytes) : previous_(limit) {
  limit = maxBytes;
  refused = 0;
}

TAllocationLimit::~TAllocationLimit() { limit = previous_; }

size_t TAllocationLimit::Refused() { return refused; }

}  // namespace tvlc::testing

// The other forms of new and every delete of the library go through these
// two or through free(), which matches malloc() below.
void* operator new(std::size_t size) {
  if (size > tvlc::testing::limit) {
    ++tvlc::testing::refused;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
