// Every supported format against independent references: the bitmap of the
// same picture, the netpbm files the Debian tools wrote, and the library's
// own command-line JPEG decoder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "model/FormatsTestSupport.h"
#include "model/PictureArrays.h"
#include "model/formats/PictureAndMap.h"

namespace tvlc {
namespace {

using namespace formatstest;

std::vector<uint8_t> BmpLevels() {
  return Reds(ReadBmpFile(std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp"));
}

struct TLossless {
  const char* file;
  const char* format;
};

class LosslessPicture : public testing::TestWithParam<TLossless> {};

TEST_P(LosslessPicture, LoadsTheGreyLevelsOfTheBitmap) {
  const TDecodedImage decoded = ReadImageFile(FormatFile(GetParam().file));
  EXPECT_EQ(decoded.Format, GetParam().format);
  EXPECT_FALSE(decoded.Lossy);
  const TLoadedImage picture = PictureImage(decoded);
  ASSERT_EQ(picture.Image.Width(), kWidth);
  ASSERT_EQ(picture.Image.Height(), kHeight);
  EXPECT_TRUE(IsGrey(picture.Image));
  EXPECT_EQ(Reds(picture.Image), BmpLevels());
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, LosslessPicture,
    testing::Values(TLossless{"camera.png", "PNG"}, TLossless{"camera_16.png", "PNG"},
                    TLossless{"camera_interlaced.png", "PNG"},
                    TLossless{"camera_palette.png", "PNG"}, TLossless{"camera_rgba.png", "PNG"},
                    TLossless{"camera_rgb.png", "PNG"}, TLossless{"camera.pgm", "Netpbm"},
                    TLossless{"camera_plain.pgm", "Netpbm"}, TLossless{"camera.ppm", "Netpbm"},
                    TLossless{"camera_plain.ppm", "Netpbm"}, TLossless{"camera_16.pgm", "Netpbm"},
                    TLossless{"camera_1000.pgm", "Netpbm"}, TLossless{"camera.tif", "TIFF"},
                    TLossless{"camera_lzw.tif", "TIFF"}, TLossless{"camera_deflate.tif", "TIFF"},
                    TLossless{"camera_tiled_lzw.tif", "TIFF"},
                    TLossless{"camera_16_lzw.tif", "TIFF"},
                    TLossless{"camera_rgb_deflate.tif", "TIFF"}),
    [](const testing::TestParamInfo<TLossless>& info) {
      std::string name = info.param.file;
      std::replace(name.begin(), name.end(), '.', '_');
      return name;
    });

TEST(PictureLevels, WideLevelsAreScaledAndTheLogSaysHow) {
  const TLoadedImage sixteen = PictureImage(ReadImageFile(FormatFile("camera_16.png")));
  EXPECT_EQ(sixteen.Notes,
            std::vector<std::string>{"16-bit levels scaled to 8 bits as round(v * 255 / 65535)"});
  const TLoadedImage thousand = PictureImage(ReadImageFile(FormatFile("camera_1000.pgm")));
  EXPECT_EQ(
      thousand.Notes,
      std::vector<std::string>{"levels of maximum 1000 scaled to 8 bits as round(v * 255 / 1000)"});
  EXPECT_TRUE(PictureImage(ReadImageFile(FormatFile("camera.png"))).Notes.empty());
}

TEST(PictureLevels, FourBitLevelsAreScaledToEightBits) {
  // The 4-bit picture as netpbm wrote it, maximum 15: each level v is 17 v.
  std::vector<uint8_t> expected = NetpbmSamples("camera_4bit.pgm", kPixels);
  for (uint8_t& v : expected) v = uint8_t(v * 17);
  for (const char* file : {"camera_4bit.png", "camera_4bit_plain.pgm"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(Reds(PictureImage(ReadImageFile(FormatFile(file))).Image), expected);
  }
}

TEST(PictureLevels, RoundingHalvesGoToTheEvenLevel) {
  EXPECT_EQ(RoundedQuotient(5, 2), 2u);
  EXPECT_EQ(RoundedQuotient(7, 2), 4u);
  EXPECT_EQ(RoundedQuotient(7, 3), 2u);
  EXPECT_EQ(ScaleTo8(1, 2), 128);  // 127.5
  EXPECT_EQ(ScaleTo8(65535, 65535), 255);
  EXPECT_EQ(ScaleTo8(128, 65535), 0);  // 0.498
  EXPECT_EQ(ScaleTo8(129, 65535), 1);  // 0.502
}

TEST(PictureNotes, AlphaAndOrientationAreIgnoredAndNoted) {
  EXPECT_EQ(ReadImageFile(FormatFile("camera_rgba.png")).Ignored,
            std::vector<std::string>{"alpha channel ignored"});
  const TDecodedImage rotated = ReadImageFile(FormatFile("camera_orientation6.tif"));
  EXPECT_EQ(rotated.Ignored,
            std::vector<std::string>{"TIFF orientation 6 ignored (pixels used as stored)"});
  EXPECT_EQ(Reds(rotated.Image), BmpLevels());
}

// An APP1 segment with an EXIF block whose only entry is the orientation.
std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, uint8_t orientation) {
  const std::vector<uint8_t> exif = {
      'E',  'x',  'i', 'f', 0, 0,        // signature
      'M',  'M',  0,   42,  0, 0, 0, 8,  // big-endian TIFF header
      0,    1,                           // one entry
      0x01, 0x12, 0,   3,   0, 0, 0, 1, 0, orientation, 0, 0, 0, 0, 0, 0};  // no next directory
  const size_t length = exif.size() + 2;
  std::vector<uint8_t> segment = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
  segment.insert(segment.end(), exif.begin(), exif.end());
  std::vector<uint8_t> out = jpeg;  // the segment goes right after the start marker
  out.insert(out.begin() + 2, segment.begin(), segment.end());
  return out;
}

TEST(PictureNotes, JpegOrientationIsNotedAndNotApplied) {
  const std::vector<uint8_t> plain = Bytes(FormatFile("camera.jpg"));
  const TDecodedImage turned = Decode(WithExifOrientation(plain, 8));
  EXPECT_EQ(turned.Ignored,
            std::vector<std::string>{"EXIF orientation 8 ignored (pixels used as stored)"});
  EXPECT_EQ(Reds(turned.Image), Reds(Decode(plain).Image));
  EXPECT_TRUE(Decode(WithExifOrientation(plain, 1)).Ignored.empty());
}

// The PNG checksum of a chunk's type and data.
uint32_t Crc32(const std::vector<uint8_t>& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

TEST(PictureNotes, PngOrientationIsNotedAndNotApplied) {
  const std::vector<uint8_t> plain = Bytes(FormatFile("camera.png"));
  std::vector<uint8_t> exif = WithExifOrientation({0xFF, 0xD8}, 3);
  exif.erase(exif.begin(), exif.begin() + 2 + 4 + 6);  // the TIFF structure alone
  std::vector<uint8_t> chunk = {'e', 'X', 'I', 'f'};
  chunk.insert(chunk.end(), exif.begin(), exif.end());
  const uint32_t crc = Crc32(chunk);
  const uint32_t length = uint32_t(exif.size());
  std::vector<uint8_t> framed = {uint8_t(length >> 24), uint8_t(length >> 16),
                                 uint8_t(length >> 8), uint8_t(length)};
  framed.insert(framed.end(), chunk.begin(), chunk.end());
  framed.insert(framed.end(),
                {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
  std::vector<uint8_t> turned = plain;
  turned.insert(turned.begin() + 33, framed.begin(), framed.end());  // after the header chunk
  const TDecodedImage decoded = Decode(turned);
  EXPECT_EQ(decoded.Ignored,
            std::vector<std::string>{"EXIF orientation 3 ignored (pixels used as stored)"});
  EXPECT_EQ(Reds(decoded.Image), Reds(Decode(plain).Image));
}

TEST(Jpeg, DecodesAsTheLibrarysOwnDecoder) {
  const TDecodedImage grey = ReadImageFile(FormatFile("camera.jpg"));
  EXPECT_TRUE(grey.Lossy);
  EXPECT_EQ(Reds(grey.Image), NetpbmSamples("camera_jpg_djpeg.pgm", kPixels));
  for (const char* name : {"coffee.jpg", "coffee_progressive.jpg"}) {
    SCOPED_TRACE(name);
    const std::string reference = std::string(name, std::strlen(name) - 4) + "_djpeg.ppm";
    EXPECT_EQ(Rgbs(ReadImageFile(FormatFile(name)).Image), NetpbmSamples(reference, 3 * kPixels));
  }
}

// BT.601 luma of red, green, blue triples, rounded halves to even.
std::vector<uint8_t> Luma(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> grey;
  for (size_t i = 0; i < rgb.size(); i += 3)
    grey.push_back(
        uint8_t(std::nearbyint((299 * rgb[i] + 587 * rgb[i + 1] + 114 * rgb[i + 2]) / 1000.0)));
  return grey;
}

TEST(Luma, EveryColourFormatGivesTheSameGreyLevels) {
  const std::vector<uint8_t> expected = Luma(NetpbmSamples("coffee.ppm", 3 * kPixels));
  for (const char* file :
       {"coffee.ppm", "coffee.png", "coffee_16.png", "coffee.tif", "coffee_16_tiled.tif"}) {
    SCOPED_TRACE(file);
    const TLoadedImage picture = PictureImage(ReadImageFile(FormatFile(file)));
    ASSERT_FALSE(IsGrey(picture.Image));
    const TImage grey = LumaImage(picture.Image);
    EXPECT_TRUE(IsGrey(grey));
    EXPECT_EQ(Reds(grey), expected);
  }
  const TLoadedImage jpeg = PictureImage(ReadImageFile(FormatFile("coffee_progressive.jpg")));
  EXPECT_EQ(Reds(LumaImage(jpeg.Image)),
            Luma(NetpbmSamples("coffee_progressive_djpeg.ppm", 3 * kPixels)));
}

TEST(Luma, WeightsAndRounding) {
  TImage image(4, 1);
  image.SetPixel(0, 0, RGB(255, 0, 0));     // 76.245
  image.SetPixel(1, 0, RGB(0, 255, 0));     // 149.685
  image.SetPixel(2, 0, RGB(0, 0, 255));     // 29.07
  image.SetPixel(3, 0, RGB(200, 100, 50));  // 59.8 + 58.7 + 5.7 = 124.2
  EXPECT_EQ(Reds(LumaImage(image)), (std::vector<uint8_t>{76, 150, 29, 124}));
}

std::vector<int32_t> LabelsOf(const TImage& image) { return *ColorLabels(image); }

TEST(MapLabels, SixteenBitGreyLevelsAreTheLabels) {
  // Label 250 + 37 k for the k-th colour of the bitmap map, big-endian.
  const std::vector<uint8_t> raw = NetpbmSamples("labels_16.pgm", 2 * kPixels);
  std::vector<int32_t> expected;
  for (size_t i = 0; i < raw.size(); i += 2) expected.push_back(raw[i] << 8 | raw[i + 1]);
  ASSERT_GT(*std::max_element(expected.begin(), expected.end()), 255);
  for (const char* file : {"labels_16.pgm", "labels_16.png", "labels_16.tif"}) {
    SCOPED_TRACE(file);
    const TLoadedImage map = MapImage(ReadImageFile(FormatFile(file)));
    EXPECT_EQ(LabelsOf(map.Image), expected);
    EXPECT_EQ(map.Notes, std::vector<std::string>{"labels are the 16-bit grey levels themselves"});
  }
  // One label for each colour of the bitmap map: nothing merged.
  const std::set<int32_t> distinct(expected.begin(), expected.end());
  const std::vector<int32_t> colours =
      LabelsOf(ReadBmpFile(std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp"));
  EXPECT_EQ(distinct.size(), std::set<int32_t>(colours.begin(), colours.end()).size());
}

TEST(MapLabels, ColourMapsKeepTheirColours) {
  const std::vector<int32_t> bmp =
      LabelsOf(ReadBmpFile(std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp"));
  EXPECT_EQ(LabelsOf(MapImage(ReadImageFile(FormatFile("camera_map.png"))).Image), bmp);
  // An 8-bit grey map gives the bitmap's grey labels: g in every byte.
  const TLoadedImage grey = MapImage(ReadImageFile(FormatFile("camera.png")));
  EXPECT_EQ(LabelsOf(grey.Image)[0], int32_t(BmpLevels()[0]) * 65793);
}

TEST(MapLabels, LossyMapsAreRefused) {
  try {
    MapImage(ReadImageFile(FormatFile("camera_map.jpg")));
    FAIL() << "a JPEG map was accepted";
  } catch (const TImageFileError& e) {
    EXPECT_STREQ(e.what(), "JPEG is a lossy format: its colours are not exact labels");
  }
}

std::vector<uint8_t> Ppm16(std::initializer_list<uint16_t> samples) {
  std::string text = "P6 " + std::to_string(samples.size() / 3) + " 1 65535\n";
  for (uint16_t v : samples) text += {char(v >> 8), char(v & 0xFF)};
  return {text.begin(), text.end()};
}

TEST(MapLabels, WideColoursAreScaledOnlyWhenNoLabelsMerge) {
  const TLoadedImage exact = MapImage(Decode(Ppm16({257, 514, 771, 65535, 0, 257})));
  EXPECT_EQ(LabelsOf(exact.Image),
            (std::vector<int32_t>{int32_t(RGB(1, 2, 3)), int32_t(RGB(255, 0, 1))}));
  EXPECT_THROW(MapImage(Decode(Ppm16({257, 514, 771, 258, 514, 771}))), TImageFileError);
}

TEST(Detection, ContentDecidesNotTheName) {
  char name[] = "/tmp/tvlc_formats_XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  const std::vector<uint8_t> png = Bytes(FormatFile("camera.png"));
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  EXPECT_EQ(ReadImageFile(name).Format, "PNG");
  std::remove(name);

  const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_EQ(DetectImageFormat(gif, sizeof gif), TImageFormat::Unknown);
  EXPECT_THROW(Decode({gif, gif + sizeof gif}), TImageFileError);
  const uint8_t bitmap[] = {'P', '4', '\n'};
  try {
    Decode({bitmap, bitmap + sizeof bitmap});
    FAIL() << "a P4 bitmap was accepted";
  } catch (const TImageFileError& e) {
    EXPECT_STREQ(e.what(), "Not a netpbm grey map or pixmap (P2, P3, P5, P6)");
  }
}

TEST(Probe, ReadsTheSizeOfEveryFormatFromItsHeader) {
  for (const char* file : {"camera.png", "camera.jpg", "coffee_progressive.jpg", "camera.tif",
                           "camera_plain.pgm", "camera_16.pgm", "labels_16.tif"}) {
    SCOPED_TRACE(file);
    const TImageSize size = ProbeImageFile(FormatFile(file));
    EXPECT_EQ(size.Width, kWidth);
    EXPECT_EQ(size.Height, kHeight);
    EXPECT_EQ(size.Format, ReadImageFile(FormatFile(file)).Format);
  }
  const TImageSize bmp =
      ProbeImageFile(std::string(TVLC_TEST_DATA) + "/maps/camera_65x48_felzenszwalb.bmp");
  EXPECT_EQ(bmp.Width, 65);
  EXPECT_EQ(bmp.Height, 48);
}

}  // namespace
}  // namespace tvlc
