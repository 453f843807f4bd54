// A scratch folder per test for runs of tvlc-cli, and reading its output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "RunCli.h"

namespace tvlc::testing {

class CliScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tvlc-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  TCliRun Run(const std::string& args, bool withStderr = false) {
    return RunCli(args, withStderr, dir_.string());
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

// The rest of the line after `label`, or an empty text.
inline std::string ValueAfterLabel(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return "";
  const size_t end = text.find('\n', at);
  return text.substr(at + label.size(), end - at - label.size());
}

}  // namespace tvlc::testing
