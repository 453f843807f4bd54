#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/CommaLocale.h"
#include "base/NumberText.h"
#include "files/SpectrumFiles.h"
#include "model/Bmp.h"

namespace tvlc {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SpectrumNumberText, TwentyThreeCharactersWithFourExponentDigits) {
  EXPECT_EQ(SpectrumNumberText(0.0), " 0.00000000000000E+0000");
  EXPECT_EQ(SpectrumNumberText(1.0), " 1.00000000000000E+0000");
  EXPECT_EQ(SpectrumNumberText(-1234.5), "-1.23450000000000E+0003");
  EXPECT_EQ(SpectrumNumberText(0.000123), " 1.23000000000000E-0004");
  EXPECT_EQ(SpectrumNumberText(1e-300), " 1.00000000000000E-0300");
  EXPECT_EQ(SpectrumNumberText(-0.0), " 0.00000000000000E+0000");
  for (double v : {3.14159, -2.5e17, 7e-9, 123456789.0})
    EXPECT_EQ(SpectrumNumberText(v).size(), 23u) << v;
}

TEST(SpectrumText, RowsSeparatedByCommasEndedByCrLf) {
  TShapeData s(4);
  s[0] = 1.0;
  s[1] = -2.0;
  s[2] = 0.5;
  s[3] = 0.0;
  EXPECT_EQ(SpectrumText(s, 2, 2),
            " 1.00000000000000E+0000,-2.00000000000000E+0000\r\n"
            " 5.00000000000000E-0001, 0.00000000000000E+0000\r\n");
}

TEST(RenderSpectrum, LogMagnitudeScaledToTheLargest) {
  TShapeData s(4);
  s[0] = -1000.0;  // the largest: white
  s[1] = 1.0;      // three decades below: half way
  s[2] = 1e-7;     // more than six decades below: black
  s[3] = 0.0;
  const TImage image = RenderSpectrum(s, 2, 2);
  EXPECT_EQ(image.Pixel(0, 0), kWhite);
  EXPECT_EQ(image.Pixel(1, 0), SpectrumScaleColor(0.5));
  EXPECT_EQ(image.Pixel(0, 1), kBlack);
  EXPECT_EQ(image.Pixel(1, 1), kBlack);
  EXPECT_EQ(SpectrumScaleColor(0.0), kBlack);
  EXPECT_EQ(SpectrumScaleColor(1.0), kWhite);
  // The scale gets brighter all the way up.
  int last = -1;
  for (int i = 0; i <= 20; ++i) {
    const TColor c = SpectrumScaleColor(i / 20.0);
    const int brightness = RedOf(c) + GreenOf(c) + BlueOf(c);
    EXPECT_GT(brightness, last) << i;
    last = brightness;
  }
}

class SpectrumFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("tvlc-spectrum-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path previous_, dir_;
};

TEST_F(SpectrumFilesTest, OnePixelWindowGivesOneNumberOnOneLine) {
  TShape shape(1, nullptr, 0, nullptr, 0, 0, 0);
  shape.Spectrum.assign(1, 42.0);
  TImage view;
  SaveSpectrumFiles(shape, view, "Shape 01");
  EXPECT_EQ(ReadText("SPECTRUM_TXT_Shape 01.TXT"), " 4.20000000000000E+0001\r\n");
  const TImage bitmap = ReadBmpFile("SPECTRUM_IMG_Shape 01.BMP");
  EXPECT_EQ(bitmap.Width(), 1);
  EXPECT_EQ(bitmap, view);
  EXPECT_EQ(view.Pixel(0, 0), kWhite);
}

TEST_F(SpectrumFilesTest, ShapeWithoutSpectrumPaintsBlackAndWritesNothing) {
  TShape shape(1, nullptr, 0, nullptr, 0, 0, 0);
  shape.Right = 2;  // window 4 x 1
  TImage view(4, 1, kWhite);
  SaveSpectrumFiles(shape, view, "S");
  EXPECT_EQ(view, TImage(4, 1, kBlack));
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(SpectrumFilesTest, NumbersKeepTheirPointUnderADecimalCommaLocale) {
  TShape shape(1, nullptr, 0, nullptr, 0, 0, 0);
  shape.Right = 3;
  shape.Bottom = 2;
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  ASSERT_GT(width, 1);
  ASSERT_GT(height, 1);
  shape.Spectrum = TShapeData(size_t(width) * height);
  for (size_t k = 0; k < shape.Spectrum.size(); ++k)
    shape.Spectrum[k] =
        (k % 2 ? -1.0 : 1.0) * 2228.57142857143 / double(k + 1) * std::pow(10.0, double(k) - 3);

  testing::TCommaLocale comma;
  ASSERT_COMMA_LOCALE();
  EXPECT_EQ(SpectrumNumberText(-2228.57142857143), "-2.22857142857143E+0003");
  TImage view;
  SaveSpectrumFiles(shape, view, "Shape 02");

  // Every line splits into exactly one field per coefficient, and each field
  // reads back as its coefficient to the 15 digits written.
  const std::string text = ReadText("SPECTRUM_TXT_Shape 02.TXT");
  size_t start = 0, k = 0;
  for (int v = 0; v < height; ++v) {
    const size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    size_t fieldStart = 0;
    for (int u = 0; u < width; ++u, ++k) {
      const size_t separator = line.find(',', fieldStart);
      ASSERT_EQ(separator == std::string::npos, u == width - 1) << line;
      const std::string field = line.substr(fieldStart, separator - fieldStart);
      fieldStart = separator + 1;
      ASSERT_EQ(field.size(), 23u) << field;
      const std::optional<double> value =
          ParseNumberText(field[0] == ' ' ? field.substr(1) : field);
      ASSERT_TRUE(value.has_value()) << field;
      EXPECT_NEAR(*value, shape.Spectrum[k], std::fabs(shape.Spectrum[k]) * 1e-14) << field;
    }
  }
  EXPECT_EQ(start, text.size());
}

}  // namespace
}  // namespace tvlc
