// Loading pictures and maps of every format through the commands: the log
// lines, the colour question and the cheap refusal of oversized maps.
#include <fstream>

#include "CoreFixture.h"
#include "model/formats/ImageFile.h"
#include "model/formats/PictureAndMap.h"

namespace tvlc::testing {
namespace {

const std::string kQuestion =
    "The picture has colours. Convert it to grey levels (BT.601 luma) and load it?";

TEST_F(CoreTest, ColourPictureIsRefusedWhenTheUserSaysNo) {
  const std::string jpeg = TestData("formats/coffee_progressive.jpg");
  EXPECT_FALSE(core.LoadPicture1Click(jpeg));
  EXPECT_EQ(host.Questions, std::vector<std::string>{kQuestion});
  EXPECT_EQ(core.Log.Lines(),
            (std::vector<std::string>{"[12:00:00] Cann't load picture. Picture is not grayscale "
                                      "image with 8bit color depth.",
                                      ""}));
  EXPECT_FALSE(core.PicData);
  EXPECT_EQ(core.Picture.Width(), 64);  // the view shows the file
}

TEST_F(CoreTest, ColourPictureIsConvertedByLumaWhenTheUserSaysYes) {
  host.AnswerYes = true;
  const std::string png = TestData("formats/coffee_16.png");
  ASSERT_TRUE(core.LoadPicture1Click(png));
  EXPECT_EQ(core.Log.Lines(),
            (std::vector<std::string>{
                "[12:00:00] Picture " + png +
                    ": 16-bit levels scaled to 8 bits as round(v * 255 / 65535).",
                "[12:00:00] Picture " + png +
                    ": colours converted to grey levels as round(0.299 R + 0.587 G + 0.114 B) "
                    "(BT.601 luma).",
                "[12:00:00] Picture " + png + " of size 64x48 loaded.", ""}));
  const TImage expected =
      LumaImage(PictureImage(ReadImageFile(TestData("formats/coffee.ppm"))).Image);
  ASSERT_EQ(core.PicData->size(), 64u * 48u);
  for (size_t i = 0; i < core.PicData->size(); ++i)
    ASSERT_EQ((*core.PicData)[i], RedOf(expected.Pixel(int(i % 64), int(i / 64)))) << i;
}

TEST_F(CoreTest, GreyPicturesAskNothing) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("formats/camera_lzw.tif")));
  EXPECT_TRUE(host.Questions.empty());
}

TEST_F(CoreTest, SixteenBitLabelMapGivesOneShapePerLabel) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("formats/camera.pgm")));
  const std::string map = TestData("formats/labels_16.png");
  const size_t mark = core.Log.Lines().size();
  ASSERT_TRUE(core.LoadMap1Click(map));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{
                "[12:00:00] Map " + map + ": labels are the 16-bit grey levels themselves.",
                "[12:00:00] Map " + map + " of size 64x48 loaded.",
                "[12:00:00] Analyzing map file: locating shapes...",
                "[12:00:00] 22 shapes found. Done.", ""}));
  EXPECT_EQ(core.Shapes[0].Name, "Shape FA");     // label 250
  EXPECT_EQ(core.Shapes[21].Name, "Shape 0403");  // label 250 + 37 * 21 = 1027
}

TEST_F(CoreTest, JpegMapIsRefusedAndChangesNothing) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  const TMapData before = core.MapData;
  const std::string jpeg = TestData("formats/camera_map.jpg");
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.LoadMap1Click(jpeg));
  EXPECT_EQ(LinesSince(mark),
            (std::vector<std::string>{"[12:00:00] Error: cannot load map " + jpeg +
                                          ": JPEG is a lossy format: its colours are not exact "
                                          "labels",
                                      ""}));
  EXPECT_EQ(core.MapData, before);
  EXPECT_EQ(core.Shapes.size(), 22u);
}

// A PNG header chunk claiming a large image, without any image data.
void WriteHeaderOnlyPng(const std::string& path, uint32_t width, uint32_t height) {
  const std::vector<uint8_t> png = {0x89,
                                    'P',
                                    'N',
                                    'G',
                                    '\r',
                                    '\n',
                                    0x1A,
                                    '\n',
                                    0,
                                    0,
                                    0,
                                    13,
                                    'I',
                                    'H',
                                    'D',
                                    'R',
                                    uint8_t(width >> 24),
                                    uint8_t(width >> 16),
                                    uint8_t(width >> 8),
                                    uint8_t(width),
                                    uint8_t(height >> 24),
                                    uint8_t(height >> 16),
                                    uint8_t(height >> 8),
                                    uint8_t(height),
                                    8,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0};
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

TEST_F(CoreTest, MapLargerThanThePictureIsRefusedFromItsHeader) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  WriteHeaderOnlyPng("huge.png", 40000, 30000);
  const size_t mark = core.Log.Lines().size();
  EXPECT_FALSE(core.LoadMap1Click("huge.png"));
  EXPECT_EQ(
      LinesSince(mark),
      (std::vector<std::string>{
          "[12:00:00] Map huge.png of size 40000x30000 loaded.",
          "[12:00:00] Analyzing map file: locating shapes...",
          "[12:00:00] Error: height/width of map is larger than height/width of picture", ""}));
  EXPECT_FALSE(core.MapData);
  EXPECT_EQ(core.Map.Width(), 64);  // nothing of the refused file was decoded
  EXPECT_EQ(core.Shapes.size(), 22u);
  // Without a picture the same file is decoded, and refused as what it is.
  TTestHost otherHost;
  TMainCore fresh{otherHost, TestData("")};
  EXPECT_FALSE(fresh.LoadMap1Click("huge.png"));
  EXPECT_EQ(fresh.Log.Lines()[0],
            "[12:00:00] Error: cannot load map huge.png: PNG image size 40000 x 30000 not "
            "supported");
}

TEST_F(CoreTest, ExportsEndingInPngArePng) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("formats/camera.tif")));
  ASSERT_TRUE(core.SavePicture1Click("copy.png"));
  ASSERT_TRUE(core.SavePicture1Click("copy.bmp"));
  const TDecodedImage png = ReadImageFile("copy.png");
  EXPECT_EQ(png.Format, "PNG");
  EXPECT_EQ(png.Image, ReadImageFile("copy.bmp").Image);
  EXPECT_EQ(ReadImageFile("copy.bmp").Format, "BMP");
}

}  // namespace
}  // namespace tvlc::testing
