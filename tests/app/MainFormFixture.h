// A real main window, shown offscreen, whose dialogs are answered by the
// test, with helpers to reach its controls by name and read its log.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MainForm.h"
#include "ScriptedDialogs.h"

namespace tvlc::test {

inline const std::string kData = TVLC_TEST_DATA;
inline const std::string kPicture64 = kData + "/pictures/camera_64x48.bmp";
inline const std::string kMap64 = kData + "/maps/camera_64x48_felzenszwalb.bmp";
inline const std::string kMap65 = kData + "/maps/camera_65x48_felzenszwalb.bmp";
inline const std::string kSamplePicture = std::string(TVLC_SAMPLES) + "/camera.bmp";
inline const std::string kSampleMap = std::string(TVLC_SAMPLES) + "/camera_felzenszwalb.bmp";

// The events a real double click delivers to a widget: press, release, press,
// double click, release.
inline void DoubleClick(QWidget* target, QPoint at) {
  QTest::mouseClick(target, Qt::LeftButton, {}, at);
  QTest::mousePress(target, Qt::LeftButton, {}, at);
  QTest::mouseDClick(target, Qt::LeftButton, {}, at);
  QTest::mouseRelease(target, Qt::LeftButton, {}, at);
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    dialogs_ = dialogs.get();
    frm_ = std::make_unique<TMainFrm>(std::move(dialogs), std::string(TVLC_BIN_DIR) + "/");
    frm_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_.get()));
    const std::string name =
        ::testing::UnitTest::GetInstance()->current_test_info()->name();
    // The process id keeps runs that overlap (the run under a decimal comma
    // beside the per-test runs) out of each other's folders.
    scratch_ = std::filesystem::temp_directory_path() /
               ("tvlc_app_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(scratch_);
    std::filesystem::create_directories(scratch_);
  }

  void TearDown() override {
    frm_.reset();
    std::filesystem::remove_all(scratch_);
  }

  template <class T>
  T* Find(const char* name) {
    T* found = frm_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // Runs a menu command the way the user picks it.
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  void LoadPicture(const std::string& path) {
    dialogs_->Answers.push_back(path);
    Trigger("LoadPicture1");
  }
  void LoadMap(const std::string& path) {
    dialogs_->Answers.push_back(path);
    Trigger("LoadMap1");
  }
  void LoadSmallInputs() {
    LoadPicture(kPicture64);
    LoadMap(kMap64);
  }

  // The lines of the log control as shown.
  QStringList LogLines() { return Find<QPlainTextEdit>("Log")->toPlainText().split('\n'); }

  // The log's messages: shown lines with the time stamp taken off.
  std::vector<std::string> LogMessages() {
    static const QRegularExpression stamp("^\\[\\d\\d:\\d\\d:\\d\\d\\] ");
    std::vector<std::string> messages;
    const QString text = Find<QPlainTextEdit>("Log")->toPlainText();
    if (text.isEmpty()) return messages;
    for (QString line : text.split('\n')) messages.push_back(line.remove(stamp).toStdString());
    return messages;
  }

  // Acts on the modal dialog of type Dialog once it runs; any other modal
  // dialog fails the test and is closed, so the test cannot hang.
  template <class Dialog, class Action>
  static void WhenModal(Action action) {
    QTimer::singleShot(0, [action] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* dialog = qobject_cast<Dialog*>(modal)) {
        action(*dialog);
        return;
      }
      ADD_FAILURE() << "expected modal dialog not shown";
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
    });
  }

  std::string Scratch(const std::string& file) const { return (scratch_ / file).string(); }

  TScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TMainFrm> frm_;
  std::filesystem::path scratch_;
};

}  // namespace tvlc::test
