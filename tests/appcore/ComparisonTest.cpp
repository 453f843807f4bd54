// The comparison view's images and pixel texts, checked against the
// picture, map and decoded picture read pixel by pixel; and dropped files.
#include "CoreFixture.h"
#include "appcore/Comparison.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

class ComparisonTest : public LoadedCoreTest {
 protected:
  // Encodes and decodes shape i.
  void Code(int i) {
    core.ShowShBtnClick(i);
    core.EncBtnClick();
    core.DecodeBtnClick();
  }
  int Input(int x, int y) const { return RedOf(core.Picture.Pixel(x, y)); }
  int Decoded(int x, int y) const { return RedOf(core.Reconst.Pixel(x, y)); }
};

TEST_F(ComparisonTest, DifferenceIsDecodedMinusInputWhereDecoded) {
  Code(2);
  Code(5);
  const TDifference d = DecodedMinusInput(core);
  ASSERT_EQ(d.Width, 64);
  ASSERT_EQ(d.Height, 48);
  int largest = 0, known = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool decoded = core.Shapes[2].Shape->Contains(x, y) ||
                           core.Shapes[5].Shape->Contains(x, y);
      ASSERT_EQ(d.Has(x, y), decoded) << x << "," << y;
      if (!decoded) continue;
      ++known;
      EXPECT_EQ(d.At(x, y), Decoded(x, y) - Input(x, y)) << x << "," << y;
      largest = std::max(largest, std::abs(Decoded(x, y) - Input(x, y)));
    }
  EXPECT_GT(known, 0);
  EXPECT_GT(largest, 0);  // 30 dB is not lossless
  EXPECT_EQ(d.Scale, largest);
}

TEST_F(ComparisonTest, DifferenceImageIsMidGreyForZeroAndSpansTheScale) {
  TDifference d;
  d.Width = 4;
  d.Height = 1;
  d.Values = {0, 8, -8, 3};
  d.Known = {1, 1, 1, 0};
  d.Scale = 8;
  const TImage image = DifferenceImage(d);
  EXPECT_EQ(image.Pixel(0, 0), Grey(128));
  EXPECT_EQ(image.Pixel(1, 0), Grey(255));
  EXPECT_EQ(image.Pixel(2, 0), Grey(1));
  EXPECT_EQ(image.Pixel(3, 0), kNotDecoded);
  d.Values[0] = 1;  // 128 + 127 / 8 = 143.875
  EXPECT_EQ(DifferenceImage(d).Pixel(0, 0), Grey(144));
}

TEST_F(ComparisonTest, NothingDecodedGivesAnUnknownDifferenceOfScaleOne) {
  const TComparison shown = RenderComparison(core, TCompareKind::Difference);
  EXPECT_EQ(shown.Scale, 1);
  EXPECT_EQ(shown.Image, TImage(64, 48, kNotDecoded));
}

TEST_F(ComparisonTest, MapOutlinesFallWhereTheLabelChanges) {
  const TImage map = ReadBmpFile(TestData("maps/camera_64x48_felzenszwalb.bmp"));
  const TImage shown = RenderComparison(core, TCompareKind::MapOverInput).Image;
  ASSERT_EQ(shown.Width(), 64);
  int outlined = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool edge = (x < 63 && map.Pixel(x + 1, y) != map.Pixel(x, y)) ||
                        (y < 47 && map.Pixel(x, y + 1) != map.Pixel(x, y));
      outlined += edge;
      EXPECT_EQ(shown.Pixel(x, y), edge ? kOutline : core.Picture.Pixel(x, y)) << x << "," << y;
    }
  EXPECT_GT(outlined, 64);
  EXPECT_EQ(RenderComparison(core, TCompareKind::Input).Image, core.Picture);
}

TEST_F(ComparisonTest, PixelTextNamesInputDecodedDifferenceAndLabel) {
  Code(0);
  const TShape& shape = *core.Shapes[0].Shape;
  const int x = shape.Left, y = shape.Top;
  int inside = -1;
  for (int i = 0; i < shape.BoxWidth() && inside < 0; ++i)
    if (shape.Contains(x + i, y)) inside = x + i;
  ASSERT_GE(inside, 0);
  const TImage map = ReadBmpFile(TestData("maps/camera_64x48_felzenszwalb.bmp"));
  const int diff = Decoded(inside, y) - Input(inside, y);
  EXPECT_EQ(DescribePixel(core, inside, y),
            "x " + std::to_string(inside) + ", y " + std::to_string(y) + ": input " +
                std::to_string(Input(inside, y)) + ", decoded " +
                std::to_string(Decoded(inside, y)) + ", difference " + std::to_string(diff) +
                ", label " + HexLabel(map.Pixel(inside, y)));
  EXPECT_EQ(DescribePixel(core, 63, 47),
            "x 63, y 47: input " + std::to_string(Input(63, 47)) + ", label " +
                HexLabel(map.Pixel(63, 47)));
  EXPECT_EQ(DescribePixel(core, 64, 0), "");
  EXPECT_EQ(DescribePixel(core, -1, 3), "");
}

TEST_F(CoreTest, DroppedFilesLoadPictureAndMapInTheirOrder) {
  core.SetInputInterval({});
  const std::string picture = TestData("pictures/camera_64x48.bmp");
  const std::string map = TestData("maps/camera_64x48_felzenszwalb.bmp");
  EXPECT_TRUE(core.DropFiles({picture}, false));
  EXPECT_EQ(core.PicWidth, 64);
  EXPECT_EQ(core.MapWidth, 0);
  EXPECT_TRUE(core.DropFiles({map}, true));
  EXPECT_EQ(core.MapWidth, 64);
  EXPECT_EQ(core.Shapes.size(), 22u);

  EXPECT_TRUE(core.DropFiles({picture, map}, false));
  EXPECT_EQ(core.Shapes.size(), 22u);
  // A refused picture stops the drop before its map.
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.DropFiles({map + ".missing", map}, false));
  const auto lines = LinesSince(mark);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("[12:00:00] Error: cannot load picture ", 0), 0u);

  EXPECT_FALSE(core.DropFiles({picture, map, map}, false));
  EXPECT_EQ(core.Log.Lines().back(), "");
  EXPECT_EQ(LinesSince(mark + 2).front(),
            "[12:00:00] Drop refused: drop one file, or a picture and a map.");
  EXPECT_FALSE(core.DropFiles({}, false));
}

TEST_F(LoadedCoreTest, DropsAreRefusedWhileACommandRuns) {
  core.ShowShBtnClick(0);
  bool refused = false;
  host.OnPendingInput = [&] {
    if (core.Controls.EncBtnCaption != "Stop" || refused) return;
    EXPECT_TRUE(core.Busy());
    refused = !core.DropFiles({TestData("pictures/camera_64x48.bmp")}, false);
  };
  core.EncBtnClick();
  EXPECT_TRUE(refused);
  EXPECT_FALSE(core.Busy());
  const auto& lines = core.Log.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "[12:00:00] Drop refused: a command is running."),
            lines.end());
}

}  // namespace
}  // namespace tvlc::testing
