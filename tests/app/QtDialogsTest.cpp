// The file types of the dialogs in Qt's notation.
#include <gtest/gtest.h>

#include "QtDialogs.h"

namespace tvlc::test {
namespace {

TEST(QtFilterTextTest, TurnsEachPairIntoOneEntryAndAllFilesIntoEveryFile) {
  EXPECT_EQ(QtFilterText(kBitmapOpenFilter), "Bitmaps (*.bmp);;All Files (*)");
  EXPECT_EQ(QtFilterText(kBitmapSaveFilter), "Windows Bitmap (*.bmp);;All Files (*)");
  EXPECT_EQ(QtFilterText(kLogFilter), "Log File (*.log);;Text File (*.txt);;All Files (*)");
}

}  // namespace
}  // namespace tvlc::test
