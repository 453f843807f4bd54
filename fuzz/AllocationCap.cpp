// Every fuzz target runs as if the machine had little memory: an allocation
// above the cap fails with std::bad_alloc, as it would on a loaded machine.
// The readers must then refuse the file with a message; an abort (an
// uncaught bad_alloc) is a finding. The cap also keeps the fuzzer fast and
// within its memory limit, since it applies whatever size a file declares.
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kAllocationCap = std::size_t(64) << 20;

void* Allocate(std::size_t size) {
  if (size > kAllocationCap) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return size > kAllocationCap ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
