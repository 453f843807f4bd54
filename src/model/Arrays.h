// Array types shared by the whole codec core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvlc {

// Grey levels of a picture, pixel (x, y) at x + y * width. Shared and never
// written after creation: replacing the picture makes a new array, and shapes
// made earlier keep the one they were created with. Null means no picture.
using TPicData = std::shared_ptr<const std::vector<uint8_t>>;

// Labels of a map (24-bit colour values), same layout and sharing as TPicData.
using TMapData = std::shared_ptr<const std::vector<int32_t>>;

// Quantized coefficients of one shape in zigzag order.
using TSpecData = std::vector<int32_t>;

// 1 for a window pixel inside the shape, 0 outside.
using TShapeMask = std::vector<uint8_t>;

// A block of doubles that can be handed to a transformation module: the
// element count is stored as a signed 64-bit integer in the 8 bytes before
// the first element, where TVLC_ARRAY_LENGTH finds it. Otherwise it behaves
// like a plain vector of doubles. data() is null when the array is empty.
class TShapeData {
 public:
  TShapeData() = default;
  explicit TShapeData(size_t count, double fill = 0.0);
  TShapeData(const TShapeData& other);
  TShapeData(TShapeData&& other) noexcept = default;
  TShapeData& operator=(const TShapeData& other);
  TShapeData& operator=(TShapeData&& other) noexcept = default;

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  double* data() { return count_ ? elements() : nullptr; }
  const double* data() const { return count_ ? elements() : nullptr; }
  double& operator[](size_t i) { return elements()[i]; }
  double operator[](size_t i) const { return elements()[i]; }
  double* begin() { return data(); }
  double* end() { return data() + count_; }
  const double* begin() const { return data(); }
  const double* end() const { return data() + count_; }

  void assign(size_t count, double fill);
  void clear();

 private:
  struct Free {
    void operator()(void* p) const;
  };
  // The count sits in the first bytes of the block, the elements after it.
  static constexpr size_t kHeaderBytes = sizeof(int64_t);
  double* elements() const {
    return reinterpret_cast<double*>(static_cast<unsigned char*>(block_.get()) + kHeaderBytes);
  }

  std::unique_ptr<void, Free> block_;
  size_t count_ = 0;
};

}  // namespace tvlc
