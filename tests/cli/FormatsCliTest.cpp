// tvlc-cli with pictures and maps beside BMP: --grey and PNG output.
#include <gtest/gtest.h>

#include <filesystem>

#include "RunCli.h"
#include "model/formats/ImageFile.h"
#include "model/formats/PictureAndMap.h"

namespace tvlc::testing {
namespace {

class CliFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() / ("tvlc-cli-formats-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  TCliRun Run(const std::string& args, bool withStderr = false) {
    return RunCli(args, withStderr, dir_.string());
  }
  std::filesystem::path dir_;
};

TEST_F(CliFormats, ColourJpegIsRefusedWithoutGrey) {
  const TCliRun run =
      Run("shapes " + Data("formats/coffee.jpg") + " " + Data("formats/labels_16.png"), true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("Cann't load picture. Picture is not grayscale image with 8bit color "
                         "depth."),
            std::string::npos)
      << run.out;
}

TEST_F(CliFormats, GreyConvertsAndPngOutputIsWritten) {
  const std::string out = (dir_ / "decoded.png").string();
  const TCliRun run = Run("encode " + Data("formats/coffee.jpg") + " " +
                          Data("formats/labels_16.tif") + " --grey --psnr 30 --out " + out);
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("shapes: 22\n"), std::string::npos) << run.out;
  const TDecodedImage decoded = ReadImageFile(out);
  EXPECT_EQ(decoded.Format, "PNG");
  EXPECT_EQ(decoded.Width, 64);
  EXPECT_EQ(decoded.Height, 48);
}

TEST_F(CliFormats, ShapesLogsTheConversionWithItsFormula) {
  const std::string picture = Data("formats/coffee.png");
  const TCliRun run = Run("shapes " + picture + " " + Data("formats/camera_map.png") + " --grey");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("] Picture " + picture + ": " + kLumaNote + ".\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("] 22 shapes found. Done.\n"), std::string::npos);
}

}  // namespace
}  // namespace tvlc::testing
