// The command-line program under an address-space limit of 1 GB, on inputs
// that unpack to far more than they hold and on a large encode: each run
// ends in a clean refusal or a success, never in an abort or a crash.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/Bmp.h"
#include "support/MemoryBombs.h"

namespace tvlc::testing {
namespace {

constexpr const char* kAddressSpaceKb = "1048576";

struct TRun {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string out;  // stdout and stderr
};

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TImage GreyPicture(int width, int height, uint8_t (*level)(int x, int y)) {
  std::vector<TColor> palette;
  for (int g = 0; g < 256; ++g) palette.push_back(Grey(uint8_t(g)));
  std::vector<uint8_t> indices(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indices[size_t(y) * size_t(width) + size_t(x)] = level(x, y);
  return TImage(width, height, std::move(palette), std::move(indices));
}

class MemoryLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tvlc-limits-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // tvlc-cli with the address-space limit, in the scratch folder.
  TRun RunLimited(const std::string& arguments) const {
    const std::string command = "cd '" + dir_.string() + "' && ulimit -v " + kAddressSpaceKb +
                                " && exec " + TVLC_BIN_DIR + "/tvlc-cli " + arguments + " 2>&1";
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      run.out.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
    return run;
  }

  // A 64-byte run-length bitmap of 65535 x 4096 pixels: 268 MB of indices.
  std::string RleBomb() const {
    WriteBytes(Path("bomb.bmp"), RleBitmap(65535, 4096));
    return Path("bomb.bmp");
  }

  std::filesystem::path dir_;
};

const std::string kPicture = std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp";
const std::string kMap = std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp";

// Refused with a line that says why, or accepted with the expected line.
void ExpectRefusalOrSuccess(const TRun& run, const std::string& refusal,
                            const std::string& success) {
  ASSERT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status << "\n" << run.out;
  const std::string& expected = run.status == 1 ? refusal : success;
  EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
}

TEST_F(MemoryLimits, RunLengthBombAsPicture) {
  const TRun run = RunLimited("shapes " + RleBomb() + " " + kMap);
  ExpectRefusalOrSuccess(run, "Error: not enough memory to load picture", "Shape FC843E");
}

TEST_F(MemoryLimits, RunLengthBombAsMap) {
  const TRun run = RunLimited("shapes " + kPicture + " " + RleBomb());
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("] Error: "), std::string::npos) << run.out;
}

TEST_F(MemoryLimits, RunLengthBombCoveredByRectangles) {
  const TRun run = RunLimited("encode " + RleBomb() + " --rect 4096x4096 --psnr 10");
  ExpectRefusalOrSuccess(run, "Error: not enough memory to generate rectangles", "shapes: 1024");
}

TEST_F(MemoryLimits, CompressedBombOntoSmallWindows) {
  // 2,048 shapes of 162,002 values each, 1.3 GB had they been kept, onto
  // windows of 4 x 4 pixels.
  WriteBytes(Path("bomb.tvzx"), CompressedBomb(2048, 162000));
  TImage map(256, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 256; ++x) map.SetPixel(x, y, TColor(1 + (y / 4) * 64 + x / 4));
  WriteBmpFile(Path("map.bmp"), map);
  const TRun run = RunLimited("decompress bomb.tvzx map.bmp out.bmp");
  ExpectRefusalOrSuccess(run, "Error: not enough memory", ": 161986 values beyond its window ignored");
  if (run.status == 0) EXPECT_TRUE(std::filesystem::exists(Path("out.bmp")));
}

TEST_F(MemoryLimits, EncodeOfAWindowOf2048By2048) {
  WriteBmpFile(Path("ramp.bmp"),
               GreyPicture(2048, 2048, [](int x, int) { return uint8_t(96 + x * 64 / 2048); }));
  const TRun run = RunLimited("encode ramp.bmp --rect 2048x2048 --psnr 30");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("shapes: 1\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tvlc::testing
