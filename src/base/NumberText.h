// Numbers as text, always with a decimal point: every number the program
// shows, logs or writes to a file goes through here, so no locale (the
// window's QApplication adopts the user's) can turn "30.25" into "30,25".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tvlc {

// `decimals` digits after the point: FixedText(3.14159, 2) is "3.14".
// Infinities and NaN give "inf", "-inf" and "nan".
std::string FixedText(double value, int decimals);

// One digit, the point, `decimals` digits, "e", the exponent's sign and at
// least two exponent digits: ScientificText(-2228.5, 3) is "-2.229e+03".
std::string ScientificText(double value, int decimals);

// The whole text as a number written the way the functions above write it
// (no leading '+' or blanks); nothing else.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace tvlc
