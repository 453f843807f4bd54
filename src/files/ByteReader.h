// Bounds-checked little-endian reads from a byte buffer.
#pragma once

#include <cstdint>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace tvlc {

// A file whose content is cut short or inconsistent.
class TFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TByteReader {
 public:
  TByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit TByteReader(const std::vector<uint8_t>& bytes) : TByteReader(bytes.data(), bytes.size()) {}

  size_t Position() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  void Seek(size_t position) {
    if (position > size_) throw TFormatError("file is truncated");
    pos_ = position;
  }

  template <typename T>
  T Read() {
    static_assert(std::is_trivially_copyable_v<T>);
    Need(sizeof(T));
    T value;
    std::memcpy(&value, data_ + pos_, sizeof(T));  // the host is little-endian
    pos_ += sizeof(T);
    return value;
  }
  void ReadBytes(void* out, size_t count) {
    Need(count);
    if (count) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
  }
  void Need(size_t count) const {
    if (count > Remaining()) throw TFormatError("file is truncated");
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

static_assert(std::endian::native == std::endian::little, "files are read and written as little-endian");

}  // namespace tvlc
