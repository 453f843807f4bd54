#include "CoreFixture.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

using ExportCommandsTest = LoadedCoreTest;

TEST_F(ExportCommandsTest, ExportsWriteTheImagesUnscaled) {
  core.ShowShBtnClick(1);
  core.EncBtnClick();
  core.RedrawSpecBtnClick();
  core.DecodeBtnClick();
  const size_t mark = core.Log.Lines().size();
  ASSERT_TRUE(core.SaveDecodedPicture1Click("decoded.bmp"));
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{
                                  "[12:00:00] Decoded picture and spectrum saved ... :-) ZUVI.", ""}));
  EXPECT_EQ(ReadBmpFile("decoded.bmp"), core.Reconst);
  ASSERT_TRUE(core.SaveSpectrumPicture1Click("spectrum.bmp"));
  ASSERT_TRUE(core.MenuItem1Click("shape.bmp"));
  EXPECT_EQ(core.Log.Lines().size(), mark + 2);  // neither of them logs
  const TImage spectrum = ReadBmpFile("spectrum.bmp");
  EXPECT_EQ(spectrum.Width(), core.Shapes[1].Shape->RoundedWidth());
  EXPECT_EQ(spectrum, core.SpecDrawArea);
  EXPECT_EQ(ReadBmpFile("shape.bmp"), core.ViewDrawArea);
  EXPECT_FALSE(core.SaveDecodedPicture1Click("no/such/folder/x.bmp"));
}

TEST_F(ExportCommandsTest, ChosenTransformationNameShowsInTheCoderTab) {
  core.Registry.FindTransformation(1, 2);
  core.TransformationChosen();
  EXPECT_EQ(core.Controls.EncoderLab, "DCT II");
}

}  // namespace
}  // namespace tvlc::testing
