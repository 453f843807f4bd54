// Commands that let pending input in while they work on the shapes: input
// that tries to replace the map or start other coding then is refused, so
// nothing is freed under the running loop.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CoreFixture.h"

namespace tvlc::testing {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class InputDuringCommandsTest : public LoadedCoreTest {
 protected:
  void SetUp() override {
    LoadedCoreTest::SetUp();
    ASSERT_TRUE(core.SaveMap1Click("other-map.bmp"));
    core.Controls.ReqPSNRText = "15";
    core.EncAllBtnClick();
    ASSERT_TRUE(core.Save1Click("other.tvp"));
    ASSERT_TRUE(core.ExportSpectrum1Click("quiet.tvzx"));
  }

  // From now on every poll of pending input checks that File and Map are
  // disabled and tries every command that would replace the map, the
  // picture or the shapes, or re-enter the coding.
  void TryEverythingOnEachPoll() {
    host.OnPendingInput = [this] {
      ++polls_;
      EXPECT_FALSE(core.Controls.FileMenuEnabled);
      EXPECT_FALSE(core.Controls.MapMenuEnabled);
      EXPECT_FALSE(core.Controls.EncAllBtnEnabled);
      host.OnPendingInput = nullptr;  // the attempts poll too
      accepted_ += core.LoadMap1Click("other-map.bmp");
      accepted_ += core.GenerateRectangles(4, 4);
      accepted_ += core.Open1Click("other.tvp");
      accepted_ += core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp"));
      accepted_ += core.OpenCompressedPicture1Click("quiet.tvzx");
      accepted_ += core.ExportSpectrum1Click("inner.tvzx");
      accepted_ += core.RunStudy([] {});
      const size_t lines = core.Log.Lines().size();
      core.EncAllBtnClick();
      core.DecAllBtnClick();
      accepted_ += core.Log.Lines().size() != lines + 4;  // two refusals, two lines each
      TryEverythingOnEachPoll();
    };
  }

  std::vector<const TShape*> ShapePointers() const {
    std::vector<const TShape*> shapes;
    for (const TShapeItem& item : core.Shapes) shapes.push_back(item.Shape.get());
    return shapes;
  }

  int polls_ = 0;
  int accepted_ = 0;
};

TEST_F(InputDuringCommandsTest, SavingACompressedPictureKeepsItsShapes) {
  const auto shapes = ShapePointers();
  TryEverythingOnEachPoll();
  ASSERT_TRUE(core.ExportSpectrum1Click("busy.tvzx"));
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(accepted_, 0);
  EXPECT_EQ(ShapePointers(), shapes);
  EXPECT_EQ(FileBytes("busy.tvzx"), FileBytes("quiet.tvzx"));
  EXPECT_FALSE(std::filesystem::exists("inner.tvzx"));
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
  EXPECT_TRUE(core.Controls.MapMenuEnabled);
  EXPECT_TRUE(core.Controls.EncAllBtnEnabled);
  EXPECT_EQ(core.Log.Lines()[core.Log.Lines().size() - 2], "[12:00:00] ...Done.");
}

TEST_F(InputDuringCommandsTest, OpeningACompressedPictureKeepsItsShapes) {
  const auto shapes = ShapePointers();
  TryEverythingOnEachPoll();
  ASSERT_TRUE(core.OpenCompressedPicture1Click("quiet.tvzx"));
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(accepted_, 0);
  EXPECT_EQ(ShapePointers(), shapes);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
}

TEST_F(InputDuringCommandsTest, MapAnalysisAndRectanglesKeepTheirShapes) {
  ASSERT_TRUE(core.GenerateRectangles(32, 16));
  const size_t rectangles = core.Shapes.size();
  TryEverythingOnEachPoll();
  ASSERT_TRUE(core.LoadMap1Click("other-map.bmp"));
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(core.Shapes.size(), 22u);
  polls_ = 0;
  ASSERT_TRUE(core.GenerateRectangles(32, 16));
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(core.Shapes.size(), rectangles);
  EXPECT_EQ(accepted_, 0);
  EXPECT_TRUE(core.Controls.MapMenuEnabled);
}

TEST_F(InputDuringCommandsTest, AStudyKeepsItsShapes) {
  const auto shapes = ShapePointers();
  TryEverythingOnEachPoll();
  int studyPolls = 0;
  // As the window's study does, the study lets input in while it measures.
  ASSERT_TRUE(core.RunStudy([&] {
    for (; studyPolls < 3; ++studyPolls) core.Host().ProcessPendingInput();
  }));
  EXPECT_EQ(studyPolls, 3);
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(accepted_, 0);
  EXPECT_EQ(ShapePointers(), shapes);
  EXPECT_TRUE(core.Controls.FileMenuEnabled);
  EXPECT_TRUE(core.Controls.MapMenuEnabled);
  EXPECT_TRUE(core.Controls.EncAllBtnEnabled);
}

TEST_F(InputDuringCommandsTest, CodingAndSelectingKeepTheirShapes) {
  const auto shapes = ShapePointers();
  TryEverythingOnEachPoll();
  core.ShowShBtnClick(2);
  core.EncBtnClick();
  core.DecodeBtnClick();
  core.Controls.ReqPSNRText = "20";
  core.EncAllBtnClick();
  core.DecAllBtnClick();
  EXPECT_GT(polls_, 0);
  EXPECT_EQ(accepted_, 0);
  EXPECT_EQ(ShapePointers(), shapes);
  // A shape that meets the request unexpanded keeps its former PSNR.
  for (const TShapeItem& item : core.Shapes) {
    const TShape& s = *item.Shape;
    EXPECT_GE(s.Iterations > 0 ? s.PSNR : UnexpandedPSNR(s), 20.0) << item.Name;
  }
}

}  // namespace
}  // namespace tvlc::testing
