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

TEST(QtDialogsTest, ErrorBoxIsAModalErrorMessageWithAnOkButton) {
  QWidget owner;
  owner.show();
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "no modal message box";
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
      return;
    }
    seen = true;
    EXPECT_EQ(box->text(), "No map loaded. Load Map first");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->parentWidget(), &owner);
    box->button(QMessageBox::Ok)->click();
  });
  TQtDialogs().ErrorBox(&owner, "No map loaded. Load Map first");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Answers the modal message box with `button` once it runs, after checking
// that it is a question with Yes and No, No by default.
void AnswerQuestion(QWidget& owner, QMessageBox::StandardButton button, bool& seen) {
  QTimer::singleShot(0, [&owner, button, &seen] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "no modal message box";
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
      return;
    }
    seen = true;
    EXPECT_EQ(box->text(), "Convert it?");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->parentWidget(), &owner);
    box->button(button)->click();
  });
}

TEST(QtDialogsTest, QuestionIsAModalYesNoBoxThatAnswersTheButton) {
  QWidget owner;
  owner.show();
  bool seen = false;
  AnswerQuestion(owner, QMessageBox::Yes, seen);
  EXPECT_TRUE(TQtDialogs().Question(&owner, "Convert it?"));
  EXPECT_TRUE(seen);
  seen = false;
  AnswerQuestion(owner, QMessageBox::No, seen);
  EXPECT_FALSE(TQtDialogs().Question(&owner, "Convert it?"));
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace tvlc::test
