#include <gtest/gtest.h>

#include "model/Image.h"

namespace tvlc {
namespace {

TEST(Image, IndexedPixelsReadThroughThePalette) {
  TImage img(2, 1, {Grey(10), RGB(1, 2, 3)}, {1, 0});
  EXPECT_EQ(img.Format(), TPixelFormat::Indexed8);
  EXPECT_EQ(img.Pixel(0, 0), 1u + 2u * 256 + 3u * 65536);
  EXPECT_EQ(img.Pixel(1, 0), Grey(10));
  EXPECT_EQ(img.Pixel(5, 5), kBlack);
}

TEST(Image, SettingAColourOutsideThePaletteTurnsTo24Bit) {
  TImage img(2, 1, {Grey(10), Grey(20)}, {0, 0});
  img.SetPixel(1, 0, Grey(20));
  EXPECT_EQ(img.Format(), TPixelFormat::Indexed8);
  img.SetPixel(0, 0, RGB(9, 8, 7));
  EXPECT_EQ(img.Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(img.Pixel(0, 0), RGB(9, 8, 7));
  EXPECT_EQ(img.Pixel(1, 0), Grey(20));
}

TEST(Image, FillAndFrameIncludeBothCornersAndClip) {
  TImage img(4, 4, kWhite);
  img.FillRect(1, 1, 2, 2, kBlack);
  EXPECT_EQ(img.Pixel(1, 1), kBlack);
  EXPECT_EQ(img.Pixel(2, 2), kBlack);
  EXPECT_EQ(img.Pixel(3, 3), kWhite);
  img.Fill(kWhite);
  img.FrameRect(-1, 0, 2, 9, RGB(255, 0, 0));
  EXPECT_EQ(img.Pixel(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(img.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(img.Pixel(1, 1), kWhite);
}

TEST(Image, CopyRectAndCombinesByBitwiseAnd) {
  TImage src(2, 2, RGB(0xF0, 0x0F, 0xFF));
  TImage dst(2, 2, RGB(0xFF, 0xFF, 0x0F));
  dst.CopyRectAnd(0, 0, src, 0, 0, 2, 2);
  EXPECT_EQ(dst.Pixel(1, 1), RGB(0xF0, 0x0F, 0x0F));
  TImage plain(3, 3, kWhite);
  plain.CopyRect(1, 1, src, 0, 0, 5, 5);  // reads past the source give black
  EXPECT_EQ(plain.Pixel(1, 1), RGB(0xF0, 0x0F, 0xFF));
  EXPECT_EQ(plain.Pixel(0, 0), kWhite);
}

TEST(Image, RepeatedWholeCopiesFollowEveryChangeOfEitherImage) {
  TImage src(3, 2, {kBlack, kWhite}, {0, 1, 0, 1, 0, 1});
  TImage dst(3, 2, Grey(7));
  const auto copy = [&] { dst.CopyRect(0, 0, src, 0, 0, 3, 2); };
  copy();
  EXPECT_TRUE(dst == src);
  src.SetPixel(0, 0, Grey(9));
  copy();
  EXPECT_EQ(dst.Pixel(0, 0), Grey(9));
  dst.FillRect(1, 1, 2, 1, Grey(3));
  copy();
  EXPECT_TRUE(dst == src);
  dst.SetRgb24();
  copy();
  EXPECT_EQ(dst.Format(), TPixelFormat::Rgb24);
  // A copy of the source made elsewhere is not this image.
  TImage other = src;
  other.SetPixel(2, 1, Grey(1));
  dst.CopyRect(0, 0, other, 0, 0, 3, 2);
  EXPECT_EQ(dst.Pixel(2, 1), Grey(1));
  copy();
  EXPECT_EQ(dst.Pixel(2, 1), kWhite);
  // A partial copy is made whatever came before.
  dst.CopyRect(0, 0, other, 2, 1, 1, 1);
  EXPECT_EQ(dst.Pixel(0, 0), Grey(1));
  copy();
  EXPECT_EQ(dst.Pixel(0, 0), Grey(9));
}

}  // namespace
}  // namespace tvlc
