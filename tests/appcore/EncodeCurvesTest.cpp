// PSNR curves: every notification of an encode kept, the final points of an
// Encode All, and the thinning that only drawing uses.
#include <algorithm>

#include "CoreFixture.h"
#include "appcore/EncodeCurves.h"
#include "appcore/FloatText.h"

namespace tvlc::testing {
namespace {

std::vector<TCurvePoint> Ramp(int count) {
  std::vector<TCurvePoint> points;
  for (int i = 1; i <= count; ++i) points.push_back({i, 10.0 + 0.01 * i});
  return points;
}

TEST(ThinForDrawingTest, KeepsFewPointsAsTheyAre) {
  const std::vector<TCurvePoint> points = Ramp(10);
  EXPECT_EQ(ThinForDrawing(points, 10), points);
  EXPECT_EQ(ThinForDrawing(points, 400), points);
  EXPECT_TRUE(ThinForDrawing({}, 10).empty());
}

TEST(ThinForDrawingTest, KeepsEndsAndEveryRunsExtremesWithinTheBudget) {
  std::vector<TCurvePoint> points = Ramp(10000);
  points[5000].PSNR = 99.0;  // a spike
  points[7000].PSNR = 1.0;   // and a dip
  const std::vector<TCurvePoint> thinned = ThinForDrawing(points, 100);
  EXPECT_LE(thinned.size(), 102u);
  EXPECT_GE(thinned.size(), 90u);
  EXPECT_EQ(thinned.front(), points.front());
  EXPECT_EQ(thinned.back(), points.back());
  EXPECT_TRUE(std::is_sorted(thinned.begin(), thinned.end(),
                             [](auto& a, auto& b) { return a.Iteration < b.Iteration; }));
  EXPECT_NE(std::find(thinned.begin(), thinned.end(), points[5000]), thinned.end());
  EXPECT_NE(std::find(thinned.begin(), thinned.end(), points[7000]), thinned.end());
  // Every kept point is one of the curve's own.
  for (const TCurvePoint& p : thinned)
    EXPECT_EQ(points[size_t(p.Iteration - 1)], p) << p.Iteration;
}

TEST(EncodeCurvesTest, AContinuedEncodeOfTheSameShapeExtendsItsCurve) {
  TEncodeCurves curves;
  curves.StartEncode("Shape A", 30.0, false);
  curves.Add(1, 12.0);
  curves.StartEncode("Shape A", 35.0, true);
  curves.Add(2, 14.0);
  EXPECT_EQ(curves.Points(), (std::vector<TCurvePoint>{{1, 12.0}, {2, 14.0}}));
  EXPECT_EQ(curves.Requested(), 35.0);
  curves.StartEncode("Shape B", 35.0, true);
  EXPECT_TRUE(curves.Points().empty());
  EXPECT_EQ(curves.ShapeName(), "Shape B");
  curves.Add(1, 20.0);
  curves.StartEncode("Shape B", 35.0, false);
  EXPECT_TRUE(curves.Points().empty());
}

// Records the coder's labels each time the window is told to show them.
class TLabelHost : public TTestHost {
 public:
  const TMainCore* Core = nullptr;
  std::vector<std::pair<std::string, std::string>> Shown;  // iteration, PSNR
  void Changed(unsigned changes) override {
    if (Core && (changes & kCurveChanged) && Core->Controls.EncBtnCaption == "Stop" &&
        Core->Controls.IteratLab != "0")
      Shown.emplace_back(Core->Controls.IteratLab, Core->Controls.PSNRLab);
  }
};

class CurveCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    scratch_ = std::filesystem::temp_directory_path() / "tvlc-core-curves";
    std::filesystem::create_directories(scratch_);
    std::filesystem::current_path(scratch_);
    host.Core = &core;
    core.SetInputInterval({});
    ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
    ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(scratch_);
  }

  TLabelHost host;
  TMainCore core{host, TestData("")};

 private:
  std::filesystem::path previous_, scratch_;
};

TEST_F(CurveCommandsTest, TheCurveHoldsEveryNotificationTheLabelsShowed) {
  core.ShowShBtnClick(2);
  core.EncBtnClick();
  const TShape& shape = *core.SelectedShape;
  const std::vector<TCurvePoint>& points = core.Curves.Points();
  ASSERT_EQ(points.size(), size_t(shape.Iterations));
  ASSERT_EQ(host.Shown.size(), points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].Iteration, int32_t(i + 1));
    EXPECT_EQ(host.Shown[i].first, std::to_string(points[i].Iteration));
    EXPECT_EQ(host.Shown[i].second, Fixed2(points[i].PSNR));
  }
  EXPECT_EQ(points.back().PSNR, shape.PSNR);
  EXPECT_EQ(core.Curves.ShapeName(), core.Shapes[2].Name);
  EXPECT_EQ(core.Curves.Requested(), 30.0);
  EXPECT_TRUE(core.Curves.Finished().empty());  // a single encode is no batch

  // A continued encode towards more adds the new iterations to the curve.
  core.Controls.ReqPSNRText = "40";
  core.ContEncChckClick(true);
  core.EncBtnClick();
  ASSERT_EQ(core.Curves.Points().size(), size_t(shape.Iterations));
  EXPECT_EQ(core.Curves.Points().back().PSNR, shape.PSNR);
  EXPECT_EQ(core.Curves.Requested(), 40.0);
}

TEST_F(CurveCommandsTest, EncodeAllGivesEachShapesFinalIterationsAndPsnr) {
  core.EncAllBtnClick();
  ASSERT_EQ(core.Curves.Finished().size(), core.Shapes.size());
  for (size_t i = 0; i < core.Shapes.size(); ++i) {
    const TShape& shape = *core.Shapes[i].Shape;
    EXPECT_EQ(core.Curves.Finished()[i], (TCurvePoint{shape.Iterations, shape.PSNR})) << i;
  }
  // The curve is that of the last shape, kept after the batch.
  EXPECT_EQ(core.Curves.ShapeName(), core.Shapes.back().Name);
  EXPECT_EQ(core.Curves.Points().size(), size_t(core.Shapes.back().Shape->Iterations));
  // The next batch starts its series afresh.
  core.Controls.ReqPSNRText = "20";
  core.EncAllBtnClick();
  EXPECT_EQ(core.Curves.Finished().size(), core.Shapes.size());
}

}  // namespace
}  // namespace tvlc::testing
