#include <algorithm>
#include <climits>
#include <cmath>

#include "CoreFixture.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

class CodingCommandsTest : public LoadedCoreTest {
 protected:
  void SetUp() override {
    LoadedCoreTest::SetUp();
    core.ShowShBtnClick(1);
  }
  const std::string& Name(int i) const { return core.Shapes[size_t(i)].Name; }
  TShape& Shape(int i) { return *core.Shapes[size_t(i)].Shape; }
};

TEST_F(CodingCommandsTest, EncodeReachesTheRequestAndLogsEveryStep) {
  const size_t mark = core.Log.Lines().size();
  core.EncBtnClick();
  const auto lines = LinesSince(mark);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "[12:00:00] Transformation of " + Name(1) + " started...");
  // Nothing was selected or looked up yet, so the current name is empty.
  EXPECT_EQ(lines[1], "[12:00:00] ...using transformation ");
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] Transformation complete. Done.");
  EXPECT_GE(Shape(1).PSNR, 30.0);
  EXPECT_GT(Shape(1).Iterations, 0);
  EXPECT_EQ(Shape(1).ModuleCode, 1u);
  EXPECT_EQ(Shape(1).TransCode, 2u);
  EXPECT_EQ(core.Registry.SelTransName, "DCT II");
  EXPECT_EQ(core.Info.SpecAvalLab, "Yes");
  EXPECT_EQ(core.Info.IterDoneLab, std::to_string(Shape(1).Iterations));
  // UpdateInfo runs the unticked "Continue encoding" handler: labels back to 0.
  EXPECT_EQ(core.Controls.IteratLab, "0");
  EXPECT_EQ(core.Controls.EncBtnCaption, "Encode");
  EXPECT_TRUE(core.Controls.DecodeBtnEnabled);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
  EXPECT_TRUE(core.Controls.ContEncChckVisible);
  EXPECT_EQ(core.Controls.EncProgBar.Max, 3000);
  EXPECT_EQ(core.Controls.EncProgBar.Position, core.Controls.EncProgBar.Min);
  EXPECT_EQ(Shape(1).Quality, 0);  // quantization switched off in the controls
}

TEST_F(CodingCommandsTest, ControlsAreDisabledWhileEncoding) {
  bool checked = false;
  host.OnPendingInput = [&] {
    if (core.Controls.EncBtnCaption != "Stop") return;
    checked = true;
    EXPECT_FALSE(core.Controls.ShowShBtnEnabled);
    EXPECT_FALSE(core.Controls.FileMenuEnabled);
    EXPECT_FALSE(core.Controls.DecodeBtnEnabled);
    EXPECT_TRUE(core.Controls.EncBtnEnabled);  // it is the "Stop" now
    // The coding operations are not re-entrant and the shapes must stay.
    EXPECT_FALSE(core.Controls.EncAllBtnEnabled);
    EXPECT_FALSE(core.Controls.DecAllBtnEnabled);
    EXPECT_FALSE(core.Controls.MapMenuEnabled);
  };
  core.EncBtnClick();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(core.Controls.EncAllBtnEnabled);
  EXPECT_TRUE(core.Controls.MapMenuEnabled);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
}

TEST_F(CodingCommandsTest, BatchKeepsFileAndMapMenusDisabledBetweenShapes) {
  int looks = 0;
  host.OnPendingInput = [&] {
    if (core.Controls.EncBtnCaption == "Stop") return;
    ++looks;
    EXPECT_FALSE(core.Controls.FileMenuEnabled);
    EXPECT_FALSE(core.Controls.MapMenuEnabled);
    EXPECT_FALSE(core.Controls.EncAllBtnEnabled);
  };
  core.Controls.ReqPSNRText = "15";
  core.EncAllBtnClick();
  EXPECT_GT(looks, 0);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
}

TEST_F(CodingCommandsTest, RequestedPsnrIsReadTheSameInEveryLocale) {
  core.Controls.ReqPSNRText = "30,5";
  const size_t mark = core.Log.Lines().size();
  core.EncBtnClick();
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{
                                  "[12:00:00] Error: 30,5 not a correct floating point number", ""}));
  EXPECT_FALSE(Shape(1).HasSpectrum());
  core.Controls.ReqPSNRText = "1e1";
  const size_t accepted = core.Log.Lines().size();
  core.EncBtnClick();
  EXPECT_EQ(core.Controls.EncProgBar.Max, 1000);
  EXPECT_EQ(core.Log.Lines().at(accepted), "[12:00:00] Transformation of " + Name(1) + " started...");
  EXPECT_TRUE(Shape(1).HasSpectrum());
}

// Requests beyond a double: 1e400 is clamped to the 1e20 of an exact
// reconstruction, 1e-400 is 0 and met at once.
TEST_F(CoreTest, RequestsBeyondADoubleAreClampedOrZero) {
  TImage picture(16, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) picture.SetPixel(x, y, Grey(uint8_t(x < 8 ? 128 : 16 * x + y)));
  WriteBmpFile("blocks.bmp", picture);
  ASSERT_TRUE(core.LoadPicture1Click("blocks.bmp"));
  ASSERT_TRUE(core.GenerateRectangles(8, 8));
  ASSERT_EQ(core.Shapes.size(), 2u);
  core.ShowShBtnClick(0);
  core.Controls.ReqPSNRText = "1e400";
  core.EncBtnClick();
  EXPECT_EQ(core.Controls.EncProgBar.Max, INT_MAX);
  EXPECT_EQ(core.Log.Lines()[core.Log.Lines().size() - 2],
            "[12:00:00] Transformation complete. Done.");
  EXPECT_TRUE(core.Shapes[0].Shape->HasSpectrum());

  core.ShowShBtnClick(1);
  core.Controls.ReqPSNRText = "1e-400";
  core.EncBtnClick();
  EXPECT_EQ(core.Controls.EncProgBar.Max, 0);
  EXPECT_TRUE(core.Shapes[1].Shape->HasSpectrum());
  EXPECT_EQ(core.Shapes[1].Shape->Iterations, 0);
}

TEST_F(CodingCommandsTest, ProgressOfExtremePSNRsStaysInRange) {
  core.Controls.EncProgBar = {0, 3000, 0, true};
  TShapeData spectrum(Shape(1).WindowSize());
  bool stop = false;
  core.EncodeProgress(1, spectrum, std::nan(""), spectrum, 0, 0, stop);
  EXPECT_EQ(core.Controls.EncProgBar.Min, 0);
  EXPECT_EQ(core.Controls.EncProgBar.Position, 0);
  core.EncodeProgress(2, spectrum, -1e300, spectrum, 0, 0, stop);
  EXPECT_EQ(core.Controls.EncProgBar.Min, INT_MIN);
  EXPECT_EQ(core.Controls.EncProgBar.Position, INT_MIN);
  core.EncodeProgress(3, spectrum, 1e20, spectrum, 0, 0, stop);  // beyond the maximum
  EXPECT_EQ(core.Controls.EncProgBar.Position, INT_MIN);
  core.EncodeProgress(4, spectrum, 29.994, spectrum, 0, 0, stop);
  EXPECT_EQ(core.Controls.EncProgBar.Position, 2999);
  EXPECT_EQ(core.Controls.EncProgBar.Min, INT_MIN);  // set only by the first notifications
}

TEST_F(CodingCommandsTest, SecondClickStopsTheRunningEncode) {
  host.OnPendingInput = [&] {
    if (Shape(1).Iterations == 3) core.EncBtnClick();
  };
  const size_t mark = core.Log.Lines().size();
  core.EncBtnClick();
  const auto lines = LinesSince(mark);
  EXPECT_EQ(Shape(1).Iterations, 3);
  EXPECT_TRUE(Shape(1).HasSpectrum());
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] process cancelled by user. Done.");
  for (const std::string& line : lines) EXPECT_EQ(line.find("Transformation complete"), std::string::npos);
}

TEST_F(CodingCommandsTest, ContinuedEncodeLogsWhereItStarts) {
  core.Controls.ReqPSNRText = "25";
  core.EncBtnClick();
  const int before = Shape(1).Iterations;
  const std::string psnr = core.Info.CurrPSNRLab;
  core.ContEncChckClick(true);
  EXPECT_EQ(core.Controls.IteratLab, std::to_string(before));
  EXPECT_EQ(core.Controls.PSNRLab, psnr);
  core.Controls.ReqPSNRText = "32";
  const size_t mark = core.Log.Lines().size();
  core.EncBtnClick();
  const auto lines = LinesSince(mark);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "[12:00:00] ...continue transforming from " + std::to_string(before) +
                          ". iteration [" + psnr + " dB]");
  EXPECT_GT(Shape(1).Iterations, before);
  EXPECT_GE(Shape(1).PSNR, 32.0);
  // The bar's range starts near the PSNR the run started from.
  EXPECT_GE(core.Controls.EncProgBar.Min, 2500);
  core.ContEncChckClick(false);
  EXPECT_EQ(core.Controls.IteratLab, "0");
  EXPECT_EQ(core.Controls.PSNRLab, "0");
}

TEST_F(CodingCommandsTest, EncodeAllInTurnStopsInTheShapeInHand) {
  core.Threads = 1;
  host.OnPendingInput = [&] {
    if (core.SelectedIndex == 2) core.StopBtnClick();
  };
  core.EncAllBtnClick();
  const auto& lines = core.Log.Lines();
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] 3 shapes encoded");
  // Stopped at its first notification, without reaching the request.
  EXPECT_EQ(lines[lines.size() - 3], "[12:00:00] ...using transformation DCT II");
  EXPECT_EQ(Shape(2).Iterations, 1);
  EXPECT_TRUE(Shape(2).HasSpectrum());
  EXPECT_FALSE(Shape(3).HasSpectrum());
  EXPECT_FALSE(core.Controls.StopBtnVisible);
  EXPECT_TRUE(core.Controls.EncAllBtnEnabled);
}

TEST_F(CodingCommandsTest, DecodeAllGoesOnPastShapesWithoutSpectrum) {
  core.Controls.ReqPSNRText = "20";
  core.EncBtnClick();  // only shape 1 has a spectrum
  const size_t mark = core.Log.Lines().size();
  core.DecAllBtnClick();
  const auto lines = LinesSince(mark);
  EXPECT_EQ(lines[0], "[12:00:00] Start decoding 22 shapes");
  EXPECT_EQ(lines[1], "[12:00:00] Decoding of shape " + Name(0) + " started...");
  EXPECT_EQ(lines[2], "[12:00:00] Unable to decode shape: no spectrum data available");
  const std::vector<std::string> decoded = {
      "[12:00:00] Decoding of shape " + Name(1) + " started...",
      "[12:00:00] ...transforming spectrum...zuvi :-)", "[12:00:00] ...drawing boundaries",
      "[12:00:00] Done."};
  EXPECT_NE(std::search(lines.begin(), lines.end(), decoded.begin(), decoded.end()), lines.end());
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] 22 shapes decoded");
  // Shape 1's own pixels are claimed in the decoded mask.
  const TShape& s = Shape(1);
  EXPECT_EQ(core.DecodedMask[size_t(s.Top) * 64 + s.Left], s.Contains(s.Left, s.Top) ? 1 : 0);
  size_t claimed = 0;
  for (uint8_t m : core.DecodedMask) claimed += m;
  EXPECT_EQ(claimed, size_t(s.PointCount));
}

TEST_F(CodingCommandsTest, SpeedUsesTheRingOfEightStamps) {
  TShapeData spectrum(size_t(Shape(1).WindowSize()));
  bool stop = false;
  const double pixels = Shape(1).WindowSize();
  const double second = 1.0 / 86400.0;
  std::vector<std::string> speeds;
  for (int k = 0; k < 10; ++k) {
    host.Now = 0.5 + k * second;
    core.EncodeProgress(k + 1, spectrum, 20.0, spectrum, 0, 0, stop);
    speeds.push_back(core.Controls.EncSpeedLab);
  }
  EXPECT_EQ(speeds[0], "");
  // Second to seventh: (i + 1) stamps since the first.
  EXPECT_EQ(speeds[1], std::to_string(std::lround(2 * pixels / 1.0)));
  EXPECT_EQ(speeds[6], std::to_string(std::lround(7 * pixels / 6.0)));
  // From the eighth on the ring covers eight stamps, seven seconds apart.
  EXPECT_EQ(speeds[7], std::to_string(std::lround(8 * pixels / 7.0)));
  EXPECT_EQ(speeds[9], std::to_string(std::lround(8 * pixels / 7.0)));
  EXPECT_EQ(core.Controls.PSNRLab, "20.00");
  EXPECT_EQ(core.Controls.IteratLab, "10");
}

TEST_F(CodingCommandsTest, RequantizeAllAppliesTheControlsToEveryShape) {
  core.Controls.UseQSpecChecked = false;
  core.Controls.NormComboIndex = 4;
  Shape(0).SetQuality(40);
  const size_t mark = core.Log.Lines().size();
  core.RequantBtnClick();
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{"[12:00:00] Requantizing started...",
                                                        "[12:00:00] ...Done.", ""}));
  for (const TShapeItem& item : core.Shapes) {
    EXPECT_EQ(item.Shape->Quality, 0);
    EXPECT_EQ(item.Shape->NormKind, 4);
  }
}

TEST_F(CodingCommandsTest, QualityControlsActOnTheSelectedShape) {
  core.UseQSpecChckClick(true);
  EXPECT_EQ(Shape(1).Quality, 15);
  EXPECT_EQ(core.Info.QuantLab, "15");
  core.QuantQualityChange(40);
  EXPECT_EQ(Shape(1).Quality, 40);
  core.NormComboChange(0);
  EXPECT_EQ(Shape(1).NormKind, 0);
  EXPECT_EQ(core.Info.NormTypeLab, "None");
  core.UseQSpecChckClick(false);
  EXPECT_EQ(Shape(1).Quality, 0);
  EXPECT_EQ(core.Info.QuantLab, "Not quantized");
}

}  // namespace
}  // namespace tvlc::testing
