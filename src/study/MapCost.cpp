#include "study/MapCost.h"

#include <unordered_map>
#include <zlib.h>

namespace tvlc {

namespace {

constexpr uint32_t kSameAsLeft = 0;
constexpr uint32_t kSameAsAbove = 1;
constexpr uint32_t kFirstNumber = 2;

void PutVarint(std::vector<uint8_t>& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(uint8_t(value | 0x80));
    value >>= 7;
  }
  out.push_back(uint8_t(value));
}

bool GetVarint(const std::vector<uint8_t>& in, size_t& at, uint32_t& value) {
  value = 0;
  for (unsigned shift = 0; shift < 35; shift += 7) {
    if (at >= in.size()) return false;
    const uint8_t byte = in[at++];
    value |= uint32_t(byte & 0x7F) << shift;
    if (!(byte & 0x80)) return true;
  }
  return false;
}

}  // namespace

std::vector<uint8_t> CodeMapLabels(const std::vector<int32_t>& labels, int32_t width,
                                   int32_t height) {
  std::vector<uint8_t> symbols;
  PutVarint(symbols, uint32_t(width));
  PutVarint(symbols, uint32_t(height));
  std::unordered_map<int32_t, uint32_t> numberOf;
  std::vector<uint32_t> numbers(labels.size());
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const size_t p = size_t(y) * width + x;
      const uint32_t n = numberOf.emplace(labels[p], uint32_t(numberOf.size())).first->second;
      numbers[p] = n;
      if (x > 0 && numbers[p - 1] == n)
        PutVarint(symbols, kSameAsLeft);
      else if (y > 0 && numbers[p - size_t(width)] == n)
        PutVarint(symbols, kSameAsAbove);
      else
        PutVarint(symbols, kFirstNumber + n);
    }
  uLongf size = compressBound(uLong(symbols.size()));
  std::vector<uint8_t> coded(size);
  compress2(coded.data(), &size, symbols.data(), uLong(symbols.size()), Z_BEST_COMPRESSION);
  coded.resize(size);
  return coded;
}

std::optional<std::vector<int32_t>> DecodeMapLabels(const std::vector<uint8_t>& coded,
                                                    int32_t& width, int32_t& height) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return std::nullopt;
  std::vector<uint8_t> symbols;
  stream.next_in = const_cast<Bytef*>(coded.data());
  stream.avail_in = uInt(coded.size());
  int status = Z_OK;
  uint8_t buffer[65536];
  while (status == Z_OK) {
    stream.next_out = buffer;
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    symbols.insert(symbols.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) return std::nullopt;

  size_t at = 0;
  uint32_t w = 0, h = 0;
  if (!GetVarint(symbols, at, w) || !GetVarint(symbols, at, h)) return std::nullopt;
  // Every pixel takes at least one symbol byte.
  if (w == 0 || h == 0 || uint64_t(w) * h > symbols.size() - at) return std::nullopt;
  std::vector<int32_t> labels(size_t(w) * h);
  uint32_t seen = 0;
  for (size_t p = 0; p < labels.size(); ++p) {
    uint32_t symbol = 0;
    if (!GetVarint(symbols, at, symbol)) return std::nullopt;
    if (symbol == kSameAsLeft && p % w != 0) {
      labels[p] = labels[p - 1];
    } else if (symbol == kSameAsAbove && p >= w) {
      labels[p] = labels[p - w];
    } else if (symbol >= kFirstNumber && symbol - kFirstNumber <= seen) {
      labels[p] = int32_t(symbol - kFirstNumber);
      if (symbol - kFirstNumber == seen) ++seen;
    } else {
      return std::nullopt;
    }
  }
  if (at != symbols.size()) return std::nullopt;
  width = int32_t(w);
  height = int32_t(h);
  return labels;
}

}  // namespace tvlc
