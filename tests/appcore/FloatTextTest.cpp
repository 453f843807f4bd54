#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "appcore/FloatText.h"

namespace tvlc {
namespace {

TEST(FloatText, AcceptsTheDecimalGrammar) {
  EXPECT_EQ(ParseFloatText("30"), 30.0);
  EXPECT_EQ(ParseFloatText("  30.5"), 30.5);
  EXPECT_EQ(ParseFloatText("+4"), 4.0);
  EXPECT_EQ(ParseFloatText("-2.25"), -2.25);
  EXPECT_EQ(ParseFloatText("1e1"), 10.0);
  EXPECT_EQ(ParseFloatText("2.5E-1"), 0.25);
  EXPECT_EQ(ParseFloatText("7."), 7.0);
  EXPECT_EQ(ParseFloatText(".5"), 0.5);
}

TEST(FloatText, NumbersBeyondADoubleAreInfiniteOrZero) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ParseFloatText("1e400"), infinity);
  EXPECT_EQ(ParseFloatText("-1e400"), -infinity);
  EXPECT_EQ(ParseFloatText("1000e306"), infinity);
  EXPECT_EQ(ParseFloatText("0.001e311"), 1e308);
  EXPECT_EQ(ParseFloatText("1e99999999999999999999999"), infinity);
  EXPECT_EQ(ParseFloatText("1e-400"), 0.0);
  EXPECT_EQ(ParseFloatText("123456e-330"), 0.0);
  EXPECT_EQ(ParseFloatText("0.0000001e-320"), 0.0);
  const std::optional<double> negativeZero = ParseFloatText("-1e-400");
  ASSERT_TRUE(negativeZero.has_value());
  EXPECT_EQ(*negativeZero, 0.0);
  EXPECT_TRUE(std::signbit(*negativeZero));
  EXPECT_EQ(ParseFloatText("1e-310"), 1e-310);  // subnormal, still a double
}

TEST(FloatText, RefusesEverythingElse) {
  for (const char* text : {"", " ", "30,5", "30 ", "abc", "1e", "1e+", "+", ".", "--1", "0x10",
                           "inf", "nan", "1.2.3", "\t30"})
    EXPECT_FALSE(ParseFloatText(text).has_value()) << text;
}

TEST(FloatText, FixedTwoDecimals) {
  EXPECT_EQ(Fixed2(64.84375), "64.84");
  EXPECT_EQ(Fixed2(0.0), "0.00");
  EXPECT_EQ(Fixed2(-1.005), "-1.00");
  EXPECT_EQ(Fixed2(1e20), "100000000000000000000.00");
}

}  // namespace
}  // namespace tvlc
