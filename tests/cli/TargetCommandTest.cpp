#include <gtest/gtest.h>

#include <filesystem>

#include "RunCli.h"

namespace tvlc::testing {
namespace {

const std::string kPicture = Data("pictures/camera_64x48.bmp");
const std::string kMap = Data("maps/camera_64x48_felzenszwalb.bmp");

using CliTarget = CliScratchTest;

TEST_F(CliTarget, BudgetIsKeptWithTheMapCountedAndTheChoiceReproduces) {
  const TCliRun run = Run("compress " + kPicture + " " + kMap + " " + Path("t.tvzx") +
                          " --target-bpp 2.5");
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string chosen = ValueAfterLabel(run.out, "chosen: ");
  ASSERT_FALSE(chosen.empty()) << run.out;
  const double mapBytes = std::stod(ValueAfterLabel(run.out, "map size [bytes]: "));
  const uintmax_t fileBytes = std::filesystem::file_size(Path("t.tvzx"));
  const double total = std::stod(ValueAfterLabel(run.out, "total bits per pixel (map included): "));
  EXPECT_LE(total, 2.5);
  EXPECT_NEAR(total, (double(fileBytes) + mapBytes) * 8.0 / (64 * 48), 1e-4);
  // The chosen settings given by hand write the same file.
  const std::string settings = chosen.substr(0, chosen.find(" ("));
  const TCliRun again =
      Run("compress " + kPicture + " " + kMap + " " + Path("again.tvzx") + " " + settings);
  ASSERT_EQ(again.status, 0) << again.out;
  EXPECT_EQ(std::filesystem::file_size(Path("again.tvzx")), fileBytes);
  EXPECT_EQ(ValueAfterLabel(again.out, "decoded picture PSNR [dB]: "),
            ValueAfterLabel(run.out, "decoded picture PSNR [dB]: "));
}

TEST_F(CliTarget, PsnrIsReachedWithTheRectangleSizeChosen) {
  const TCliRun run =
      Run("compress " + kPicture + " --rect auto " + Path("t.tvzx") + " --target-psnr 30");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(ValueAfterLabel(run.out, "chosen: ").find(" --rect "), std::string::npos) << run.out;
  EXPECT_GE(std::stod(ValueAfterLabel(run.out, "decoded picture PSNR [dB]: ")), 30.0 - 0.005);
  EXPECT_EQ(ValueAfterLabel(run.out, "map size [bytes]: "), "0");
}

TEST_F(CliTarget, UnreachableTargetsAndConflictingOptionsAreRefused) {
  const TCliRun tiny = Run("compress " + kPicture + " " + kMap + " " + Path("t.tvzx") +
                           " --target-bpp 0.01", true);
  EXPECT_EQ(tiny.status, 1);
  EXPECT_NE(tiny.out.find("no setting stays within 0.0100 bpp"), std::string::npos) << tiny.out;
  EXPECT_FALSE(std::filesystem::exists(Path("t.tvzx")));
  for (const char* bad : {" --target-bpp 1 --target-psnr 30", " --target-bpp -1",
                          " --target-psnr 30 --psnr 30"})
    EXPECT_EQ(Run("compress " + kPicture + " " + kMap + " " + Path("t.tvzx") + bad).status, 2)
        << bad;
  EXPECT_EQ(Run("compress " + kPicture + " --rect auto " + Path("t.tvzx") + " --psnr 30").status, 2);
}

}  // namespace
}  // namespace tvlc::testing
