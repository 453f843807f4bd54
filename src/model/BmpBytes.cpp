#include "model/BmpBytes.h"

#include <algorithm>
#include <istream>

#include "model/Bmp.h"

namespace tvlc {

namespace {
constexpr uint64_t kChunkSize = 64 * 1024;
}

std::vector<uint8_t> ReadExactly(std::istream& in, uint64_t count) {
  std::vector<uint8_t> data;
  while (data.size() < count) {
    const size_t chunk = size_t(std::min(count - data.size(), kChunkSize));
    const size_t done = data.size();
    data.resize(done + chunk);
    in.read(reinterpret_cast<char*>(data.data() + done), std::streamsize(chunk));
    if (size_t(in.gcount()) != chunk) throw TBmpError(kBmpTruncated);
  }
  return data;
}

void SkipExactly(std::istream& in, uint64_t count) {
  // ignore() treats the largest streamsize as "no limit", so go in steps.
  constexpr uint64_t kMaxStep = uint64_t(1) << 30;
  while (count > 0) {
    const std::streamsize step = std::streamsize(std::min(count, kMaxStep));
    in.ignore(step);
    if (in.gcount() != step) throw TBmpError(kBmpTruncated);
    count -= uint64_t(step);
  }
}

}  // namespace tvlc
