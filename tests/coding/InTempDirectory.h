// Runs each test inside a fresh empty working directory: encoding and
// decoding write their diagnostic bitmaps into the current directory.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "FakeTransform.h"

namespace tvlc {

class InTempDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "tvlc_coding_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    std::filesystem::current_path(directory_);
    fake::Reset();
  }

  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(directory_);
  }

  const std::filesystem::path& Directory() const { return directory_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path directory_;
};

}  // namespace tvlc
