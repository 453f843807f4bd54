// A TMainCore driven by a host with a fixed clock, working in a scratch
// directory (commands write diagnostic files into the current directory).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "appcore/MainCore.h"

namespace tvlc::testing {

class TTestHost : public THost {
 public:
  double Now = 0.5;  // 12:00:00
  int PendingInputCalls = 0;
  std::vector<std::string> ErrorBoxes;
  std::function<void()> OnPendingInput;

  double TimeOfDay() const override { return Now; }
  void ProcessPendingInput() override {
    ++PendingInputCalls;
    if (OnPendingInput) OnPendingInput();
  }
  void ErrorBox(const std::string& text) override { ErrorBoxes.push_back(text); }
  // Every question is recorded and answered with AnswerYes.
  std::vector<std::string> Questions;
  bool AnswerYes = false;
  bool Question(const std::string& text) override {
    Questions.push_back(text);
    return AnswerYes;
  }
};

inline std::string TestData(const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/" + name;
}
inline std::string Sample(const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/../../samples/" + name;
}

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    scratch_ = std::filesystem::temp_directory_path() /
               ("tvlc-core-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(scratch_);
    std::filesystem::current_path(scratch_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(scratch_);
  }

  // The log lines added since the mark.
  std::vector<std::string> LinesSince(size_t mark) const {
    const auto& lines = core.Log.Lines();
    return {lines.begin() + std::ptrdiff_t(std::min(mark, lines.size())), lines.end()};
  }

  TTestHost host;
  // No transformation modules unless a test loads them.
  TMainCore core{host, TestData("")};

 private:
  std::filesystem::path previous_, scratch_;
};

// The small camera picture and its map of 22 shapes loaded, every
// notification shown at once.
class LoadedCoreTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    core.SetInputInterval({});
    ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
    ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  }
};

}  // namespace tvlc::testing
