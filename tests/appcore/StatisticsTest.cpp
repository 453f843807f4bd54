#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CoreFixture.h"
#include "appcore/FloatText.h"
#include "appcore/Statistics.h"
#include "base/NumberText.h"

namespace tvlc::testing {
namespace {

// PSNR over the pixels the decoded mask marks, straight from the definition.
double DirectPSNR(const TMainCore& core) {
  double n = 0, sse = 0;
  for (int y = 0; y < core.MapHeight; ++y)
    for (int x = 0; x < core.MapWidth; ++x) {
      if (!core.DecodedMask[size_t(y) * core.MapWidth + x]) continue;
      const double d = (*core.PicData)[size_t(y) * core.PicWidth + x] -
                       double(RedOf(core.Reconst.Pixel(x, y)));
      n += 1;
      sse += d * d;
    }
  return 10 * std::log10(n * 65025 / sse);
}

using StatisticsTest = LoadedCoreTest;

TEST_F(StatisticsTest, SixLinesAndTheSsimBeforeAndAfterCoding) {
  std::vector<std::string> lines = core.Globalstatistics1Click();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "Picture size: 64x48");
  EXPECT_EQ(lines[1], "Pixels in picture: 3072");
  int64_t windows = 0, processed = 0;
  for (const TShapeItem& item : core.Shapes) {
    windows += int64_t(item.Shape->BoxWidth()) * item.Shape->BoxHeight();
    processed += int64_t(item.Shape->WindowSize());
  }
  char expected[128];
  std::snprintf(expected, sizeof expected, "Pixels in shape windows: %lld\t (Slack: %.2f%%)",
                (long long)windows, (windows - 3072) * 100.0 / windows);
  EXPECT_EQ(lines[2], expected);
  std::snprintf(expected, sizeof expected, "Total pixels processed: %lld\t (Slack: %.2f%%)",
                (long long)processed, (processed - 3072) * 100.0 / processed);
  EXPECT_EQ(lines[3], expected);
  EXPECT_EQ(lines[4], "PSNR average [dB]: 0.00");  // never encoded
  EXPECT_EQ(lines[5], "Global PSNR [dB]: Not available");
  EXPECT_EQ(lines[6], "Global SSIM: Not available");

  core.EncAllBtnClick();
  core.DecAllBtnClick();
  lines = core.Globalstatistics1Click();
  double average = 0;
  for (const TShapeItem& item : core.Shapes) average += item.Shape->PSNR;
  EXPECT_EQ(lines[4], "PSNR average [dB]: " + Fixed2(average / double(core.Shapes.size())));
  EXPECT_EQ(lines[5], "Global PSNR [dB]: " + Fixed2(DirectPSNR(core)));
  const std::optional<double> ssim = DecodedPictureSSIM(core);
  ASSERT_TRUE(ssim.has_value());
  EXPECT_GT(*ssim, 0.0);
  EXPECT_LT(*ssim, 1.0);
  EXPECT_EQ(lines[6], "Global SSIM: " + FixedText(*ssim, 4));
}

TEST_F(StatisticsTest, PartialDecodeCoversTheDecodedShapesAlone) {
  core.ShowShBtnClick(1);
  core.EncBtnClick();
  core.DecodeBtnClick();
  const auto psnr = DecodedPicturePSNR(core);
  ASSERT_TRUE(psnr.has_value());
  EXPECT_DOUBLE_EQ(*psnr, DirectPSNR(core));
  size_t decoded = 0;
  for (uint8_t m : core.DecodedMask) decoded += m;
  EXPECT_EQ(decoded, size_t(core.Shapes[1].Shape->PointCount));
  // Against a picture half decoded the SSIM would measure the blank part.
  EXPECT_FALSE(DecodedPictureSSIM(core));
}

TEST_F(StatisticsTest, OneGreyLevelOffEverywhereIs48Point13) {
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const int g = (*core.PicData)[size_t(y) * 64 + x];
      core.Reconst.SetPixel(x, y, Grey(uint8_t(g == 255 ? 254 : g + 1)));
    }
  std::fill(core.DecodedMask.begin(), core.DecodedMask.end(), 1);
  EXPECT_EQ(core.Globalstatistics1Click()[5], "Global PSNR [dB]: 48.13");
  // A constant shift of one level leaves only the luminance term, just below 1.
  EXPECT_EQ(core.Globalstatistics1Click()[6], "Global SSIM: 1.0000");
  EXPECT_NEAR(*DecodedPicturePSNR(core), 10 * std::log10(65025.0), 1e-12);
}

TEST_F(StatisticsTest, NoPictureAndNoShapes) {
  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  EXPECT_TRUE(other.Globalstatistics1Click().empty());
  EXPECT_EQ(other.Log.Lines().at(0), "[12:00:00] Error: No picture data available");
  ASSERT_TRUE(other.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  EXPECT_EQ(other.Globalstatistics1Click(),
            (std::vector<std::string>{
                "Picture size: 64x48", "Pixels in picture: 3072",
                "Shape windows, slack and PSNR average: no shapes (load a map first)",
                "Global PSNR [dB]: Not available", "Global SSIM: Not available"}));
}

TEST(StatisticsMapSmallerThanPicture, PixelsOutsideTheMapCountAsNotDecoded) {
  TTestHost host;
  TMainCore core(host, TestData(""));
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  // Everything decoded one level too bright inside the map.
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const int g = (*core.PicData)[size_t(y) * 301 + x];
      core.Reconst.SetPixel(x, y, Grey(uint8_t(g == 255 ? 254 : g + 1)));
    }
  std::fill(core.DecodedMask.begin(), core.DecodedMask.end(), 1);
  EXPECT_NEAR(*DecodedPicturePSNR(core), 10 * std::log10(65025.0), 1e-12);
}

}  // namespace
}  // namespace tvlc::testing
