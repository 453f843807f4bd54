// The File menu's own commands, the decoded view's "Clear", Exit and About.
#include <QLabel>
#include <QPushButton>
#include <fstream>
#include <iterator>

#include "About.h"
#include "ImageWidget.h"
#include "MainFormFixture.h"
#include "model/Bmp.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(MainFormTest, SaveLogWritesEveryShownLineWithCrLf) {
  LoadSmallInputs();
  const std::string path = Scratch("session.log");
  dialogs_->Answers.push_back(path);
  Trigger("SaveLog1");
  ASSERT_EQ(dialogs_->Asked.size(), 3u);
  EXPECT_TRUE(dialogs_->Asked.back().Save);
  EXPECT_EQ(dialogs_->Asked.back().Filter, "Log File|*.log|Text File|*.txt|All Files|*.*");
  EXPECT_EQ(dialogs_->Asked.back().DefaultExt, "log");
  const QStringList shown = LogLines();
  ASSERT_EQ(shown.size(), 6);
  EXPECT_EQ(QString::fromStdString(FileText(path)), shown.join("\r\n") + "\r\n");
}

TEST_F(MainFormTest, CancelledSaveLogWritesNothing) {
  LoadSmallInputs();
  const size_t lines = LogMessages().size();
  Trigger("SaveLog1");
  EXPECT_EQ(LogMessages().size(), lines);
  EXPECT_TRUE(std::filesystem::is_empty(scratch_));
}

TEST_F(MainFormTest, ClearLogEmptiesTheLogAndLaterLinesStartAfresh) {
  LoadSmallInputs();
  Trigger("ClearLog1");
  EXPECT_TRUE(Find<QPlainTextEdit>("Log")->toPlainText().isEmpty());
  LoadPicture(kPicture64);
  EXPECT_EQ(LogMessages(), Lines({"Picture " + kPicture64 + " of size 64x48 loaded.", ""}));
}

TEST_F(MainFormTest, SavePictureAndMapWriteTheViewsImages) {
  LoadSmallInputs();
  const std::string picture = Scratch("picture.bmp");
  const std::string map = Scratch("map.bmp");
  dialogs_->Answers = {picture, map};
  Trigger("SavePicture1");
  Trigger("SaveMap1");
  for (size_t i = 2; i < 4; ++i) {
    EXPECT_TRUE(dialogs_->Asked[i].Save);
    EXPECT_EQ(dialogs_->Asked[i].Filter, "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*");
    EXPECT_EQ(dialogs_->Asked[i].DefaultExt, "bmp");
  }
  const Lines messages = LogMessages();
  EXPECT_EQ(Lines(messages.end() - 4, messages.end()),
            Lines({"Picture saved.", "", "Map saved.", ""}));
  EXPECT_TRUE(ReadBmpFile(picture) == ReadBmpFile(kPicture64));
  EXPECT_TRUE(ReadBmpFile(map) == ReadBmpFile(kMap64));
}

TEST_F(MainFormTest, RefusedSavePictureLeavesTheChosenFileAsItWas) {
  const std::string path = Scratch("precious.bmp");
  const std::string precious("BM a picture the user keeps\0\xff", 29);
  std::ofstream(path, std::ios::binary) << precious;
  dialogs_->Answers.push_back(path);
  Trigger("SavePicture1");  // no picture loaded
  EXPECT_EQ(LogMessages(),
            Lines({"Error: Image size not supported by bitmap files (0 x 0)", ""}));
  EXPECT_EQ(FileText(path), precious);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(MainFormTest, DecodedViewClearResetsItToWhite) {
  LoadSmallInputs();
  TMainCore& core = frm_->Core();
  core.Reconst.SetPixel(3, 4, RGB(1, 2, 3));
  core.DecodedMask[4 * 64 + 3] = 1;
  core.Notify(kViewsChanged);
  auto* reconst = Find<TImageWidget>("Reconst");
  ASSERT_EQ(reconst->Shown().pixel(3, 4), qRgb(1, 2, 3));
  Trigger("Clear1");
  EXPECT_EQ(reconst->Shown().pixel(3, 4), qRgb(255, 255, 255));
  EXPECT_EQ(reconst->Shown().size(), QSize(64, 48));
  EXPECT_EQ(core.DecodedMask, std::vector<uint8_t>(64 * 48, 0));
}

TEST_F(MainFormTest, ExitClosesTheWindow) {
  ASSERT_TRUE(frm_->isVisible());
  Trigger("Exit1");
  EXPECT_FALSE(frm_->isVisible());
}

TEST_F(MainFormTest, AboutBoxShowsModallyCentredOverTheWindow) {
  bool seen = false;
  WhenModal<TAboutBox>([&](TAboutBox& box) {
    seen = true;
    EXPECT_EQ(box.findChild<QLabel*>("ProductName")->text(), "Tarvello Picture Codec");
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "Version 1.0 [Build 11]");
    EXPECT_FALSE(box.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    const QRect owner = frm_->frameGeometry();
    EXPECT_EQ(box.x(), owner.x() + (owner.width() - box.width()) / 2);
    EXPECT_EQ(box.y(), owner.y() + (owner.height() - box.height()) / 2);
    box.findChild<QPushButton*>("OKButton")->click();
  });
  Trigger("About1");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace tvlc::test
