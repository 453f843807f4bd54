#include "model/segmentation/RandIndex.h"

#include <stdexcept>
#include <unordered_map>

namespace tvlc {

namespace {

// Pairs among n things, in double: counts reach 2^60 for large pictures.
double Pairs(int64_t n) { return double(n) * double(n - 1) / 2.0; }

double SumOfPairs(const std::unordered_map<int64_t, int64_t>& counts) {
  double sum = 0.0;
  for (const auto& [key, count] : counts) sum += Pairs(count);
  return sum;
}

}  // namespace

double AdjustedRandIndex(const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
  if (a.size() != b.size()) throw std::invalid_argument("labellings of different lengths");
  if (a.size() < 2) return 1.0;
  std::unordered_map<int64_t, int64_t> rows, columns, cells;
  for (size_t i = 0; i < a.size(); ++i) {
    ++rows[a[i]];
    ++columns[b[i]];
    ++cells[int64_t(uint32_t(a[i])) << 32 | uint32_t(b[i])];
  }
  const double index = SumOfPairs(cells);
  const double rowPairs = SumOfPairs(rows), columnPairs = SumOfPairs(columns);
  const double expected = rowPairs * columnPairs / Pairs(int64_t(a.size()));
  const double most = (rowPairs + columnPairs) / 2.0;
  if (most == expected) return 1.0;
  return (index - expected) / (most - expected);
}

}  // namespace tvlc
