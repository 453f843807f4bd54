// A probe of the process heap for tests and benchmarks: it counts the bytes
// allocated through malloc and operator new, keeps the peak of the bytes in
// use, and can refuse large allocations on demand, so that a test can see
// what an engine allocates and how it copes without memory. The probe
// replaces malloc and its relatives for the whole program that links it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tvlc::heap_probe {

// False where the probe cannot be installed (for instance under a sanitizer,
// which replaces malloc itself); then nothing is counted or refused.
bool Installed();

// Bytes in use now, and the most in use since the last ResetPeak.
size_t BytesInUse();
size_t PeakBytes();
void ResetPeak();

// While set, allocations of at least `bytes` are refused (malloc returns
// null, operator new throws std::bad_alloc): the first `spared` such
// allocations are granted, the next `count` refused, the rest granted
// again. 0 bytes: refuse nothing.
void RefuseFrom(size_t bytes, size_t spared = 0, size_t count = SIZE_MAX);
// How many allocations were refused since the last RefuseFrom.
size_t Refusals();

// Refuses large allocations while it lives.
class TRefusal {
 public:
  explicit TRefusal(size_t bytes, size_t spared = 0, size_t count = SIZE_MAX) {
    RefuseFrom(bytes, spared, count);
  }
  ~TRefusal() { RefuseFrom(0); }
  TRefusal(const TRefusal&) = delete;
  TRefusal& operator=(const TRefusal&) = delete;
};

}  // namespace tvlc::heap_probe
