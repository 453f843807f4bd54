#include "appcore/FloatText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "base/NumberText.h"

namespace tvlc {

namespace {

// The power of ten of the first significant digit of a number of the
// grammar (not zero), from the digits of its mantissa and its exponent.
// Only its sign matters: it tells a number too large for a double from one
// too small.
int64_t DecimalMagnitude(const std::string& mantissa, const std::string& exponent) {
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first = mantissa.find_first_of("123456789");
  int64_t magnitude = first < point ? int64_t(point - first) - 1 : -int64_t(first - point);
  int64_t power = 0;
  size_t i = 0;
  const bool negative = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) ++i;
  // Saturates far beyond any double's range.
  for (; i < exponent.size(); ++i) power = std::min<int64_t>(power * 10 + (exponent[i] - '0'), 1000000000000);
  return magnitude + (negative ? -power : power);
}

}  // namespace

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
  const size_t mantissaStart = i;
  size_t mantissaDigits = digits();
  if (i < n && text[i] == '.') {
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return std::nullopt;
  const size_t mantissaEnd = i;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  // The number itself has no leading '+'.
  const size_t from = start + (text[start] == '+' ? 1 : 0);
  double value = 0.0;
  const auto result = std::from_chars(text.data() + from, text.data() + n, value);
  if (result.ec == std::errc::result_out_of_range) {
    // A number of the grammar beyond a double: too large is infinite, too
    // small is zero, with its sign.
    const std::string mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
    const std::string exponent = mantissaEnd < n ? text.substr(mantissaEnd + 1) : "";
    const double magnitude = DecimalMagnitude(mantissa, exponent) > 0
                                 ? std::numeric_limits<double>::infinity()
                                 : 0.0;
    return text[start] == '-' ? -magnitude : magnitude;
  }
  if (result.ec != std::errc() || result.ptr != text.data() + n) return std::nullopt;
  return value;
}

std::string Fixed2(double value) { return FixedText(value, 2); }

}  // namespace tvlc
