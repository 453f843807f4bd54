#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "RunCli.h"
#include "files/CompressedFile.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

const std::string kPicture = Data("pictures/camera_64x48.bmp");
const std::string kMap = Data("maps/camera_64x48_felzenszwalb.bmp");

using CliFiles = CliScratchTest;

TEST_F(CliFiles, CompressThenDecompressGivesTheSameDecodedPicture) {
  const TCliRun compressed =
      Run("compress " + kPicture + " " + kMap + " " + Path("c.tvzx") + " --psnr 30 --quality 50");
  ASSERT_EQ(compressed.status, 0) << compressed.out;
  const uintmax_t bytes = std::filesystem::file_size(Path("c.tvzx"));
  EXPECT_EQ(ValueAfterLabel(compressed.out, "file size [bytes]: "), std::to_string(bytes));
  const double bpp = std::stod(ValueAfterLabel(compressed.out, "bits per pixel: "));
  EXPECT_NEAR(bpp, double(bytes) * 8 / (64 * 48), 1e-4);
  EXPECT_NE(ValueAfterLabel(compressed.out, "decoded picture PSNR [dB]: "), "Not available");

  ASSERT_EQ(Run("encode " + kPicture + " " + kMap + " --psnr 30 --quality 50 --out " +
                Path("direct.bmp")).status,
            0);
  const TCliRun decompressed =
      Run("decompress " + Path("c.tvzx") + " " + kMap + " " + Path("d.bmp"));
  ASSERT_EQ(decompressed.status, 0) << decompressed.out;
  EXPECT_EQ(ReadBmpFile(Path("d.bmp")), ReadBmpFile(Path("direct.bmp")));
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The output without the lines of the clock.
std::string WithoutTimes(const std::string& text) {
  std::string kept;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find("wall time") == std::string::npos &&
        line.find("pixels per second") == std::string::npos)
      kept += line + "\n";
  return kept;
}

TEST_F(CliFiles, EveryThreadCountWritesTheSameFilesAndLines) {
  std::string output, compressed, decoded, decompressed;
  for (const std::string threads : {"1", "2", "7"}) {
    SCOPED_TRACE(threads + " threads");
    const TCliRun run = Run("compress " + kPicture + " " + kMap + " " + Path("c.tvzx") +
                            " --psnr 33 --quality 30 --threads " + threads);
    ASSERT_EQ(run.status, 0) << run.out;
    ASSERT_EQ(Run("encode " + kPicture + " " + kMap + " --psnr 33 --csv --out " +
                  Path("e.bmp") + " --threads " + threads)
                  .status,
              0);
    ASSERT_EQ(Run("decompress " + Path("c.tvzx") + " " + kMap + " " + Path("d.bmp") +
                  " --threads " + threads)
                  .status,
              0);
    if (threads == "1") {
      output = WithoutTimes(run.out);
      compressed = FileBytes(Path("c.tvzx"));
      decoded = FileBytes(Path("e.bmp"));
      decompressed = FileBytes(Path("d.bmp"));
      continue;
    }
    EXPECT_EQ(WithoutTimes(run.out), output);
    EXPECT_TRUE(FileBytes(Path("c.tvzx")) == compressed);
    EXPECT_TRUE(FileBytes(Path("e.bmp")) == decoded);
    EXPECT_TRUE(FileBytes(Path("d.bmp")) == decompressed);
  }
  EXPECT_GT(compressed.size(), 0u);
  EXPECT_EQ(Run("encode " + kPicture + " " + kMap + " --psnr 30 --threads 0").status, 2);
  EXPECT_EQ(Run("encode " + kPicture + " " + kMap + " --psnr 30 --threads many").status, 2);
}

TEST_F(CliFiles, SavedProjectIsListedByInfo) {
  ASSERT_EQ(Run("encode " + kPicture + " " + kMap +
                " --psnr 28 --quality 20 --norm Orthogonal --save-project " + Path("p.tvp"))
                .status,
            0);
  const TCliRun info = Run("info " + Path("p.tvp"));
  ASSERT_EQ(info.status, 0);
  EXPECT_NE(info.out.find("] 22 shapes loaded.\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Shape AA04FF           1      2"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("       20  Orthogonal\n"), std::string::npos);
  EXPECT_EQ(Run("info " + Path("missing.tvp")).status, 1);
}

TEST_F(CliFiles, RectangleMapAndStatistics) {
  const TCliRun run = Run("stats " + kPicture + " --rect 16x16 --psnr 30");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("Picture size: 64x48\nPixels in picture: 3072\n"
                         "Pixels in shape windows: 3072\t (Slack: 0.00%)\n"
                         "Total pixels processed: 3072\t (Slack: 0.00%)\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Global PSNR [dB]: "), std::string::npos);
  const TCliRun encoded = Run("encode " + kPicture + " --rect 32x32 --psnr 25 --csv");
  ASSERT_EQ(encoded.status, 0);
  // Two columns and two rows, the second row cut off by the picture's edge.
  EXPECT_NE(encoded.out.find("\nShape 3,1,2,"), std::string::npos) << encoded.out;
  EXPECT_NE(encoded.out.find("# shapes: 4\n"), std::string::npos);
  EXPECT_EQ(Run("encode " + kPicture + " --rect 0x8 --psnr 25").status, 2);
}

// The PSNR of a decoded picture against the original over every pixel, as
// direct sums.
double PicturePsnr(const TImage& original, const TImage& decoded) {
  double sse = 0.0;
  for (int y = 0; y < original.Height(); ++y)
    for (int x = 0; x < original.Width(); ++x) {
      const double d = double(RedOf(original.Pixel(x, y))) - double(RedOf(decoded.Pixel(x, y)));
      sse += d * d;
    }
  return 10.0 * std::log10(double(original.Width()) * original.Height() * 65025.0 / sse);
}

TEST_F(CliFiles, CompressWithoutQuantizationPrintsThePsnrTheFileGives) {
  // The file holds rounded coefficients even at quality 0.
  const TCliRun compressed =
      Run("compress " + kPicture + " " + kMap + " " + Path("c.tvzx") + " --psnr 30 --quality 0");
  ASSERT_EQ(compressed.status, 0) << compressed.out;
  ASSERT_EQ(Run("decompress " + Path("c.tvzx") + " " + kMap + " " + Path("d.bmp")).status, 0);
  const double fromFile = PicturePsnr(ReadBmpFile(kPicture), ReadBmpFile(Path("d.bmp")));
  char expected[32];
  std::snprintf(expected, sizeof expected, "%.2f", fromFile);
  EXPECT_EQ(ValueAfterLabel(compressed.out, "decoded picture PSNR [dB]: "), expected);

  const TCliRun encoded = Run("encode " + kPicture + " " + kMap + " --psnr 30 --quality 0 --csv");
  ASSERT_EQ(encoded.status, 0);
  EXPECT_NE(ValueAfterLabel(encoded.out, "# decoded picture PSNR [dB]: "), expected)
      << "rounding made no difference, so this test proves nothing";
}

TEST_F(CliFiles, DecompressReportsEveryShapeItCannotDecodeAndFails) {
  // 22 shapes of a transformation no module offers.
  const TCompressedWriteResult written =
      WriteCompressedPicture(std::vector<TCompressedShape>(22, {1, 99, 0, 2, {3, -1}}));
  ASSERT_EQ(written.Error, "");
  {
    std::ofstream out(Path("x.tvzx"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(written.Bytes.data()),
              std::streamsize(written.Bytes.size()));
  }
  const TCliRun run =
      RunCli("decompress " + Path("x.tvzx") + " " + kMap + " " + Path("d.bmp"), true);
  EXPECT_EQ(run.status, 1) << run.out;
  size_t reported = 0;
  for (size_t at = run.out.find("Unable to decode shape Shape "); at != std::string::npos;
       at = run.out.find("Unable to decode shape Shape ", at + 1))
    ++reported;
  EXPECT_EQ(reported, 22u) << run.out;
  EXPECT_FALSE(std::filesystem::exists(Path("d.bmp")));
}

}  // namespace
}  // namespace tvlc::testing
