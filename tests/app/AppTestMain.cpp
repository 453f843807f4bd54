// The GUI tests need one QApplication for the whole run; they draw offscreen
// unless a platform was chosen explicitly.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen").toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName("TVLC");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
