// Decimal numbers typed by the user and shown with two decimals, read and
// written the same way in every locale.
#pragma once

#include <optional>
#include <string>

namespace tvlc {

// Leading blanks, an optional sign, digits with an optional "." and fraction
// digits, and an optional exponent ("E" or "e", optional sign, at least one
// digit); nothing may follow. "30,5" and "" are not numbers, "1e1" is 10.
// A number too large for a double is infinite ("1e400"), one too small is
// zero ("1e-400"), each with its sign.
std::optional<double> ParseFloatText(const std::string& text);

// A number with exactly two digits after the point: 3.14159 gives "3.14".
std::string Fixed2(double value);

}  // namespace tvlc
