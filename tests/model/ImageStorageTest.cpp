// What an image costs: a byte a pixel while it holds at most 256 colours,
// nothing while it holds one, whatever format its bitmap files have.
#include <gtest/gtest.h>

#include "model/Bmp.h"
#include "model/BmpTestSupport.h"
#include "model/Image.h"

namespace tvlc {
namespace {

TEST(ImageStorage, OneColourStoresNoPixelsUntilAnotherIsSet) {
  TImage overlay(1000, 700, kWhite);
  EXPECT_EQ(overlay.PixelBytes(), 0u);
  overlay.SetPixel(3, 4, kWhite);
  overlay.FillRect(0, 0, 10, 10, kWhite);
  EXPECT_EQ(overlay.PixelBytes(), 0u);
  overlay.SetPixel(3, 4, RGB(0, 0, 255));
  EXPECT_EQ(overlay.PixelBytes(), 700000u);
  EXPECT_EQ(overlay.Pixel(3, 4), RGB(0, 0, 255));
  EXPECT_EQ(overlay.Pixel(4, 4), kWhite);
  overlay.Fill(kWhite);
  EXPECT_EQ(overlay.PixelBytes(), 0u);
  EXPECT_EQ(overlay.Pixel(3, 4), kWhite);
  EXPECT_EQ(overlay.Format(), TPixelFormat::Rgb24);
}

TEST(ImageStorage, TwoHundredFiftySixColoursTakeAByteEachTheNextTakesFour) {
  TImage image(40, 10);  // black, the first of its colours
  auto colourAt = [](int x, int y) { return RGB(uint8_t(x), uint8_t(y * 40 + x), 7); };
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x)
      if (y * 40 + x < 255) image.SetPixel(x, y, colourAt(x, y));
  EXPECT_EQ(image.PixelBytes(), 400u);
  EXPECT_EQ(image.Format(), TPixelFormat::Rgb24);
  image.SetPixel(39, 9, RGB(1, 2, 3));  // the 257th colour
  EXPECT_EQ(image.PixelBytes(), 1600u);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) {
      const TColor expected =
          x == 39 && y == 9 ? RGB(1, 2, 3) : y * 40 + x < 255 ? colourAt(x, y) : kBlack;
      ASSERT_EQ(image.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(ImageStorage, TwentyFourBitImageOfFewColoursIsWrittenWithTwentyFourBits) {
  TImage image(5, 3, kWhite);
  image.SetPixel(1, 1, Grey(9));
  const std::vector<uint8_t> bytes = bmptest::WrittenBytes(image);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  const TImage read = bmptest::ReadBytes(bytes);
  EXPECT_EQ(read.Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(read, image);
  EXPECT_EQ(read.PixelBytes(), 15u);
}

TEST(ImageStorage, IndexedImageKeepsItsTableAndTheFirstIndexOfARepeatedColour) {
  TImage image(2, 1, {Grey(5), Grey(9), Grey(5)}, {2, 1});
  image.SetPixel(1, 0, Grey(5));
  EXPECT_EQ(image.Format(), TPixelFormat::Indexed8);
  EXPECT_EQ(image.Index(0, 0), 2);
  EXPECT_EQ(image.Index(1, 0), 0);
  EXPECT_EQ(image.Palette(), (std::vector<TColor>{Grey(5), Grey(9), Grey(5)}));
}

TEST(ImageStorage, CopyOfAUniformImageStoresNothing) {
  const TImage white(300, 200, kWhite);
  TImage copy(200, 100, kWhite);
  copy.CopyRect(0, 0, white, 0, 0, 200, 100);
  EXPECT_EQ(copy.PixelBytes(), 0u);
  copy.CopyRect(0, 0, white, 250, 150, 200, 100);  // reads past the source give black
  EXPECT_EQ(copy.Pixel(0, 0), kWhite);
  EXPECT_EQ(copy.Pixel(50, 50), kBlack);
  EXPECT_EQ(copy.PixelBytes(), 20000u);
}

}  // namespace
}  // namespace tvlc
