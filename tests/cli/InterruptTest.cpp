// Ctrl-C during a long encode: the built program gets real SIGINTs.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "RunCli.h"
#include "model/Bmp.h"

extern char** environ;

namespace tvlc::testing {
namespace {

namespace fs = std::filesystem;

class CliInterrupt : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tvlc-cli-int-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "segments");
  }
  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    fs::remove_all(dir_);
  }

  // Starts tvlc-cli with `args` (the diagnostic bitmaps go to segments/,
  // stdout and stderr to files of the scratch folder).
  void Start(std::vector<std::string> args) {
    args.insert(args.begin(), std::string(TVLC_BIN_DIR) + "/tvlc-cli");
    args.push_back("--diagnostics");
    args.push_back((dir_ / "segments").string());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, (dir_ / "stdout").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, (dir_ / "stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
  }

  // Waits until `done` holds (a minute at most).
  template <class Condition>
  bool WaitFor(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  // Waits until the encode of the second shape has begun.
  bool SecondShapeStarted() {
    return WaitFor([&] {
      size_t started = 0;
      for (const auto& entry : fs::directory_iterator(dir_ / "segments"))
        started += entry.path().filename().string().starts_with("SEGMENT_ORIGINAL_IMG_");
      return started >= 2;
    });
  }

  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

  fs::path dir_;
  pid_t pid_ = -1;
};

const std::string kPicture = Data("pictures/chelsea_grey_301x203.bmp");

TEST_F(CliInterrupt, EncodeReportsTheShapesDoneAndWritesTheirPicture) {
  const std::string out = (dir_ / "decoded.bmp").string();
  Start({"encode", kPicture, "--rect", "32x32", "--psnr", "55", "--engine", "literal", "--csv",
         "--out", out});
  ASSERT_TRUE(SecondShapeStarted());
  ASSERT_EQ(::kill(pid_, SIGINT), 0);
  const int status = Wait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);

  const std::string printed = ReadText(dir_ / "stdout");
  size_t rows = 0;
  std::stringstream lines(printed);
  for (std::string line; std::getline(lines, line);) rows += !line.empty() && line[0] != '#';
  const size_t done = rows - 1;  // without the header
  EXPECT_GE(done, 2u) << printed;
  EXPECT_LT(done, 70u) << printed;
  EXPECT_NE(printed.find("# shapes: " + std::to_string(done) + " of 70 (interrupted)\n"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("# decoded picture PSNR [dB]: "), std::string::npos);
  EXPECT_NE(ReadText(dir_ / "stderr").find("stopping after the shape in hand"), std::string::npos);

  // The decoded picture holds the shapes done; the first rectangle is
  // decoded, the last one still white.
  const TImage decoded = ReadBmpFile(out);
  ASSERT_EQ(decoded.Width(), 301);
  const TImage picture = ReadBmpFile(kPicture);
  EXPECT_LT(std::abs(int(RedOf(decoded.Pixel(5, 5))) - int(RedOf(picture.Pixel(5, 5)))), 8);
  EXPECT_EQ(decoded.Pixel(300, 202), kWhite);
}

TEST_F(CliInterrupt, CompressWritesNothing) {
  const fs::path out = dir_ / "kept.tvzx";
  std::ofstream(out) << "an older file";
  Start({"compress", kPicture, "--rect", "32x32", out.string(), "--psnr", "55", "--engine",
         "literal"});
  ASSERT_TRUE(SecondShapeStarted());
  ASSERT_EQ(::kill(pid_, SIGINT), 0);
  const int status = Wait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_EQ(ReadText(out), "an older file");
  EXPECT_NE(ReadText(dir_ / "stderr").find(" of 70 shapes; " + out.string() + " not written\n"),
            std::string::npos)
      << ReadText(dir_ / "stderr");
}

TEST_F(CliInterrupt, SecondInterruptEndsAtOnce) {
  // One shape of a 128 x 128 window at 70 dB takes far longer than the test.
  Start({"encode", kPicture, "--rect", "128x128", "--psnr", "70", "--engine", "literal"});
  ASSERT_TRUE(WaitFor([&] { return !fs::is_empty(dir_ / "segments"); }));
  ASSERT_EQ(::kill(pid_, SIGINT), 0);
  ASSERT_TRUE(WaitFor([&] { return !ReadText(dir_ / "stderr").empty(); }));
  ASSERT_EQ(::kill(pid_, SIGINT), 0);
  const int status = Wait();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_EQ(ReadText(dir_ / "stdout"), "");
}

}  // namespace
}  // namespace tvlc::testing
