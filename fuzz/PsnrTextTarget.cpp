// The requested PSNR as typed: the text is a number exactly when it has the
// documented form, its value is the correctly rounded one, and the two-digit
// text the window shows for a value reads back as that value.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <regex>

#include "FuzzSupport.h"
#include "appcore/FloatText.h"

using namespace tvlc;

namespace {

// Above this a request is clamped: an exact reconstruction gives 1e20.
constexpr double kHighestRequest = 1e20;

bool HasNumberForm(const std::string& text) {
  static const std::regex form(R"( *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
  return std::regex_match(text, form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64) return -1;  // a field's worth of text
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<double> value = ParseFloatText(text);
  const bool form = HasNumberForm(text);
  fuzz::Expect(value.has_value() == form,
               std::string(form ? "a number refused: '" : "not a number accepted: '") + text + "'");
  if (!value) return 0;

  errno = 0;
  const double reference = std::strtod(text.c_str(), nullptr);
  const bool inRange = errno != ERANGE;
  fuzz::Expect(!std::isnan(*value), "'" + text + "' read as NaN");
  if (inRange)
    fuzz::Expect(*value == reference || (reference > kHighestRequest && *value == kHighestRequest),
                 "'" + text + "' read as " + std::to_string(*value));

  if (std::isfinite(*value) && std::fabs(*value) < 1e15) {
    const std::string shown = Fixed2(*value);
    const std::optional<double> back = ParseFloatText(shown);
    fuzz::Expect(back && std::fabs(*back - *value) <= 0.005 + 1e-12 * std::fabs(*value),
                 "the text '" + shown + "' shown for '" + text + "' does not read back");
  }
  return 0;
}
