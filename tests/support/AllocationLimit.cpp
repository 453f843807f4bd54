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

// Every unaligned form of new and delete is defined here, all on malloc()
// and free(): a runtime that brings its own allocator (the sanitizers')
// would otherwise pair one of its forms of new with the delete below.
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

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
