// Switches the C library to a locale that writes a decimal comma for one
// scope, as the window's QApplication does with the user's locale. The
// locale is built into the build folder; without it the test fails.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

namespace tvlc::testing {

class TCommaLocale {
 public:
  TCommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    if (!std::setlocale(LC_ALL, TVLC_COMMA_LOCALE)) {
      // Not installed on this machine: take the one the build made.
      ::setenv("LOCPATH", TVLC_LOCALE_DIR, 1);
      std::setlocale(LC_ALL, TVLC_COMMA_LOCALE);
    }
  }
  ~TCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  TCommaLocale(const TCommaLocale&) = delete;
  TCommaLocale& operator=(const TCommaLocale&) = delete;

  // True when the C library now writes 0.5 as "0,5".
  static bool Active() {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 0.5);
    return std::strcmp(text, "0,5") == 0;
  }

 private:
  std::string previous_;
};

}  // namespace tvlc::testing

// Use at the start of every test that needs the comma locale.
#define ASSERT_COMMA_LOCALE()                                                                    \
  ASSERT_TRUE(::tvlc::testing::TCommaLocale::Active())                                           \
      << "the locale " TVLC_COMMA_LOCALE " is missing from the system and from " TVLC_LOCALE_DIR \
         " (built by the target tvlc_comma_locale)"
