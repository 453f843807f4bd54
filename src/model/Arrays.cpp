#include "model/Arrays.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tvlc {

void TShapeData::Free::operator()(void* p) const { std::free(p); }

TShapeData::TShapeData(size_t count, double fill) { assign(count, fill); }

TShapeData::TShapeData(const TShapeData& other) { *this = other; }

TShapeData& TShapeData::operator=(const TShapeData& other) {
  if (this == &other) return *this;
  assign(other.count_, 0.0);
  if (count_) std::memcpy(elements(), other.elements(), count_ * sizeof(double));
  return *this;
}

void TShapeData::assign(size_t count, double fill) {
  if (count == 0) {
    clear();
    return;
  }
  if (count != count_) {
    void* p = std::malloc(kHeaderBytes + count * sizeof(double));
    if (!p) throw std::bad_alloc();
    const int64_t stored = static_cast<int64_t>(count);
    std::memcpy(p, &stored, sizeof stored);
    block_.reset(p);
    count_ = count;
  }
  std::fill(elements(), elements() + count_, fill);
}

void TShapeData::clear() {
  block_.reset();
  count_ = 0;
}

}  // namespace tvlc
