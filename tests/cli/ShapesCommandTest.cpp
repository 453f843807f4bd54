#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "RunCli.h"

namespace tvlc::testing {
namespace {

// The expected shape lists name each shape by hex label; the CLI prints the
// same fields in its own column order.
std::string ExpectedCsv(const std::string& csvPath) {
  std::ifstream in(csvPath);
  std::string line, out = "name,id,left,top,right,bottom,points,rounded_width,rounded_height\n";
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) f.push_back(cell);
    if (f.size() == 10) f.insert(f.begin() + 2, "");
    out += "Shape " + f[2] + "," + f[1] + "," + f[3] + "," + f[4] + "," + f[5] + "," + f[6] +
           "," + f[7] + "," + f[8] + "," + f[9] + "\n";
  }
  return out;
}

TEST(CliShapes, CsvListsEveryShapeInOrder) {
  const TCliRun run = RunCli("shapes " + Data("pictures/chelsea_grey_301x203.bmp") + " " +
                             Data("maps/chelsea_grey_301x203_slic_grey8.bmp") + " --csv");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ExpectedCsv(Data("maps/chelsea_grey_301x203_slic_grey8.shapes.csv")));
}

TEST(CliShapes, TablePrintsTheLoadLogAndOneRowAShape) {
  const std::string picture = Data("pictures/camera_64x48.bmp");
  const TCliRun run =
      RunCli("shapes " + picture + " " + Data("maps/camera_64x48_felzenszwalb.bmp"));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("] Picture " + picture + " of size 64x48 loaded.\n"), std::string::npos);
  EXPECT_NE(run.out.find("] 22 shapes found. Done.\n"), std::string::npos);
  EXPECT_NE(run.out.find("Shape AA04FF    11142399      0      0      4      8       26        8x16"
                         "       64.84     79.69\n"),
            std::string::npos)
      << run.out;
}

TEST(CliShapes, RefusedMapGoesToStderrWithStatusOne) {
  const std::string args = "shapes " + Data("pictures/camera_64x48.bmp") + " " +
                           Data("maps/camera_65x48_felzenszwalb.bmp");
  const TCliRun quiet = RunCli(args);
  EXPECT_EQ(quiet.status, 1);
  EXPECT_EQ(quiet.out, "");
  const TCliRun all = RunCli(args, true);
  EXPECT_NE(all.out.find("Error: height/width of map is larger than height/width of picture"),
            std::string::npos);
}

TEST(CliShapes, UnreadableFileAndUsageErrors) {
  EXPECT_EQ(RunCli("shapes /nonexistent.bmp " + Data("maps/camera_64x48_felzenszwalb.bmp")).status, 1);
  EXPECT_EQ(RunCli("shapes onlyone.bmp").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  EXPECT_EQ(RunCli("shapes a b --bogus").status, 2);
  const TCliRun help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: tvlc-cli"), std::string::npos);
}

}  // namespace
}  // namespace tvlc::testing
