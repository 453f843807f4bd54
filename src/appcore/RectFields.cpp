#include "appcore/RectFields.h"

#include <charconv>

namespace tvlc {

namespace {

bool ReadWhole(const std::string& text, int& value) {
  if (text.empty()) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Runs `body` unless another handler is running.
template <typename Body>
void Guarded(bool& busy, Body body) {
  if (busy) return;
  busy = true;
  body();
  busy = false;
}

}  // namespace

void TRectFields::SizeChanged(const std::string& text, int extent, int& size, int& count) {
  // A cleared field holds nothing: 0, which Generate refuses, rather than
  // the value it showed before. It is not coupled further.
  if (text.empty()) size = 0;
  int value;
  if (!ReadWhole(text, value)) return;
  Guarded(busy_, [&] {
    size = value;
    if (value < 1)
      size = 0;
    else
      count = extent / value + 1;
  });
}

void TRectFields::CountChanged(const std::string& text, int extent, int& count, int& size) {
  if (text.empty()) count = 0;
  int value;
  if (!ReadWhole(text, value)) return;
  Guarded(busy_, [&] {
    count = value;
    if (value < 1)
      count = 0;
    else
      size = extent / value;
  });
}

void TRectFields::XSizeSpinChange(const std::string& text, int width) {
  SizeChanged(text, width, XSize, XCount);
}
void TRectFields::YSizeSpinChange(const std::string& text, int height) {
  SizeChanged(text, height, YSize, YCount);
}
void TRectFields::XCountSpinChange(const std::string& text, int width) {
  CountChanged(text, width, XCount, XSize);
}
void TRectFields::YCountSpinChange(const std::string& text, int height) {
  CountChanged(text, height, YCount, YSize);
}

}  // namespace tvlc
