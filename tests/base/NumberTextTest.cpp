#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "base/CommaLocale.h"
#include "base/NumberText.h"

namespace tvlc {
namespace {

// What printf gives in the "C" locale, the reference for the texts.
std::string Printed(const char* format, double value) {
  char text[512];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::vector<double> SampleValues() {
  std::vector<double> values = {0.0,    -0.0,   0.005,   0.015,  0.125, 2.675,
                                92.475, 30.255, -1234.5, 1e-300, 1e300, 5e-324,
                                1e20,   -7.0,   99.995,  0.045,  1e15,  123456789.125};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int i = 0; i < 500; ++i)
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  return values;
}

TEST(NumberText, AgreesWithPrintfInTheCLocaleDigitForDigit) {
  for (double v : SampleValues()) {
    EXPECT_EQ(FixedText(v, 2), Printed("%.2f", v)) << v;
    EXPECT_EQ(FixedText(v, 0), Printed("%.0f", v)) << v;
    EXPECT_EQ(ScientificText(v, 14), Printed("%.14e", v)) << v;
  }
  EXPECT_EQ(FixedText(std::numeric_limits<double>::infinity(), 2), "inf");
  EXPECT_EQ(FixedText(-std::numeric_limits<double>::infinity(), 2), "-inf");
  EXPECT_EQ(FixedText(std::nan(""), 2), "nan");
  EXPECT_EQ(FixedText(-1e308, 2).size(), 313u);  // sign, 309 digits, point, two decimals
}

TEST(NumberText, WritesAndReadsAPointUnderADecimalCommaLocale) {
  const std::vector<double> values = SampleValues();
  std::vector<std::string> fixed, scientific;
  for (double v : values) {
    fixed.push_back(FixedText(v, 2));
    scientific.push_back(ScientificText(v, 16));
  }
  tvlc::testing::TCommaLocale comma;
  ASSERT_COMMA_LOCALE();
  EXPECT_EQ(Printed("%.2f", 92.48), "92,48");  // what the C library now does
  EXPECT_EQ(FixedText(92.48, 2), "92.48");
  EXPECT_EQ(ScientificText(-2228.57142857143, 14), "-2.22857142857143e+03");
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(FixedText(values[i], 2), fixed[i]);
    EXPECT_EQ(ScientificText(values[i], 16), scientific[i]);
    // Seventeen significant digits bring every double back exactly.
    EXPECT_EQ(ParseNumberText(scientific[i]), values[i]) << scientific[i];
  }
  EXPECT_EQ(ParseNumberText("30.25"), 30.25);
  EXPECT_EQ(ParseNumberText("1e-400"), std::nullopt);  // out of range
  for (const char* text : {"30,25", "", " 1", "+1", "1.5x", "."})
    EXPECT_EQ(ParseNumberText(text), std::nullopt) << text;
}

}  // namespace
}  // namespace tvlc
