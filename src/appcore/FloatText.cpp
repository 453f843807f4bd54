#include "appcore/FloatText.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace tvlc {

std::optional<double> ParseFloatText(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  auto digits = [&] {
    const size_t start = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i - start;
  };
  while (i < n && text[i] == ' ') ++i;
  const size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t mantissaDigits = digits();
  if (i < n && text[i] == '.') {
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  // from_chars takes no leading '+'.
  const size_t from = start + (text[start] == '+' ? 1 : 0);
  double value = 0.0;
  const auto result = std::from_chars(text.data() + from, text.data() + n, value);
  if (result.ec != std::errc() || result.ptr != text.data() + n) return std::nullopt;
  return value;
}

std::string Fixed2(double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace tvlc
