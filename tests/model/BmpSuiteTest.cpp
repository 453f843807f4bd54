// The format suite: good files must decode exactly like their references,
// questionable ones must decode correctly or be refused cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "model/Bmp.h"
#include "model/BmpTestSupport.h"

namespace tvlc {
namespace {

using bmptest::SuiteFile;

struct TReference {
  int width = 0;
  int height = 0;
  uint64_t hash = 0;
};

// 64-bit FNV-1a over red, green, blue of every pixel, rows top to bottom:
// the digest that expected.txt keeps of each reference decode.
uint64_t RgbHash(const TImage& image) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      for (uint8_t byte : {RedOf(c), GreenOf(c), BlueOf(c)}) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
      }
    }
  return hash;
}

const std::map<std::string, TReference>& References() {
  static const std::map<std::string, TReference> references = [] {
    std::map<std::string, TReference> table;
    std::ifstream in(std::string(TVLC_TEST_DATA) + "/bmpsuite/expected.txt");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      std::string name;
      TReference ref;
      fields >> name >> ref.width >> ref.height >> std::hex >> ref.hash;
      table[name] = ref;
    }
    return table;
  }();
  return references;
}

std::string TestName(const testing::TestParamInfo<const char*>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

void ExpectMatchesReference(const std::string& folder, const std::string& name) {
  SCOPED_TRACE(folder + "/" + name);
  const auto ref = References().find(name);
  ASSERT_NE(ref, References().end());
  const TImage image = ReadBmpFile(SuiteFile(folder, name));
  EXPECT_EQ(image.Width(), ref->second.width);
  EXPECT_EQ(image.Height(), ref->second.height);
  EXPECT_EQ(RgbHash(image), ref->second.hash);
}

TEST(BmpSuite, ReferenceTableIsComplete) { EXPECT_EQ(References().size(), 54u); }

class BmpGoodFile : public testing::TestWithParam<const char*> {};

TEST_P(BmpGoodFile, DecodesLikeTheReference) { ExpectMatchesReference("g", GetParam()); }

INSTANTIATE_TEST_SUITE_P(Suite, BmpGoodFile,
                         testing::Values("pal1", "pal1bg", "pal1wb", "pal4", "pal4gs", "pal4rle",
                                         "pal8-0", "pal8", "pal8gs", "pal8nonsquare", "pal8os2",
                                         "pal8rle", "pal8topdown", "pal8v4", "pal8v5", "pal8w124",
                                         "pal8w125", "pal8w126", "rgb16-565", "rgb16-565pal",
                                         "rgb16", "rgb16bfdef", "rgb24", "rgb24pal", "rgb32",
                                         "rgb32bf", "rgb32bfdef"),
                         TestName);

class BmpQuestionableDecoded : public testing::TestWithParam<const char*> {};

TEST_P(BmpQuestionableDecoded, DecodesLikeTheReference) { ExpectMatchesReference("q", GetParam()); }

INSTANTIATE_TEST_SUITE_P(Suite, BmpQuestionableDecoded,
                         testing::Values("pal1p1", "pal2", "pal2color", "pal8offs", "pal8os2-hs",
                                         "pal8os2-sz", "pal8os2sp", "pal8os2v2-16",
                                         "pal8os2v2-40sz", "pal8os2v2-sz", "pal8os2v2",
                                         "pal8oversizepal", "rgb16-231", "rgb16-3103",
                                         "rgb16faketrns", "rgb24largepal", "rgb24lprof",
                                         "rgb24prof", "rgb32-xbgr", "rgb32fakealpha", "rgb32h52"),
                         TestName);

class BmpQuestionableRefused : public testing::TestWithParam<const char*> {};

TEST_P(BmpQuestionableRefused, IsRefused) {
  EXPECT_THROW(ReadBmpFile(SuiteFile("q", GetParam())), TBmpError);
}

// Huffman 1D, embedded JPEG and PNG, RLE24 and 64 bits a pixel.
INSTANTIATE_TEST_SUITE_P(Suite, BmpQuestionableRefused,
                         testing::Values("pal1huffmsb", "rgb24jpeg", "rgb24png", "rgb24rle24",
                                         "rgba64"),
                         TestName);

class BmpQuestionableWithAlpha : public testing::TestWithParam<const char*> {};

// No reference without transparency exists; the colours must still read.
TEST_P(BmpQuestionableWithAlpha, ReadsAsColourImage) {
  const TImage image = ReadBmpFile(SuiteFile("q", GetParam()));
  EXPECT_EQ(image.Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(image.Width(), 127);
  EXPECT_EQ(image.Height(), 64);
}

INSTANTIATE_TEST_SUITE_P(Suite, BmpQuestionableWithAlpha,
                         testing::Values("rgba16-1924", "rgba16-4444", "rgba16-5551", "rgba32-1",
                                         "rgba32-1010102", "rgba32-2", "rgba32-61754",
                                         "rgba32-81284", "rgba32abf", "rgba32h56"),
                         TestName);

// The reference applies the file's colour profile, which swaps red and green
// back; the reader ignores profiles, so its colours are the stored ones.
TEST(BmpSuite, ProfileIsIgnored) {
  TImage image = ReadBmpFile(SuiteFile("q", "rgb24prof2"));
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      image.SetPixel(x, y, RGB(GreenOf(c), RedOf(c), BlueOf(c)));
    }
  const TReference& ref = References().at("rgb24prof2");
  EXPECT_EQ(RgbHash(image), ref.hash);
}

// Their references come from a finer source than the stored channels, so
// no scaling reproduces them exactly; they are the 8-bit picture of
// g/rgb32.bmp, which decodes exactly.
TEST(BmpSuite, WideChannelsScaleToWithinOneLevel) {
  const TImage eightBit = ReadBmpFile(SuiteFile("g", "rgb32"));
  for (const char* name : {"rgb32-111110", "rgb32-7187"}) {
    SCOPED_TRACE(name);
    const TImage wide = ReadBmpFile(SuiteFile("q", name));
    ASSERT_EQ(wide.Width(), eightBit.Width());
    ASSERT_EQ(wide.Height(), eightBit.Height());
    int largest = 0;
    for (int y = 0; y < wide.Height(); ++y)
      for (int x = 0; x < wide.Width(); ++x)
        for (int shift : {0, 8, 16}) {
          const int a = int(wide.Pixel(x, y) >> shift & 0xFF);
          const int b = int(eightBit.Pixel(x, y) >> shift & 0xFF);
          largest = std::max(largest, std::abs(a - b));
        }
    EXPECT_LE(largest, 1);
  }
}

// Codes that skip pixels or end early leave them undefined: index 0, which
// these files give a marker colour. Everything else is the complete picture.
TEST(BmpSuite, PixelsLeftOutByRleCodesAreIndexZero) {
  const std::pair<const char*, const char*> cases[] = {{"pal8rlecut", "pal8rle"},
                                                       {"pal8rletrns", "pal8rle"},
                                                       {"pal4rlecut", "pal4rle"},
                                                       {"pal4rletrns", "pal4rle"}};
  for (const auto& [cut, complete] : cases) {
    SCOPED_TRACE(cut);
    const TImage partial = ReadBmpFile(SuiteFile("q", cut));
    const TImage full = ReadBmpFile(SuiteFile("g", complete));
    ASSERT_EQ(partial.Format(), TPixelFormat::Indexed8);
    ASSERT_EQ(partial.Width(), full.Width());
    ASSERT_EQ(partial.Height(), full.Height());
    int undefined = 0;
    for (int y = 0; y < partial.Height(); ++y)
      for (int x = 0; x < partial.Width(); ++x) {
        if (partial.Index(x, y) == 0) {
          ++undefined;
          continue;
        }
        ASSERT_EQ(partial.Pixel(x, y), full.Pixel(x, y)) << x << "," << y;
      }
    EXPECT_GT(undefined, 0);
  }
}

TEST(BmpSuite, IndexedFilesKeepTheirColourTable) {
  const TImage image = ReadBmpFile(SuiteFile("g", "pal8"));
  ASSERT_EQ(image.Format(), TPixelFormat::Indexed8);
  EXPECT_EQ(image.Palette().size(), 252u);
  const std::vector<uint8_t> bytes = bmptest::FileBytes(SuiteFile("g", "pal8"));
  for (size_t i = 0; i < image.Palette().size(); ++i) {
    const size_t entry = bmptest::kInfoEnd + 4 * i;
    EXPECT_EQ(image.Palette()[i], RGB(bytes[entry + 2], bytes[entry + 1], bytes[entry]));
  }
}

// 300 entries are stored; an 8-bit index reaches only the first 256.
TEST(BmpSuite, OversizedColourTableIsCutToWhatIndicesReach) {
  const TImage image = ReadBmpFile(SuiteFile("q", "pal8oversizepal"));
  EXPECT_EQ(image.Palette().size(), 256u);
}

}  // namespace
}  // namespace tvlc
