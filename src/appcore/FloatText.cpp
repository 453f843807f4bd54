#include "appcore/FloatText.h"

#include <cctype>

#include "base/NumberText.h"

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

  // The number itself has no leading '+'.
  const size_t from = start + (text[start] == '+' ? 1 : 0);
  return ParseNumberText(std::string_view(text).substr(from));
}

std::string Fixed2(double value) { return FixedText(value, 2); }

}  // namespace tvlc
