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
  // Runs in the scratch directory, which stays empty unless a file is asked for.
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

// Three 8 x 8 blocks: mid-grey (coded exactly by an empty spectrum), a flat
// 130 (residual 2 everywhere: 10 log10(255^2 / 4) = 42.11 dB) and a ramp
// that needs iterations.
std::string WriteFlatBlocks(const std::filesystem::path& dir) {
  TImage picture(24, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 24; ++x)
      picture.SetPixel(x, y, Grey(uint8_t(x < 8 ? 128 : x < 16 ? 130 : 20 * (x - 16) + 10 * y)));
  const std::string path = (dir / "blocks.bmp").string();
  WriteBmpFile(path, picture);
  return path;
}

TEST_F(CliEncode, ShapesThatMeetTheRequestShowTheirOwnPSNR) {
  const std::string picture = WriteFlatBlocks(dir_);
  const TCliRun csv = Run("encode " + picture + " --rect 8x8 --psnr 30 --csv");
  ASSERT_EQ(csv.status, 0) << csv.out;
  const auto rows = CsvRows(csv.out);
  ASSERT_EQ(rows.size(), 4u) << csv.out;
  EXPECT_EQ(rows[1][3], "0");
  EXPECT_EQ(rows[1][4], "inf");
  EXPECT_EQ(rows[2][3], "0");
  EXPECT_EQ(rows[2][4], "42.11");
  EXPECT_NE(rows[3][3], "0");
  EXPECT_GE(std::stod(rows[3][4]), 30.0);

  const TCliRun table = Run("encode " + picture + " --rect 8x8 --psnr 30");
  ASSERT_EQ(table.status, 0);
  EXPECT_NE(table.out.find("           0         inf\n"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("           0       42.11\n"), std::string::npos) << table.out;
  EXPECT_EQ(table.out.find("100000000000000000000"), std::string::npos) << table.out;
}

TEST_F(CliEncode, DiagnosticBitmapsOnlyWhereAsked) {
  const TCliRun quiet = Run("encode " + kInputs + " --psnr 25");
  ASSERT_EQ(quiet.status, 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir_));

  const std::filesystem::path diagnostics = dir_ / "segments";
  std::filesystem::create_directory(diagnostics);
  const TCliRun asked = Run("encode " + kInputs + " --psnr 25 --diagnostics " + diagnostics.string());
  ASSERT_EQ(asked.status, 0);
  size_t original = 0, decoded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(diagnostics)) {
    const std::string name = entry.path().filename().string();
    original += name.starts_with("SEGMENT_ORIGINAL_IMG_Shape ");
    decoded += name.starts_with("SEGMENT_DECODED_IMG_Shape ");
  }
  EXPECT_EQ(original, 22u);
  EXPECT_EQ(decoded, 22u);
  const TImage bitmap = ReadBmpFile((diagnostics / "SEGMENT_ORIGINAL_IMG_Shape D42CB0.BMP").string());
  EXPECT_GT(bitmap.Width(), 0);
  // Only the folder got them.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
  EXPECT_EQ(Run("encode " + kInputs + " --psnr 25 --diagnostics " + (dir_ / "missing").string()).status, 2);
}

TEST_F(CliEncode, UnlistedTransformationsAreRefused) {
  const TCliRun fft = RunCli("encode " + kInputs + " --psnr 15 --transform 1:1", true, dir_.string());
  EXPECT_EQ(fft.status, 1);
  EXPECT_EQ(fft.out, "tvlc-cli: transformation 1:1 (FFT) is not listed and cannot encode; use a "
                     "listed one (see tvlc-cli modules)\n");
  const TCliRun unknown = RunCli("encode " + kInputs + " --psnr 15 --transform 1:7", true, dir_.string());
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.out, "tvlc-cli: unknown transformation 1:7 (see tvlc-cli modules)\n");
  EXPECT_EQ(Run("compress " + kInputs + " out.tvzx --psnr 15 --transform 1:1").status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.tvzx"));
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
