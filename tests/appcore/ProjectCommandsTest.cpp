#include <filesystem>
#include <fstream>

#include "CoreFixture.h"
#include "files/ProjectFile.h"

namespace tvlc::testing {
namespace {

using ProjectCommandsTest = LoadedCoreTest;

TEST_F(ProjectCommandsTest, SaveAndOpenRestoreEveryShapeBitForBit) {
  core.ShowShBtnClick(2);
  core.Controls.ReqPSNRText = "28";
  core.EncBtnClick();
  core.Shapes[2].Shape->SetQuality(40);
  core.Shapes[3].Shape->SetNormKind(4);
  size_t mark = core.Log.Lines().size();
  ASSERT_TRUE(core.Save1Click("p.tvp"));
  EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{"[12:00:00] Saving file p.tvp ...",
                                                        "[12:00:00] Picture of size 64x48 saved...",
                                                        "[12:00:00] Map of size 64x48 saved...",
                                                        "[12:00:00] 22 shapes saved."}));
  const TShape saved = *core.Shapes[2].Shape;

  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  mark = other.Log.Lines().size();
  ASSERT_TRUE(other.Open1Click("p.tvp"));
  EXPECT_EQ(other.Log.Lines(), (std::vector<std::string>{
                                   "[12:00:00] Opening file p.tvp ...",
                                   "[12:00:00] Picture of size 64x48 loaded...",
                                   "[12:00:00] Map of size 64x48 loaded...",
                                   "[12:00:00] 22 shapes loaded.", ""}));
  ASSERT_EQ(other.Shapes.size(), 22u);
  const TShape& back = *other.Shapes[2].Shape;
  EXPECT_EQ(other.Shapes[2].Name, core.Shapes[2].Name);
  EXPECT_EQ(back.Iterations, saved.Iterations);
  EXPECT_EQ(back.PSNR, saved.PSNR);
  EXPECT_EQ(back.Quality, 40);
  ASSERT_EQ(back.Spectrum.size(), saved.Spectrum.size());
  for (size_t k = 0; k < back.Spectrum.size(); ++k) ASSERT_EQ(back.Spectrum[k], saved.Spectrum[k]);
  EXPECT_EQ(other.Shapes[3].Shape->NormKind, 4);
  EXPECT_EQ(*other.PicData, *core.PicData);
  EXPECT_EQ(*other.MapData, *core.MapData);
  EXPECT_EQ(other.SelectedShape, nullptr);
  // Saving the opened project again gives the same bytes.
  ASSERT_TRUE(other.Save1Click("q.tvp"));
  EXPECT_EQ(ReadWholeFile("p.tvp"), ReadWholeFile("q.tvp"));
}

TEST_F(ProjectCommandsTest, DamagedFilesChangeNothing) {
  ASSERT_TRUE(core.Save1Click("good.tvp"));
  const std::vector<uint8_t> good = ReadWholeFile("good.tvp");
  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  ASSERT_TRUE(other.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  ASSERT_TRUE(other.LoadMap1Click(TestData("maps/chelsea_grey_301x203_slic_grey8.bmp")));
  const TPicData picture = other.PicData;
  const TShape* first = other.Shapes[0].Shape.get();
  const std::vector<size_t> cuts = {3, 8, 20, 1000, good.size() / 2, good.size() - 60, good.size() - 1};
  for (size_t cut : cuts) {
    std::ofstream("cut.tvp", std::ios::binary)
        .write(reinterpret_cast<const char*>(good.data()), std::streamsize(cut));
    const size_t mark = other.Log.Lines().size();
    EXPECT_FALSE(other.Open1Click("cut.tvp")) << cut;
    const auto lines = other.Log.Lines();
    ASSERT_GT(lines.size(), mark + 1);
    if (cut < 8)
      EXPECT_EQ(lines[mark + 1], "[12:00:00] Error: incorrect input file format");
    else
      EXPECT_EQ(lines[mark + 1].rfind("[12:00:00] Error: cannot open project cut.tvp: ", 0), 0u);
    EXPECT_EQ(other.PicData, picture);
    EXPECT_EQ(other.PicWidth, 301);
    EXPECT_EQ(other.Shapes[0].Shape.get(), first);
  }
}

TEST_F(ProjectCommandsTest, ProjectWithoutShapesAndRefusedSaves) {
  TTestHost emptyHost;
  TMainCore empty(emptyHost, TestData(""));
  EXPECT_FALSE(empty.Save1Click("none.tvp"));
  EXPECT_EQ(empty.Log.Lines().at(0), "[12:00:00] Error: nothing to save, load picture and map first");
  EXPECT_FALSE(std::filesystem::exists("none.tvp"));

  core.Shapes.clear();
  ASSERT_TRUE(core.Save1Click("empty.tvp"));
  ASSERT_TRUE(empty.Open1Click("empty.tvp"));
  const auto& lines = empty.Log.Lines();
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] 0 shapes loaded.");

  // A save that cannot be written keeps the previous file.
  ASSERT_TRUE(core.Save1Click("keep.tvp"));
  const auto before = ReadWholeFile("keep.tvp");
  std::filesystem::create_directory("keep.tvp.dir");
  EXPECT_FALSE(core.Save1Click("keep.tvp.dir/sub/x.tvp"));
  EXPECT_EQ(ReadWholeFile("keep.tvp"), before);
}

}  // namespace
}  // namespace tvlc::testing
