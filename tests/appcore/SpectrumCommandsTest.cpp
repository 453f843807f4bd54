#include <algorithm>
#include <filesystem>

#include "CoreFixture.h"
#include "files/ShapeQuantization.h"

namespace tvlc::testing {
namespace {

using SpectrumCommandsTest = LoadedCoreTest;

TEST_F(SpectrumCommandsTest, RefreshWritesTheFilesAndFillsTheCoefficientTab) {
  core.ShowShBtnClick(1);
  core.EncBtnClick();
  const std::string& name = core.Shapes[1].Name;
  const size_t mark = core.Log.Lines().size();
  core.RedrawSpecBtnClick();
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{
                                  "[12:00:00] ...updating spectrum view for " + name,
                                  "[12:00:00] Done.", ""}));
  EXPECT_TRUE(std::filesystem::exists("SPECTRUM_TXT_" + name + ".TXT"));
  EXPECT_TRUE(std::filesystem::exists("SPECTRUM_IMG_" + name + ".BMP"));
  TShape& s = *core.Shapes[1].Shape;
  TSpecData values;
  Quantize(s, values);
  size_t zeros = 0;
  std::vector<std::string> nonZero;
  for (int32_t q : values) {
    if (q == 0) ++zeros;
    else nonZero.push_back(std::to_string(q));
  }
  EXPECT_EQ(core.Spectrum.ZeroLab, std::to_string(zeros));
  EXPECT_EQ(core.Spectrum.NonZeroLab, std::to_string(nonZero.size()));
  EXPECT_EQ(core.Spectrum.CoefList, nonZero);
  EXPECT_EQ(core.Spectrum.MinValLab, std::to_string(*std::min_element(values.begin(), values.end())));
  EXPECT_EQ(core.Spectrum.MaxValLab, std::to_string(*std::max_element(values.begin(), values.end())));
  EXPECT_EQ(core.SpecDrawArea.Width(), s.RoundedWidth());
}

TEST_F(SpectrumCommandsTest, ShapeWithoutSpectrumAndAllZeroSpectrum) {
  core.ShowShBtnClick(2);
  EXPECT_EQ(core.Spectrum.ZeroLab, "0");
  EXPECT_EQ(core.Spectrum.NonZeroLab, "0");
  EXPECT_EQ(core.Spectrum.MinValLab, "");
  EXPECT_EQ(core.Spectrum.MaxValLab, "");
  EXPECT_TRUE(core.Spectrum.CoefList.empty());
  EXPECT_EQ(core.SpecDrawArea.Pixel(0, 0), kBlack);
  EXPECT_FALSE(std::filesystem::exists("SPECTRUM_TXT_" + core.Shapes[2].Name + ".TXT"));

  core.Shapes[2].Shape->Spectrum.assign(size_t(core.Shapes[2].Shape->WindowSize()), 0.2);
  core.RedrawSpecBtnClick();  // everything rounds to 0: the list is empty
  EXPECT_EQ(core.Spectrum.ZeroLab, "0");
  EXPECT_EQ(core.Spectrum.MinValLab, "");
}

TEST_F(SpectrumCommandsTest, ZoomSizesTheViewOnlyWithASelection) {
  core.ZoomSpinChange(10);
  EXPECT_EQ(core.Spectrum.ViewWidth, 0);
  core.ShowShBtnClick(1);
  EXPECT_EQ(core.Spectrum.ViewWidth, 10 * core.Shapes[1].Shape->RoundedWidth());
  EXPECT_EQ(core.Spectrum.ViewHeight, 10 * core.Shapes[1].Shape->RoundedHeight());
  core.ZoomSpinChange(1);
  EXPECT_EQ(core.Spectrum.ViewWidth, core.Shapes[1].Shape->RoundedWidth());
}

}  // namespace
}  // namespace tvlc::testing
