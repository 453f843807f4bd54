// The GUI tests need one QApplication for the whole run; they draw offscreen
// unless a platform was chosen explicitly.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen").toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName("TVLC");
  // The run under a decimal comma proves nothing if the locale is missing.
  if (qEnvironmentVariableIsSet("TVLC_REQUIRE_DECIMAL_COMMA") &&
      std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
    std::fprintf(stderr, "The locale %s (LOCPATH %s) is not available: no decimal comma\n",
                 qgetenv("LC_ALL").constData(), qgetenv("LOCPATH").constData());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
