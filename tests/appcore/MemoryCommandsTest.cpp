// What pictures and maps cost, and commands that run out of memory: each is
// refused with a log line and leaves the state as it was.
#include <fstream>

#include "CoreFixture.h"
#include "coding/ShapeCoding.h"
#include "support/AllocationLimit.h"
#include "support/MemoryBombs.h"

namespace tvlc::testing {
namespace {

constexpr size_t kCameraPixels = 64 * 48;

size_t ViewBytes(const TMainCore& core) {
  return core.Picture.PixelBytes() + core.PicDrawArea.PixelBytes() + core.Map.PixelBytes() +
         core.MapDrawArea.PixelBytes() + core.Reconst.PixelBytes() +
         core.ReconstDrawArea.PixelBytes();
}

bool Logged(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

void EncodeAll(TMainCore& core) {
  core.Controls.ReqPSNRText = "20";
  core.EncAllBtnClick();
  ASSERT_EQ(core.EncodeFailures, 0);
}

TEST_F(LoadedCoreTest, PictureAndMapCostAByteAPixelEachAndTheirOverlaysNothing) {
  // An 8-bit picture and a 24-bit map of 22 colours.
  EXPECT_EQ(core.Picture.PixelBytes(), kCameraPixels);
  EXPECT_EQ(core.Map.PixelBytes(), kCameraPixels);
  EXPECT_EQ(ViewBytes(core), 2 * kCameraPixels);

  core.ShowShBtnClick(3);  // draws bounds into both overlays
  EXPECT_EQ(ViewBytes(core), 4 * kCameraPixels);

  EncodeAll(core);
  core.DecAllBtnClick();
  EXPECT_TRUE(core.UndecodedShapes.empty());
  EXPECT_EQ(core.Reconst.PixelBytes(), kCameraPixels);
  EXPECT_EQ(core.Reconst.Format(), TPixelFormat::Rgb24);  // still saved as 24-bit
  // Decode All clears the overlays before it starts.
  EXPECT_EQ(ViewBytes(core), 3 * kCameraPixels);
}

TEST_F(LoadedCoreTest, PictureLoadWithoutMemoryIsRefusedAndTheOldPictureStays) {
  const TPicData before = core.PicData;
  const std::string path = TestData("pictures/chelsea_grey_301x203.bmp");
  const size_t mark = core.Log.Lines().size();
  {
    TAllocationLimit limit(40000);  // below the 61,103 pixels of the file
    EXPECT_FALSE(core.LoadPicture1Click(path));
  }
  // The message and the empty line of its line break.
  EXPECT_EQ(core.Log.Lines().size(), mark + 2);
  EXPECT_TRUE(Logged(LinesSince(mark), "] Error: not enough memory to load picture " + path));
  EXPECT_EQ(core.PicData, before);
  EXPECT_EQ(core.PicWidth, 64);
  EXPECT_EQ(core.Picture.Width(), 64);
}

TEST_F(CoreTest, MapLoadWithoutMemoryIsRefusedAndTheOldMapAndShapesStay) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  const TMapData before = core.MapData;
  const TShape* firstShape = core.Shapes.front().Shape.get();
  const std::string path = TestData("maps/chelsea_grey_301x203_slic_grey8.bmp");
  const size_t mark = core.Log.Lines().size();
  {
    // The 8-bit file reads, its 4-byte labels do not fit.
    TAllocationLimit limit(100000);
    EXPECT_FALSE(core.LoadMap1Click(path));
    EXPECT_GT(TAllocationLimit::Refused(), 0u);
  }
  EXPECT_TRUE(Logged(LinesSince(mark), "Error: not enough memory to load map " + path));
  EXPECT_EQ(core.MapData, before);
  EXPECT_EQ(core.MapWidth, 64);
  EXPECT_EQ(core.Map.Width(), 64);
  EXPECT_EQ(core.Shapes.size(), 22u);
  EXPECT_EQ(core.Shapes.front().Shape.get(), firstShape);
  EXPECT_TRUE(core.Controls.WindowEnabled);
}

TEST_F(LoadedCoreTest, ProjectOpenWithoutMemoryIsRefusedAndTheStateStays) {
  ASSERT_TRUE(core.Save1Click("p.tvp"));
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  const TPicData before = core.PicData;
  {
    TAllocationLimit limit(2000);
    EXPECT_FALSE(core.Open1Click("p.tvp"));
  }
  EXPECT_TRUE(Logged(core.Log.Lines(), "Error: not enough memory to open project p.tvp"));
  EXPECT_EQ(core.PicData, before);
  EXPECT_EQ(core.PicWidth, 301);
}

TEST_F(LoadedCoreTest, RectanglesWithoutMemoryAreRefusedAndTheMapStays) {
  const TMapData before = core.MapData;
  {
    TAllocationLimit limit(5000);  // the labels take 12,288 bytes
    EXPECT_FALSE(core.GenerateRectangles(8, 8));
  }
  EXPECT_TRUE(Logged(core.Log.Lines(), "Error: not enough memory to generate rectangles"));
  EXPECT_EQ(core.MapData, before);
  EXPECT_EQ(core.Shapes.size(), 22u);
  EXPECT_TRUE(core.Controls.WindowEnabled);
  EXPECT_FALSE(core.Controls.ProgressBar.Visible);
}

TEST_F(CoreTest, DecodeWithoutMemoryFailsEachShapeWithALogLine) {
  core.SetInputInterval({});
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/chelsea_grey_301x203_slic_grey8.bmp")));
  EncodeAll(core);
  const size_t mark = core.Log.Lines().size();
  {
    // The decoded picture's 61,103 pixels do not fit; every window does.
    TAllocationLimit limit(60000);
    core.DecAllBtnClick();
  }
  ASSERT_EQ(core.UndecodedShapes.size(), core.Shapes.size());
  EXPECT_EQ(core.UndecodedShapes.front(), core.Shapes.front().Name);
  const std::vector<std::string> lines = LinesSince(mark);
  size_t refused = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i].find("] Error: not enough memory to decode Shape ") != std::string::npos &&
        lines[i + 1].find("] Unable to decode shape") != std::string::npos)
      ++refused;
  EXPECT_EQ(refused, core.Shapes.size());
  EXPECT_EQ(core.Reconst.PixelBytes(), 0u);
}

TEST_F(LoadedCoreTest, EncodeWithoutMemoryReportsTheEngineFailure) {
  size_t widest = 0;
  for (size_t i = 0; i < core.Shapes.size(); ++i)
    if (core.Shapes[i].Shape->WindowSize() > core.Shapes[widest].Shape->WindowSize()) widest = i;
  ASSERT_GE(core.Shapes[widest].Shape->WindowSize(), 1024);
  core.ShowShBtnClick(int(widest));
  core.Controls.ReqPSNRText = "30";
  const size_t mark = core.Log.Lines().size();
  {
    // The engine's arrays of a window of 1,024 doubles or more do not fit.
    TAllocationLimit limit(4000);
    core.EncBtnClick();
  }
  EXPECT_EQ(core.EncodeFailures, 1);
  EXPECT_TRUE(Logged(LinesSince(mark), "Exception at transforming shape: External exception in "
                                       "module or not enough memory"));
}

TEST_F(LoadedCoreTest, CompressedValuesBeyondTheWindowsAreCountedNotKept) {
  {
    std::ofstream out("bomb.tvzx", std::ios::binary);
    const std::vector<uint8_t> bomb = CompressedBomb(3, 162000);
    out.write(reinterpret_cast<const char*>(bomb.data()), std::streamsize(bomb.size()));
  }
  const size_t mark = core.Log.Lines().size();
  {
    // Each shape's 162,002 values would take 648 KB.
    TAllocationLimit limit(64 * 1024);
    ASSERT_TRUE(core.OpenCompressedPicture1Click("bomb.tvzx"));
  }
  const std::vector<std::string> lines = LinesSince(mark);
  for (size_t k = 0; k < 3; ++k) {
    const TShape& shape = *core.Shapes[k].Shape;
    const size_t window = size_t(shape.WindowSize());
    ASSERT_EQ(shape.Spectrum.size(), window);
    const std::string expected = "...shape " + core.Shapes[k].Name + ": " +
                                 std::to_string(162002 - window) +
                                 " values beyond its window ignored";
    bool found = false;
    for (const std::string& line : lines) found |= line.find(expected) != std::string::npos;
    EXPECT_TRUE(found) << expected;
  }
  EXPECT_FALSE(core.Shapes[3].Shape->HasSpectrum());
}

}  // namespace
}  // namespace tvlc::testing
