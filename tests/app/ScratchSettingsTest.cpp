// Qt's file dialog writes its history into the user's settings; the program
// points them at a folder of its own run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "ScratchSettings.h"

namespace tvlc::test {
namespace {

TEST(ScratchSettingsTest, FileDialogHistoryStaysInATemporaryFolder) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
  QString scratch;
  {
    const TScratchSettings settings;
    scratch = settings.Folder();
    {
      QFileDialog dialog(nullptr, QString(), QDir::tempPath());
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      dialog.show();
      dialog.reject();
    }
    EXPECT_TRUE(QFile::exists(scratch + "/QtProject.conf"));
  }
  EXPECT_FALSE(QDir(scratch).exists());
  EXPECT_TRUE(QDir(home.path()).isEmpty()) << home.path().toStdString();
}

}  // namespace
}  // namespace tvlc::test
