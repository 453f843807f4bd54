#include <gtest/gtest.h>

#include <sstream>

#include "model/FormatsTestSupport.h"
#include "model/formats/PngFile.h"

namespace tvlc {
namespace {

using namespace formatstest;

std::vector<uint8_t> PngBytes(const TImage& image) {
  std::ostringstream out;
  WritePng(out, image);
  const std::string s = out.str();
  return {s.begin(), s.end()};
}

TEST(PngWriter, GreyPicturesRoundTripAsEightBitGrey) {
  const TImage picture = ReadBmpFile(std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp");
  const std::vector<uint8_t> bytes = PngBytes(picture);
  EXPECT_EQ(bytes[25], 0);  // colour type in the header chunk: grey
  EXPECT_EQ(bytes[24], 8);  // bit depth
  const TDecodedImage back = Decode(bytes);
  EXPECT_EQ(back.Image, picture);
  EXPECT_TRUE(back.Ignored.empty());
}

TEST(PngWriter, ColourImagesRoundTripWithEveryColourValue) {
  TImage image(300, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 300; ++x) image.SetPixel(x, y, TColor(x * 55931 + y * 7919) & kWhite);
  const std::vector<uint8_t> bytes = PngBytes(image);
  EXPECT_EQ(bytes[25], 2);  // colour type: red, green, blue
  EXPECT_EQ(Decode(bytes).Image, image);
}

TEST(PngWriter, TheNameChoosesTheFormatOfAnExport) {
  EXPECT_TRUE(WantsPng("decoded.png"));
  EXPECT_TRUE(WantsPng("DECODED.PNG"));
  EXPECT_FALSE(WantsPng("decoded.bmp"));
  EXPECT_FALSE(WantsPng("png"));
  EXPECT_FALSE(WantsPng("decoded.png.bmp"));
  std::ostringstream png, bmp;
  WriteImage(png, TImage(2, 2, Grey(9)), true);
  WriteImage(bmp, TImage(2, 2, Grey(9)), false);
  EXPECT_EQ(png.str().substr(1, 3), "PNG");
  EXPECT_EQ(bmp.str().substr(0, 2), "BM");
}

TEST(PngWriter, EmptyImagesAreRefused) {
  std::ostringstream out;
  EXPECT_THROW(WritePng(out, TImage()), std::runtime_error);
  EXPECT_TRUE(out.str().empty());
}

}  // namespace
}  // namespace tvlc
