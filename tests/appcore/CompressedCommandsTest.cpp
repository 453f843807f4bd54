#include <filesystem>
#include <fstream>
#include <iterator>

#include "CoreFixture.h"
#include "coding/Quantizer.h"
#include "files/ProjectFile.h"
#include "files/Zigzag.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

class CompressedCommandsTest : public LoadedCoreTest {
 protected:
  void EncodeAll(int quality, const std::string& psnr = "30") {
    core.Controls.ReqPSNRText = psnr;
    core.Controls.UseQSpecChecked = quality > 0;
    core.Controls.QuantQuality = quality;
    core.EncAllBtnClick();
  }
  // Every coefficient as the writer's quantization and reconstruction give it.
  static std::vector<double> Dequantized(TShape& s) {
    std::vector<double> c(s.Spectrum.size());
    for (int v = 0; v < s.RoundedHeight(); ++v)
      for (int u = 0; u < s.RoundedWidth(); ++u) {
        const size_t k = size_t(v) * s.RoundedWidth() + u;
        const double step = QuantStep(s, uint16_t(u), uint16_t(v));
        c[k] = DequantizeCoefficient(QuantizeCoefficient(s.Spectrum[k], step, s.NormFactor), step,
                                     s.NormFactor);
      }
    return c;
  }
};

TEST_F(CompressedCommandsTest, RoundTripGivesTheWritersDequantizedSpectra) {
  for (int quality : {15, 50}) {
    EncodeAll(quality);
    core.Shapes[3].Shape->SetNormKind(1);  // mixed parameters: per-shape headers
    const size_t mark = core.Log.Lines().size();
    ASSERT_TRUE(core.ExportSpectrum1Click("p.tvzx"));
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{
                                    "[12:00:00] Saving spectrum...",
                                    "[12:00:00] ...analyzing data and bulding statistics",
                                    "[12:00:00] ...compressing spectrum", "[12:00:00] ...Done.", ""}));

    TTestHost otherHost;
    TMainCore other(otherHost, TestData(""));
    ASSERT_TRUE(other.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
    const size_t otherMark = other.Log.Lines().size();
    ASSERT_TRUE(other.OpenCompressedPicture1Click("p.tvzx"));
    const auto lines = other.Log.Lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + std::ptrdiff_t(otherMark), lines.end()),
              (std::vector<std::string>{"[12:00:00] Loading compressed spectrum...",
                                        "[12:00:00] ...checking file format",
                                        "[12:00:00] ...loading data",
                                        "[12:00:00] ...decompressing", "[12:00:00] ...Done.", ""}));
    for (size_t i = 0; i < core.Shapes.size(); ++i) {
      TShape& written = *core.Shapes[i].Shape;
      TShape& read = *other.Shapes[i].Shape;
      ASSERT_EQ(read.Quality, quality);
      EXPECT_EQ(read.NormKind, written.NormKind);
      EXPECT_EQ(read.ModuleCode, 1u);
      EXPECT_EQ(read.TransCode, 2u);
      const std::vector<double> expected = Dequantized(written);
      ASSERT_EQ(read.Spectrum.size(), expected.size());
      for (size_t k = 0; k < expected.size(); ++k) ASSERT_EQ(read.Spectrum[k], expected[k]) << i;
    }
  }
}

TEST_F(CompressedCommandsTest, WriterNeedsASpectrumInEveryShape) {
  core.ShowShBtnClick(0);
  core.EncBtnClick();
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.ExportSpectrum1Click("x.tvzx"));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{"[12:00:00] Can't compress picture, because isn't available "
                                      "spectrum for all shapes. Transform all shapes first!"}));
  EXPECT_FALSE(std::filesystem::exists("x.tvzx"));
}

TEST_F(CompressedCommandsTest, ATableThatCannotBeStoredIsLoggedAndKeepsTheOldFile) {
  EncodeAll(0);
  // Quantizes to a value too far from the next smaller one for the table.
  core.Shapes[0].Shape->Spectrum[0] = 1e8;
  const std::string precious("TVLZ11 an older file", 20);
  std::ofstream("p.tvzx", std::ios::binary) << precious;
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.ExportSpectrum1Click("p.tvzx"));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{
                "[12:00:00] Saving spectrum...",
                "[12:00:00] ...analyzing data and bulding statistics",
                "[12:00:00] Internal codec error. Cannot write symbol table for arithmetic codec. "
                "Number can't fit to reserved bits",
                ""}));
  std::ifstream in("p.tvzx", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), precious);
}

TEST_F(CompressedCommandsTest, FileWithMoreShapesThanTheMapChangesNothing) {
  EncodeAll(0, "20");
  ASSERT_TRUE(core.ExportSpectrum1Click("p.tvzx"));
  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  ASSERT_TRUE(other.LoadPicture1Click(TestData("pictures/chelsea_grey_301x203.bmp")));
  ASSERT_TRUE(other.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  other.Shapes.resize(5);
  EXPECT_FALSE(other.OpenCompressedPicture1Click("p.tvzx"));
  const auto& lines = other.Log.Lines();
  EXPECT_EQ(lines[lines.size() - 2],
            "[12:00:00] Error: the compressed picture holds more shapes than the loaded map (5); "
            "nothing loaded");
  for (const TShapeItem& item : other.Shapes) EXPECT_FALSE(item.Shape->HasSpectrum());
}

TEST_F(CompressedCommandsTest, NoMapAndUnknownFormatShowErrorBoxes) {
  TTestHost otherHost;
  TMainCore other(otherHost, TestData(""));
  EXPECT_FALSE(other.OpenCompressedPicture1Click("whatever.tvzx"));
  EXPECT_EQ(otherHost.ErrorBoxes, std::vector<std::string>{"No map loaded. Load Map first"});
  std::ofstream("bad.tvzx") << "TVLZ99 and more";
  EXPECT_FALSE(core.OpenCompressedPicture1Click("bad.tvzx"));
  EXPECT_EQ(host.ErrorBoxes, std::vector<std::string>{"Unknown input file format"});
}

TEST(CompressedCommandsBytes, OneAllZeroShapeIsTwentyFourBytesAfterTheMagic) {
  TTestHost host;
  TMainCore core(host, TestData(""));
  const auto dir = std::filesystem::temp_directory_path() / "tvlc-compressed-bytes";
  std::filesystem::create_directories(dir);
  const std::string picture = (dir / "p.bmp").string(), map = (dir / "m.bmp").string();
  WriteBmpFile(picture, TImage(4, 4, Grey(128)));
  WriteBmpFile(map, TImage(4, 4, Grey(9)));
  ASSERT_TRUE(core.LoadPicture1Click(picture));
  ASSERT_TRUE(core.LoadMap1Click(map));
  TShape& s = *core.Shapes.at(0).Shape;
  s.ModuleCode = 1;
  s.TransCode = 2;
  s.Spectrum.assign(16, 0.0);
  const std::string out = (dir / "z.tvzx").string();
  ASSERT_TRUE(core.ExportSpectrum1Click(out));
  const std::vector<uint8_t> expected = {
      'T', 'V', 'L', 'Z', '1', '1',  // magic
      0x01,                          // common parameters
      0x01, 0, 0, 0, 0x02, 0, 0, 0,  // module 1, transformation 2
      0x00, 0x02,                    // quality 0, normalization 2
      0x02, 0, 0, 0,                 // two table entries
      0x02,                          // end of shape: the shape and the trailer
      0x01, 0, 0, 0,                 // the trailer's zero
      0, 0, 0, 0x80};                // one coded word
  EXPECT_EQ(ReadWholeFile(out), expected);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tvlc::testing
