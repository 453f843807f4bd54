#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "model/Bmp.h"
#include "model/PictureArrays.h"
#include "study/StandardCodecs.h"
#include "study/StandardSweep.h"

namespace tvlc {
namespace {

struct TGrey {
  std::vector<uint8_t> Levels;
  int Width, Height;
};

TGrey Camera() {
  const TImage picture = ReadBmpFile(std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp");
  return {*RedLevels(picture), picture.Width(), picture.Height()};
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class StandardCodecs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tvlc-jpeg-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

// The reference tools of the same library (cjpeg, djpeg) on the same
// picture: the same file size (the header's density fields included, both
// keep the defaults) and the same decoded pixels.
TEST_F(StandardCodecs, JpegAgreesWithTheLibrarysOwnTools) {
  const TGrey camera = Camera();
  const std::filesystem::path pgm = dir_ / "camera.pgm";
  {
    std::ofstream out(pgm, std::ios::binary);
    out << "P5\n" << camera.Width << " " << camera.Height << "\n255\n";
    out.write(reinterpret_cast<const char*>(camera.Levels.data()), std::streamsize(camera.Levels.size()));
  }
  for (int quality : {5, 50, 95}) {
    const TCodedPicture coded = CodeJpeg(camera.Levels, camera.Width, camera.Height, quality);
    ASSERT_TRUE(coded.Error.empty()) << coded.Error;
    const std::filesystem::path jpg = dir_ / "ref.jpg", decoded = dir_ / "ref.pgm";
    const std::string cjpeg = "cjpeg -quality " + std::to_string(quality) +
                              " -optimize -grayscale '" + pgm.string() + "' > '" + jpg.string() + "'";
    ASSERT_EQ(std::system(cjpeg.c_str()), 0) << "cjpeg (libjpeg-turbo-progs) is needed";
    EXPECT_EQ(coded.Bytes.size(), std::filesystem::file_size(jpg)) << quality;
    const std::string djpeg = "djpeg -pnm '" + jpg.string() + "' > '" + decoded.string() + "'";
    ASSERT_EQ(std::system(djpeg.c_str()), 0);
    const std::string pnm = ReadBytes(decoded);
    const std::string header = "P5\n64 48\n255\n";
    ASSERT_EQ(pnm.substr(0, header.size()), header);
    EXPECT_EQ(pnm.substr(header.size()),
              std::string(coded.Decoded.begin(), coded.Decoded.end())) << quality;
  }
}

TEST_F(StandardCodecs, Jpeg2000KeepsToItsSizeAndDecodes) {
  const TGrey camera = Camera();
  const TCodedPicture small = CodeJpeg2000(camera.Levels, camera.Width, camera.Height, 300);
  const TCodedPicture large = CodeJpeg2000(camera.Levels, camera.Width, camera.Height, 1200);
  ASSERT_TRUE(small.Error.empty() && large.Error.empty());
  EXPECT_LE(small.Bytes.size(), 300u) << small.Bytes.size();
  EXPECT_LE(large.Bytes.size(), 1200u);
  EXPECT_GE(large.Bytes.size(), 1100u);  // close to the size asked for
  // A bare codestream: start-of-codestream marker first, end marker last.
  EXPECT_EQ(small.Bytes[0], 0xFF);
  EXPECT_EQ(small.Bytes[1], 0x4F);
  EXPECT_EQ(small.Bytes[small.Bytes.size() - 2], 0xFF);
  EXPECT_EQ(small.Bytes.back(), 0xD9);
  ASSERT_EQ(large.Decoded.size(), camera.Levels.size());
}

TEST_F(StandardCodecs, SweepRowsFollowTheQualitiesAndTheirSizes) {
  const TGrey camera = Camera();
  std::string error;
  const std::vector<TRdRow> rows = RunStandardSweep(camera.Levels, camera.Width, camera.Height, error);
  ASSERT_TRUE(error.empty()) << error;
  const size_t n = StandardJpegQualities().size();
  ASSERT_EQ(rows.size(), 2 * n);
  for (size_t i = 0; i < n; ++i) {
    EXPECT_EQ(rows[i].Codec, "jpeg");
    EXPECT_EQ(rows[i].Quality, int(5 * (i + 1)));
    EXPECT_EQ(rows[n + i].Codec, "jpeg2000");
    EXPECT_LE(rows[n + i].TextureBytes, rows[i].TextureBytes);
    EXPECT_DOUBLE_EQ(rows[i].Bpp, double(rows[i].TextureBytes) * 8.0 / (64 * 48));
    if (i > 0) {
      EXPECT_GT(*rows[i].Psnr, *rows[i - 1].Psnr);
    }
  }
}

}  // namespace
}  // namespace tvlc
