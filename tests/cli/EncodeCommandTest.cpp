#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "RunCli.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

const std::string kInputs = Data("pictures/camera_64x48.bmp") + " " +
                            Data("maps/camera_64x48_felzenszwalb.bmp");

class CliEncode : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tvlc-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // Runs in the scratch directory, where the diagnostic bitmaps go.
  TCliRun Run(const std::string& args) { return RunCli(args, false, dir_.string()); }
  std::filesystem::path dir_;
};

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::stringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

TEST_F(CliEncode, EveryShapeReachesTheRequestAndTheDecodedPictureIsWritten) {
  const std::string out = (dir_ / "decoded.bmp").string();
  const TCliRun run = Run("encode " + kInputs + " --psnr 30 --csv --out " + out);
  ASSERT_EQ(run.status, 0) << run.out;
  const auto rows = CsvRows(run.out);
  ASSERT_EQ(rows.size(), 23u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"name", "module_code", "trans_code", "iterations", "psnr"}));
  for (size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 5u);
    EXPECT_EQ(rows[i][1], "1");
    EXPECT_EQ(rows[i][2], "2");
    EXPECT_GE(std::stod(rows[i][4]), 30.0) << rows[i][0];
  }
  EXPECT_NE(run.out.find("# shapes: 22\n"), std::string::npos);
  EXPECT_NE(run.out.find("# decoded picture PSNR [dB]: "), std::string::npos);
  const TImage decoded = ReadBmpFile(out);
  EXPECT_EQ(decoded.Width(), 64);
  EXPECT_EQ(decoded.Height(), 48);
}

TEST_F(CliEncode, HartleyAndQuantization) {
  const TCliRun run = Run("encode " + kInputs + " --psnr 25 --transform 2:3 --quality 50 --norm 3 --csv");
  ASSERT_EQ(run.status, 0) << run.out;
  const auto rows = CsvRows(run.out);
  ASSERT_EQ(rows.size(), 23u);
  EXPECT_EQ(rows[1][1], "2");
  EXPECT_EQ(rows[1][2], "3");
}

TEST_F(CliEncode, BothEnginesGiveTheSameShapes) {
  const TCliRun fast = Run("encode " + kInputs + " --psnr 35 --csv");
  const TCliRun literal = Run("encode " + kInputs + " --psnr 35 --csv --engine literal");
  ASSERT_EQ(fast.status, 0);
  ASSERT_EQ(literal.status, 0);
  EXPECT_EQ(CsvRows(fast.out), CsvRows(literal.out));
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 35 --engine turbo").status, 2);
}

TEST_F(CliEncode, UnknownTransformationAndBadOptions) {
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 30 --transform 5:9").status, 1);
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 30,5").status, 2);
  EXPECT_EQ(Run("encode " + kInputs).status, 2);
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 30 --quality 101").status, 2);
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 30 --norm Sideways").status, 2);
  EXPECT_EQ(Run("encode /nonexistent.bmp " + Data("maps/camera_64x48_felzenszwalb.bmp") +
                   " --psnr 30")
                .status,
            1);
}

}  // namespace
}  // namespace tvlc::testing
