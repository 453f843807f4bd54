#include "CoreFixture.h"

namespace tvlc::testing {
namespace {

TEST(RectFields, SizeAndCountAreCoupled) {
  TRectFields f;
  f.XCountSpinChange("8", 512);
  EXPECT_EQ(f.XSize, 64);
  EXPECT_EQ(f.XCount, 8);  // not recomputed from the size it set
  f.XSizeSpinChange("64", 512);
  EXPECT_EQ(f.XCount, 9);
  f.XSizeSpinChange("100", 512);
  EXPECT_EQ(f.XCount, 6);
  f.YSizeSpinChange("-3", 400);
  EXPECT_EQ(f.YSize, 0);
  f.YCountSpinChange("0", 400);
  EXPECT_EQ(f.YCount, 0);
  f.XCountSpinChange("600", 512);
  EXPECT_EQ(f.XSize, 0);
}

TEST(RectFields, ClearedFieldIsZeroAndChangesNoOther) {
  TRectFields f;
  f.XSizeSpinChange("32", 512);
  f.XSizeSpinChange("", 512);
  EXPECT_EQ(f.XSize, 0);
  EXPECT_EQ(f.XCount, 17);
  f.XSizeSpinChange("32", 512);
  f.XCountSpinChange("", 512);
  EXPECT_EQ(f.XSize, 32);
  EXPECT_EQ(f.XCount, 0);
  f.YSizeSpinChange("7", 512);
  f.YSizeSpinChange("abc", 512);  // not a number: nothing changes
  EXPECT_EQ(f.YSize, 7);
}

class RectCommandTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  }
};

TEST_F(RectCommandTest, GeneratedMapReplacesMapAndShapes) {
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  core.ShowShBtnClick(0);
  const size_t mark = core.Log.Lines().size();
  ASSERT_TRUE(core.GenerateRectangles(16, 32));
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{"[12:00:00] Generating rectangle map...",
                                                        "...adding shapes of size 16x32",
                                                        "[12:00:00] ...done.", ""}));
  EXPECT_EQ(core.MapWidth, 64);
  EXPECT_EQ(core.MapHeight, 48);
  ASSERT_EQ(core.Shapes.size(), 8u);
  EXPECT_EQ(core.Shapes[5].Name, "Shape 5");
  EXPECT_EQ(core.Shapes[5].Shape->Top, 32);
  EXPECT_EQ(core.Shapes[5].Shape->Bottom, 63);  // past the map's 48 rows
  EXPECT_EQ(core.SelectedShape, nullptr);
  EXPECT_EQ(core.DecodedMask.size(), 64u * 48u);
  EXPECT_EQ(core.Map.Pixel(20, 40), TColor(5));
  EXPECT_TRUE(core.Controls.WindowEnabled);
  EXPECT_FALSE(core.Controls.ProgressBar.Visible);
}

TEST_F(RectCommandTest, SizeBelowOneIsRefusedWithoutChange) {
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.GenerateRectangles(0, 8));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{
                "[12:00:00] Error: rectangle size 0x8 is not between 1x1 and 16384x16384", ""}));
  EXPECT_EQ(core.Shapes.size(), 22u);
}

TEST_F(RectCommandTest, NothingHappensWithoutPicture) {
  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  EXPECT_FALSE(other.GenerateRectangles(8, 8));
  EXPECT_TRUE(other.Log.Lines().empty());
}

}  // namespace
}  // namespace tvlc::testing
