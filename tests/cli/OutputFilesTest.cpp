// Where tvlc-cli writes its files: through the safe writer, to pipes and
// descriptors directly.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "RunCli.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

const std::string kEncode = "encode " + Data("pictures/camera_64x48.bmp") + " " +
                            Data("maps/camera_64x48_felzenszwalb.bmp") + " --psnr 20";

class CliOutputFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tvlc-cli-out-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(CliOutputFiles, DecodedPictureGoesToStandardOutputDirectly) {
  const TCliRun run = RunCli(kEncode + " --out /dev/stdout", false, dir_.string());
  ASSERT_EQ(run.status, 0);
  std::istringstream in(run.out);
  const TImage decoded = ReadBmp(in);
  EXPECT_EQ(decoded.Width(), 64);
  EXPECT_EQ(decoded.Height(), 48);
  // The table follows the bitmap.
  EXPECT_NE(run.out.find("decoded picture PSNR [dB]: ", size_t(in.tellg())), std::string::npos);
}

TEST_F(CliOutputFiles, AFolderAsOutputIsRefusedWithItsReason) {
  std::filesystem::create_directory(dir_ / "folder.bmp");
  const TCliRun run = RunCli(kEncode + " --out folder.bmp", true, dir_.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("tvlc-cli: cannot write file folder.bmp: it is a folder\n"),
            std::string::npos)
      << run.out;
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "folder.bmp"));
}

}  // namespace
}  // namespace tvlc::testing
