// The main window with the small picture and map loaded, working in the
// test's scratch directory: encoding, decoding and the spectrum view write
// diagnostic bitmaps and spectrum files into the current directory.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "MainFormFixture.h"

namespace tvlc::test {

// Runs `step` every time the window lets pending input in while it exists,
// as a user acting in the middle of a long command would.
class TWhileBusy {
 public:
  explicit TWhileBusy(std::function<void()> step) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(step));
    timer_.start(0);
  }

 private:
  QTimer timer_;
};

class MainFormCodingTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_);
    LoadSmallInputs();
    Trigger("ClearLog1");
  }

  void TearDown() override {
    std::filesystem::current_path(previousDirectory_);
    MainFormTest::TearDown();
  }

  TMainCore& Core() { return frm_->Core(); }

  void SelectShape(int row) {
    Find<QListWidget>("ShapeList")->setCurrentRow(row);
    Find<QPushButton>("ShowShBtn")->click();
  }

  // Types `text` over the requested PSNR as the user would.
  void TypeRequestedPSNR(const char* text) {
    auto* edit = Find<QLineEdit>("ReqPSNREd");
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  void Click(const char* button) { Find<QPushButton>(button)->click(); }

  // The log's messages from the first one equal to `first` on.
  std::vector<std::string> MessagesFrom(const std::string& first) {
    const std::vector<std::string> messages = LogMessages();
    auto at = std::find(messages.begin(), messages.end(), first);
    return {at, messages.end()};
  }

  bool Logged(const std::string& message) {
    const std::vector<std::string> messages = LogMessages();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }

 private:
  std::filesystem::path previousDirectory_;
};

}  // namespace tvlc::test
