#include "HeapProbe.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TVLC_HEAP_PROBE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define TVLC_HEAP_PROBE 0
#endif
#endif
#ifndef TVLC_HEAP_PROBE
#define TVLC_HEAP_PROBE 1
#endif

namespace tvlc::heap_probe {

namespace {

// Plain zero-initialised atomics: malloc runs before any constructor.
constinit std::atomic<size_t> inUse{0}, peak{0};
constinit std::atomic<size_t> refuseFrom{0}, spare{0}, toRefuse{0}, refused{0};

}  // namespace

bool Installed() { return TVLC_HEAP_PROBE != 0; }
size_t BytesInUse() { return inUse.load(); }
size_t PeakBytes() { return peak.load(); }
void ResetPeak() { peak.store(inUse.load()); }
void RefuseFrom(size_t bytes, size_t spared, size_t count) {
  refused.store(0);
  spare.store(spared);
  toRefuse.store(count);
  refuseFrom.store(bytes);
}
size_t Refusals() { return refused.load(); }

namespace {

bool Refuse(size_t bytes) {
  const size_t limit = refuseFrom.load(std::memory_order_relaxed);
  if (limit == 0 || bytes < limit) return false;
  size_t left = spare.load();
  while (left > 0)
    if (spare.compare_exchange_weak(left, left - 1)) return false;
  size_t remaining = toRefuse.load();
  while (remaining > 0)
    if (toRefuse.compare_exchange_weak(remaining, remaining - 1)) {
      refused.fetch_add(1);
      return true;
    }
  return false;
}

void Count(void* p) {
  if (!p) return;
  const size_t now = inUse.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  size_t seen = peak.load(std::memory_order_relaxed);
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}

void Uncount(void* p) {
  if (p) inUse.fetch_sub(malloc_usable_size(p));
}

}  // namespace

}  // namespace tvlc::heap_probe

#if TVLC_HEAP_PROBE
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

using namespace tvlc::heap_probe;

void* malloc(size_t bytes) {
  if (Refuse(bytes)) {
    errno = ENOMEM;
    return nullptr;
  }
  void* p = __libc_malloc(bytes);
  Count(p);
  return p;
}

void* calloc(size_t count, size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  if (Refuse(count * size)) {
    errno = ENOMEM;
    return nullptr;
  }
  void* p = __libc_calloc(count, size);
  Count(p);
  return p;
}

void* realloc(void* old, size_t bytes) {
  if (Refuse(bytes)) {
    errno = ENOMEM;
    return nullptr;
  }
  const size_t before = old ? malloc_usable_size(old) : 0;
  void* p = __libc_realloc(old, bytes);
  if (p || bytes == 0) {
    inUse.fetch_sub(before);
    Count(p);
  }
  return p;
}

void free(void* p) {
  Uncount(p);
  __libc_free(p);
}

void* memalign(size_t alignment, size_t bytes) {
  if (Refuse(bytes)) {
    errno = ENOMEM;
    return nullptr;
  }
  void* p = __libc_memalign(alignment, bytes);
  Count(p);
  return p;
}

void* aligned_alloc(size_t alignment, size_t bytes) { return memalign(alignment, bytes); }

int posix_memalign(void** out, size_t alignment, size_t bytes) {
  void* p = memalign(alignment, bytes);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}
}
#endif
