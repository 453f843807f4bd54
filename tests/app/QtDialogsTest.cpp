// The dialogs of the desktop: file types in Qt's notation, the error box and
// the question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "QtDialogs.h"

namespace tvlc::test {
namespace {

TEST(QtFilterTextTest, TurnsEachPairIntoOneEntryAndAllFilesIntoEveryFile) {
  EXPECT_EQ(QtFilterText(kPictureOpenFilter),
            "Pictures (*.bmp *.png *.jpg *.jpeg *.tif *.tiff *.pgm *.ppm *.pnm);;"
            "Bitmaps (*.bmp);;All Files (*)");
  EXPECT_EQ(QtFilterText(kPictureSaveFilter),
            "Windows Bitmap (*.bmp);;PNG Image (*.png);;All Files (*)");
  EXPECT_EQ(QtFilterText(kLogFilter), "Log File (*.log);;Text File (*.txt);;All Files (*)");
  EXPECT_EQ(QtFilterText(kProjectFilter), "Tarvello Codec Files (*.tvp);;All Files (*)");
}

TEST(QtFilterTextTest, SeparatesSeveralPatternsOfOneTypeByBlanks) {
  EXPECT_EQ(QtFilterText(kCompressedFilter),
            "Tarvello Picture Files (*.tvz *.tvzx);;All Files (*)");
}

// Hands the modal message box to `act` once it runs; any other modal dialog
// fails the test and is closed, so the test cannot hang.
template <class Act>
void WhenMessageBox(Act act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "no modal message box";
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
      return;
    }
    act(*box);
  });
}

TEST(QtDialogsTest, ErrorBoxIsAModalErrorMessageWithAnOkButton) {
  QWidget owner;
  owner.show();
  bool seen = false;
  WhenMessageBox([&](QMessageBox& box) {
    seen = true;
    EXPECT_EQ(box.text(), "No map loaded. Load Map first");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box.parentWidget(), &owner);
    box.button(QMessageBox::Ok)->click();
  });
  TQtDialogs().ErrorBox(&owner, "No map loaded. Load Map first");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtDialogsTest, QuestionIsAModalYesNoBoxThatAnswersTheButton) {
  QWidget owner;
  owner.show();
  for (const QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
    bool seen = false;
    WhenMessageBox([&](QMessageBox& box) {
      seen = true;
      EXPECT_EQ(box.text(), "Convert it?");
      EXPECT_EQ(box.icon(), QMessageBox::Question);
      EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
      EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
      EXPECT_EQ(box.parentWidget(), &owner);
      box.button(answer)->click();
    });
    EXPECT_EQ(TQtDialogs().Question(&owner, "Convert it?"), answer == QMessageBox::Yes);
    EXPECT_TRUE(seen);
  }
}

}  // namespace
}  // namespace tvlc::test
