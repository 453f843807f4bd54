#include <gtest/gtest.h>

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
