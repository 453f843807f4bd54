// Runs the built tvlc-cli and captures what it prints.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tvlc::testing {

struct TCliRun {
  int status = -1;
  std::string out;  // stdout, or stdout and stderr together when asked
};

// Runs in `directory` when given, so that a test sees every file the
// program leaves behind.
inline TCliRun RunCli(const std::string& arguments, bool withStderr = false,
                      const std::string& directory = "") {
  const std::string command = (directory.empty() ? "" : "cd '" + directory + "' && ") +
                              std::string(TVLC_BIN_DIR) + "/tvlc-cli " + arguments +
                              (withStderr ? " 2>&1" : " 2>/dev/null");
  TCliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

inline std::string Data(const std::string& name) { return std::string(TVLC_TEST_DATA) + "/" + name; }

// Runs tvlc-cli in a scratch directory of its own for every test.
class CliScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("tvlc-cli-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" +
            test->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  TCliRun Run(const std::string& args, bool withStderr = false) {
    return RunCli(args, withStderr, dir_.string());
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

// The bytes of a file the program wrote; empty when there is none.
inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The rest of the line after `label`, or an empty text.
inline std::string ValueAfterLabel(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return "";
  const size_t end = text.find('\n', at);
  return text.substr(at + label.size(), end - at - label.size());
}

}  // namespace tvlc::testing
