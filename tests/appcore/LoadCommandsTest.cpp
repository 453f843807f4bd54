#include <fstream>

#include "CoreFixture.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

const std::string kPicture = TestData("pictures/camera_64x48.bmp");
const std::string kMap = TestData("maps/camera_64x48_felzenszwalb.bmp");

TEST_F(CoreTest, LoadingPictureAndMapLogsEveryStep) {
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  ASSERT_TRUE(core.LoadMap1Click(kMap));
  const std::vector<std::string> expected = {
      "[12:00:00] Picture " + kPicture + " of size 64x48 loaded.",
      "",
      "[12:00:00] Map " + kMap + " of size 64x48 loaded.",
      "[12:00:00] Analyzing map file: locating shapes...",
      "[12:00:00] 22 shapes found. Done.",
      ""};
  EXPECT_EQ(core.Log.Lines(), expected);
  EXPECT_EQ(core.PicWidth, 64);
  EXPECT_EQ(core.PicHeight, 48);
  ASSERT_EQ(core.Shapes.size(), 22u);
  EXPECT_EQ(core.Shapes[0].Name, "Shape AA04FF");
  EXPECT_EQ(core.Shapes[0].Shape->PicData, core.PicData);
  EXPECT_EQ(core.DecodedMask.size(), 64u * 48u);
  EXPECT_EQ(core.Reconst.Width(), 64);
  EXPECT_FALSE(core.Controls.ProgressBar.Visible);
  EXPECT_EQ(core.Controls.ProgressBar.Max, 64 * 48 - 1);
  EXPECT_TRUE(core.Controls.WindowEnabled);
}

TEST_F(CoreTest, PictureWithOneColouredPixelIsRefused) {
  TImage image(4, 3, Grey(100));
  image.SetPixel(2, 1, RGB(100, 101, 100));
  WriteBmpFile("colour.bmp", image);
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.LoadPicture1Click("colour.bmp"));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{"[12:00:00] Cann't load picture. Picture is not grayscale "
                                      "image with 8bit color depth.",
                                      ""}));
  EXPECT_FALSE(core.PicData);
  EXPECT_EQ(core.PicWidth, 0);
  EXPECT_EQ(core.PicHeight, 0);
  EXPECT_EQ(core.Picture.Width(), 4);  // the view keeps showing the file
}

TEST_F(CoreTest, UnreadableFilesLeaveTheStateAsItWas) {
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  ASSERT_TRUE(core.LoadMap1Click(kMap));
  std::ofstream("broken.bmp") << "BM not really a bitmap";
  const TPicData picture = core.PicData;
  const TMapData map = core.MapData;
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.LoadPicture1Click("broken.bmp"));
  EXPECT_FALSE(core.LoadMap1Click("missing.bmp"));
  EXPECT_EQ(core.PicData, picture);
  EXPECT_EQ(core.MapData, map);
  EXPECT_EQ(core.Shapes.size(), 22u);
  EXPECT_EQ(core.Picture.Width(), 64);
  EXPECT_EQ(core.Map.Width(), 64);
  const auto lines = LinesSince(mark);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("[12:00:00] Error: cannot load picture broken.bmp: ", 0), 0u);
  EXPECT_EQ(lines[2].rfind("[12:00:00] Error: cannot load map missing.bmp: ", 0), 0u);
}

TEST_F(CoreTest, MapWiderThanThePictureIsRefusedAndShapesStay) {
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  ASSERT_TRUE(core.LoadMap1Click(kMap));
  TShape* first = core.Shapes[0].Shape.get();
  const size_t mark = core.Log.Lines().size();
  const std::string wide = TestData("maps/camera_65x48_felzenszwalb.bmp");
  EXPECT_FALSE(core.LoadMap1Click(wide));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{
                "[12:00:00] Map " + wide + " of size 65x48 loaded.",
                "[12:00:00] Analyzing map file: locating shapes...",
                "[12:00:00] Error: height/width of map is larger than height/width of picture",
                ""}));
  EXPECT_FALSE(core.MapData);
  EXPECT_EQ(core.MapWidth, 0);
  EXPECT_EQ(core.MapHeight, 0);
  ASSERT_EQ(core.Shapes.size(), 22u);
  EXPECT_EQ(core.Shapes[0].Shape.get(), first);
}

TEST_F(CoreTest, MapWithoutPictureIsAcceptedAndItsShapesHaveNoPixels) {
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_65x48_felzenszwalb.bmp")));
  ASSERT_FALSE(core.Shapes.empty());
  EXPECT_FALSE(core.Shapes[0].Shape->PicData);
  // A picture loaded afterwards does not reach the existing shapes.
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  EXPECT_FALSE(core.Shapes[0].Shape->PicData);
}

TEST_F(CoreTest, ShapeWiderThanTheWindowLimitRefusesTheMap) {
  WriteBmpFile("wide.bmp", TImage(16385, 1, Grey(10)));
  ASSERT_TRUE(core.LoadMap1Click(kMap));
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.LoadMap1Click("wide.bmp"));
  const auto lines = LinesSince(mark);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], "[12:00:00] Error: Shape 0A0A0A is larger than 16384x16384 pixels");
  EXPECT_FALSE(core.MapData);
  EXPECT_EQ(core.Shapes.size(), 22u);
}

TEST_F(CoreTest, MapAnalysisServesPendingInputAndHoldsOffOtherCommands) {
  ASSERT_TRUE(core.LoadPicture1Click(kPicture));
  bool disabledDuringAnalysis = false;
  host.OnPendingInput = [&] { disabledDuringAnalysis |= !core.Controls.WindowEnabled; };
  ASSERT_TRUE(core.LoadMap1Click(kMap));
  EXPECT_GT(host.PendingInputCalls, 0);
  EXPECT_TRUE(disabledDuringAnalysis);
  EXPECT_TRUE(core.Controls.WindowEnabled);
}

class SelectionTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_TRUE(core.LoadPicture1Click(kPicture));
    ASSERT_TRUE(core.LoadMap1Click(kMap));
  }
};

TEST_F(SelectionTest, SelectShapeLogsDrawsAndFillsTheInfoTab) {
  const size_t mark = core.Log.Lines().size();
  core.ShowShBtnClick(0);
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{
                                  "[12:00:00] Shape 'Shape AA04FF' selected", "...analyzing it",
                                  "[12:00:00] ...drawing boundaries",
                                  "[12:00:00] ...updating encoder input area",
                                  "[12:00:00] ...updating spectrum view for Shape AA04FF",
                                  "[12:00:00] Done.", "", "[12:00:00] Done.", ""}));
  ASSERT_EQ(core.SelectedShape, core.Shapes[0].Shape.get());
  EXPECT_EQ(core.SelectedIndex, 0);
  // Box 0,0..4,8 with 26 points: window 8 x 16.
  EXPECT_EQ(core.Info.IDLab, "11142399");
  EXPECT_EQ(core.Info.XLab, "0");
  EXPECT_EQ(core.Info.YLab, "0");
  EXPECT_EQ(core.Info.RWLab, "5");
  EXPECT_EQ(core.Info.RHLab, "9");
  EXPECT_EQ(core.Info.WLab, "8");
  EXPECT_EQ(core.Info.HLab, "16");
  EXPECT_EQ(core.Info.SlackLab, "64.84 %");
  EXPECT_EQ(core.Info.PCLab, "26");
  EXPECT_EQ(core.Info.TSLab, "79.69 %");
  EXPECT_EQ(core.Info.SpecAvalLab, "No");
  EXPECT_EQ(core.Info.IterDoneLab, "0");
  EXPECT_EQ(core.Info.CurrPSNRLab, "0.00");
  EXPECT_EQ(core.Info.QuantLab, "Not quantized");
  EXPECT_EQ(core.Info.NormTypeLab, "Orthonormal");
  EXPECT_EQ(core.Controls.EncoderLab, "<Codec not selected or found>");
  EXPECT_FALSE(core.Controls.ContEncChckVisible);
  EXPECT_TRUE(core.Controls.ShowShBtnEnabled);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
  // The shape view is the picture's window ANDed with the overlay.
  ASSERT_EQ(core.ViewDrawArea.Width(), 8);
  ASSERT_EQ(core.ViewDrawArea.Height(), 16);
  EXPECT_EQ(core.ViewDrawArea.Pixel(0, 0), core.Picture.Pixel(0, 0) & RGB(255, 0, 0));
  EXPECT_EQ(core.PicDrawArea.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(core.MapDrawArea.Pixel(7, 15), RGB(255, 0, 0));
}

TEST_F(SelectionTest, QualityShowsAsItsNumber) {
  core.Shapes[1].Shape->SetQuality(15);
  core.ShowShBtnClick(1);
  EXPECT_EQ(core.Info.QuantLab, "15");
}

TEST_F(SelectionTest, SelectWithoutMarkedItemDoesNothing) {
  const size_t mark = core.Log.Lines().size();
  core.ShowShBtnClick(-1);
  core.ShowShBtnClick(int(core.Shapes.size()));
  EXPECT_EQ(core.SelectedShape, nullptr);
  EXPECT_EQ(core.Log.Lines().size(), mark);
}

TEST_F(SelectionTest, ClickSelectsTheShapeWhoseLabelTheMapHolds) {
  // On-screen map view twice the map's size: (41, 61) -> (20.5, 30.5),
  // rounded half to even to (20, 30).
  core.MapDrawAreaMouseDown(41, 61, 128, 96);
  EXPECT_EQ(core.ClickX, 20);
  EXPECT_EQ(core.ClickY, 30);
  const uint32_t label = uint32_t((*core.MapData)[30 * 64 + 20]);
  const int index = core.MapDrawAreaClick();
  ASSERT_GE(index, 0);
  EXPECT_EQ(core.Shapes[size_t(index)].Shape->ID, label);
  EXPECT_EQ(core.SelectedIndex, index);
}

TEST_F(SelectionTest, ClickSelectsOnlyWhileSelectShapeIsEnabled) {
  core.MapDrawAreaMouseDown(1, 1, 64, 48);
  core.Controls.ShowShBtnEnabled = false;
  EXPECT_EQ(core.MapDrawAreaClick(), -1);
  EXPECT_EQ(core.SelectedShape, nullptr);
}

TEST_F(SelectionTest, SavePictureMapAndLog) {
  ASSERT_TRUE(core.SavePicture1Click("p.bmp"));
  ASSERT_TRUE(core.SaveMap1Click("m.bmp"));
  EXPECT_EQ(ReadBmpFile("p.bmp"), core.Picture);
  EXPECT_EQ(ReadBmpFile("m.bmp"), core.Map);
  const auto& lines = core.Log.Lines();
  EXPECT_EQ(lines[lines.size() - 4], "[12:00:00] Picture saved.");
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] Map saved.");
  core.ClearLog1Click();
  EXPECT_TRUE(core.Log.Lines().empty());
}

TEST_F(SelectionTest, ResetDecodedViewsClearsTheMask) {
  core.DecodedMask[5] = 1;
  core.Reconst.SetPixel(0, 0, kBlack);
  core.ResetDecodedViews();
  EXPECT_EQ(core.DecodedMask[5], 0);
  EXPECT_EQ(core.Reconst.Pixel(0, 0), kWhite);
}

}  // namespace
}  // namespace tvlc::testing
