#include <gtest/gtest.h>

#include <filesystem>

#include "RunCli.h"
#include "model/Bmp.h"
#include "model/PictureArrays.h"
#include "study/MapCost.h"

namespace tvlc::testing {
namespace {

const std::string kPicture = Data("pictures/camera_64x48.bmp");
const std::string kMap = Data("maps/camera_64x48_felzenszwalb.bmp");
const char* const kHeader =
    "codec,map,requested_psnr,quality,norm,texture_bytes,map_bytes,bpp,psnr,ssim,encode_s,"
    "decode_s,envelope,envelope_texture";

using CliRd = CliScratchTest;

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos;
       start = at + separator.size())
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

// The CSV's data rows as fields (no field of these rows is quoted).
std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
  std::vector<std::string> lines = Split(csv, "\r\n");
  EXPECT_EQ(lines.front(), kHeader);
  EXPECT_EQ(lines.back(), "");  // every line ends with CRLF
  std::vector<std::vector<std::string>> rows;
  for (size_t i = 1; i + 1 < lines.size(); ++i) rows.push_back(Split(lines[i], ","));
  return rows;
}

TEST_F(CliRd, SweepRowsEqualSeparateCompressRuns) {
  const TCliRun rd = Run("rd " + kPicture + " " + kMap +
                         " --psnr 25:35:5 --quality 30,70 --csv " + Path("rd.csv") +
                         " --plot " + Path("rd.svg"));
  ASSERT_EQ(rd.status, 0) << rd.out;
  EXPECT_EQ(ValueAfterLabel(rd.out, "settings: "), "6");
  const auto rows = CsvRows(ReadText(Path("rd.csv")));
  ASSERT_EQ(rows.size(), 6u);

  const TImage map = ReadBmpFile(kMap);
  const std::vector<int32_t> labels = *ColorLabels(map);
  const std::string mapBytes = std::to_string(CodeMapLabels(labels, 64, 48).size());
  EXPECT_EQ(ValueAfterLabel(rd.out, "map: "), "camera_64x48_felzenszwalb.bmp, " + mapBytes + " bytes");

  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 14u);
    EXPECT_EQ(row[0], "tvlc");
    EXPECT_EQ(row[1], "camera_64x48_felzenszwalb.bmp");
    EXPECT_EQ(row[6], mapBytes);
    const TCliRun alone = Run("compress " + kPicture + " " + kMap + " " + Path("c.tvzx") +
                              " --psnr " + row[2] + " --quality " + row[3] + " --norm " + row[4]);
    ASSERT_EQ(alone.status, 0) << alone.out;
    EXPECT_EQ(row[5], std::to_string(std::filesystem::file_size(Path("c.tvzx")))) << row[2];
    // compress prints two decimals, the CSV four.
    EXPECT_NEAR(std::stod(ValueAfterLabel(alone.out, "decoded picture PSNR [dB]: ")),
                std::stod(row[8]), 0.005 + 1e-9)
        << row[2] << " " << row[3];
    const double bpp = std::stod(row[7]);
    EXPECT_NEAR(bpp, (std::stod(row[5]) + std::stod(row[6])) * 8.0 / (64 * 48), 1e-6);
  }
  // Quality 30 at 35 dB against quality 70 at 25 dB: more bits, more PSNR.
  EXPECT_GT(std::stod(rows[4][5]), std::stod(rows[1][5]));
  const std::string svg = ReadText(Path("rd.svg"));
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("camera_64x48.bmp, camera_64x48_felzenszwalb.bmp"), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST_F(CliRd, RectanglesCostNoMapBitsAndStandardCodecsJoinTheCsv) {
  const TCliRun rd = Run("rd " + kPicture + " --rect 16x16 --psnr 24:32:4 --jpeg --csv " +
                         Path("rd.csv"));
  ASSERT_EQ(rd.status, 0) << rd.out;
  const auto rows = CsvRows(ReadText(Path("rd.csv")));
  ASSERT_EQ(rows.size(), 3u + 19u + 19u);
  int envelope = 0;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i][1], "rect 16x16");
    EXPECT_EQ(rows[i][6], "0");
    envelope += rows[i][12] == "1";
    EXPECT_EQ(rows[i][12], rows[i][13]);  // without map bits both envelopes agree
  }
  EXPECT_GE(envelope, 1);
  for (size_t i = 3; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0], i < 22 ? "jpeg" : "jpeg2000");
    EXPECT_EQ(rows[i][1], "");
    EXPECT_EQ(rows[i][3], i < 22 ? std::to_string(5 * (int(i) - 2)) : "");
    EXPECT_EQ(rows[i][6], "");
    EXPECT_EQ(rows[i][12], "");
  }
  EXPECT_NE(rd.out.find("BD-rate against jpeg (map included): "), std::string::npos);
  EXPECT_NE(rd.out.find("BD-rate against jpeg2000 (map not counted): "), std::string::npos);
}

TEST_F(CliRd, AGeneratedSegmentationIsNamedByItsMethodAndCostsItsLabels) {
  const TCliRun rd = Run("rd " + kPicture + " --segment felzenszwalb:scale=250 --psnr 25:30:5" +
                         " --save-map " + Path("map.bmp") + " --csv " + Path("rd.csv"));
  ASSERT_EQ(rd.status, 0) << rd.out;
  const std::vector<int32_t> labels = *ColorLabels(ReadBmpFile(Path("map.bmp")));
  const std::string mapBytes = std::to_string(CodeMapLabels(labels, 64, 48).size());
  const std::string name = "segment felzenszwalb (scale 250, sigma 0.8, min size 100)";
  EXPECT_EQ(ValueAfterLabel(rd.out, "map: "), name + ", " + mapBytes + " bytes");
  const std::vector<std::string> lines = Split(ReadText(Path("rd.csv")), "\r\n");
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 1; i < 3; ++i) {
    // The name holds commas, so the field is quoted.
    const std::string lead = "tvlc,\"" + name + "\",";
    ASSERT_EQ(lines[i].rfind(lead, 0), 0u) << lines[i];
    EXPECT_EQ(Split(lines[i].substr(lead.size()), ",")[4], mapBytes) << lines[i];
  }
  EXPECT_EQ(Run("rd " + kPicture + " " + kMap + " --segment slic").status, 2);
  EXPECT_EQ(Run("rd " + kPicture + " --rect 8x8 --segment slic").status, 2);
}

TEST_F(CliRd, BadRangesAndListsAreUsageErrors) {
  for (const char* bad : {"--psnr 30:20:1", "--psnr 20:30:0", "--psnr 20:30", "--psnr 2O:30:1",
                          "--quality 50,101", "--quality 50,", "--norm 5", "--norm Unknown"}) {
    const TCliRun run = Run("rd " + kPicture + " " + kMap + " " + bad, true);
    EXPECT_EQ(run.status, 2) << bad << "\n" << run.out;
    EXPECT_NE(run.out.find("tvlc-cli: "), std::string::npos) << bad;
  }
  EXPECT_EQ(Run("rd " + kPicture).status, 2);
  EXPECT_EQ(Run("rd " + kPicture + " " + kMap + " --csv").status, 2);
}

TEST_F(CliRd, UnwritableCsvFailsAndLeavesNothing) {
  const TCliRun run = Run("rd " + kPicture + " " + kMap + " --psnr 25:26:1 --csv " +
                          Path("missing/rd.csv"), true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("cannot write file"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(Path("missing")));
}

}  // namespace
}  // namespace tvlc::testing
