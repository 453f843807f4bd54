#include "base/NumberText.h"

#include <algorithm>
#include <charconv>

namespace tvlc {

namespace {

// Longest fixed text of a double (308 integer digits) with a sane number of
// decimals; more decimals than this say nothing about a double.
constexpr int kMaxDecimals = 40;
constexpr size_t kTextCapacity = 400;

std::string CharsText(double value, std::chars_format format, int decimals) {
  char text[kTextCapacity];
  const auto result =
      std::to_chars(text, text + sizeof text, value, format, std::clamp(decimals, 0, kMaxDecimals));
  return std::string(text, result.ptr);
}

}  // namespace

std::string FixedText(double value, int decimals) {
  return CharsText(value, std::chars_format::fixed, decimals);
}

std::string ScientificText(double value, int decimals) {
  return CharsText(value, std::chars_format::scientific, decimals);
}

std::optional<double> ParseNumberText(std::string_view text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace tvlc
