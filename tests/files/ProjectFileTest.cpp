#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "files/ProjectFile.h"
#include "model/Bmp.h"

namespace tvlc {
namespace {

TMapData OneLabelMap(int width, int height) {
  return std::make_shared<const std::vector<int32_t>>(size_t(width) * height, 5);
}

std::string RecordBytes(const TShape& shape) {
  std::ostringstream out(std::ios::binary);
  SaveToStream(out, shape);
  return out.str();
}

std::unique_ptr<TShape> ReadRecord(const std::string& bytes) {
  TByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  auto shape = LoadFromStream(in, nullptr, 0, OneLabelMap(8, 8), 8);
  EXPECT_EQ(in.Remaining(), 0u);
  return shape;
}

uint32_t FlagsOf(const std::string& record) {
  uint32_t flags;
  std::memcpy(&flags, record.data() + 24, 4);
  return flags;
}

TEST(ProjectRecord, ExactBytesOfAnEncodedShape) {
  TShape s(0x0A0B0C, nullptr, 0, OneLabelMap(8, 8), 8, 1, 2);
  s.Right = 2;  // box 2 x 1: window 2 x 1
  s.PointCount = 2;
  s.SetNormKind(3);
  s.SetQuality(15);
  s.Iterations = 7;
  s.PSNR = 31.5;
  s.ModuleCode = 1;
  s.TransCode = 2;
  s.Config = {0xAB};
  s.Spectrum.assign(2, 0.0);
  s.Spectrum[0] = 1.0;
  s.Spectrum[1] = -2.0;
  const std::string bytes = RecordBytes(s);
  const uint8_t expected[] = {
      0x0C, 0x0B, 0x0A, 0x00,                          // ID
      1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,  // left, right, top, bottom
      2, 0, 0, 0,                                      // points
      7, 0, 0, 0,                                      // flags: 1 + 2 * kind 3
      15,                                              // quality
      7, 0, 0, 0,                                      // iterations
      0, 0, 0, 0, 0, 0x80, 0x3F, 0x40,                 // 31.5
      1, 0, 0, 0, 2, 0, 0, 0,                          // codes
      1, 0, 0, 0, 0xAB,                                // config
      0, 0, 0, 0, 0, 0, 0xF0, 0x3F,                    // 1.0
      0, 0, 0, 0, 0, 0, 0, 0xC0};                      // -2.0
  ASSERT_EQ(bytes.size(), sizeof expected);
  EXPECT_EQ(std::memcmp(bytes.data(), expected, sizeof expected), 0);

  auto back = ReadRecord(bytes);
  EXPECT_EQ(back->ID, s.ID);
  EXPECT_EQ(back->Left, 1);
  EXPECT_EQ(back->Right, 2);
  EXPECT_EQ(back->Quality, 15);
  EXPECT_DOUBLE_EQ(back->QuantScale, 50.0 / 15);
  EXPECT_EQ(back->NormKind, 3);
  EXPECT_DOUBLE_EQ(back->NormFactor, 8.0 / std::sqrt(2.0));
  EXPECT_EQ(back->Iterations, 7);
  EXPECT_EQ(back->PSNR, 31.5);
  EXPECT_EQ(back->Config, s.Config);
  EXPECT_EQ(back->ConfigSize, 1);
  ASSERT_EQ(back->Spectrum.size(), 2u);
  EXPECT_EQ(back->Spectrum[1], -2.0);
}

TEST(ProjectRecord, NeverEncodedShapeHasNoCoefficients) {
  TShape s(5, nullptr, 0, OneLabelMap(8, 8), 8, 0, 0);
  s.SetNormKind(4);
  const std::string bytes = RecordBytes(s);
  EXPECT_EQ(bytes.size(), 53u);
  EXPECT_EQ(FlagsOf(bytes), 1u + 2u * 4u);
  auto back = ReadRecord(bytes);
  EXPECT_FALSE(back->HasSpectrum());
  EXPECT_EQ(back->NormKind, 4);
  EXPECT_EQ(back->Quality, 0);
}

TEST(ProjectRecord, SpectrumWithoutIterationsReadsBackAsZeros) {
  TShape s(5, nullptr, 0, OneLabelMap(8, 8), 8, 0, 0);
  s.Right = 4;
  s.Bottom = 8;
  s.Spectrum.assign(size_t(s.WindowSize()), 3.0);
  const std::string bytes = RecordBytes(s);
  EXPECT_EQ(bytes.size(), 53u);
  EXPECT_EQ(FlagsOf(bytes), 2u * 2u);
  auto back = ReadRecord(bytes);
  ASSERT_TRUE(back->HasSpectrum());
  EXPECT_EQ(back->Spectrum.size(), 8u * 16u);
  EXPECT_EQ(back->Spectrum[0], 0.0);
}

TEST(ProjectRecord, FiveByNineBoxWithTwelveIterationsCarries1024Bytes) {
  TShape s(5, nullptr, 0, OneLabelMap(8, 8), 8, 0, 0);
  s.Right = 4;
  s.Bottom = 8;
  s.Iterations = 12;
  s.Spectrum.assign(size_t(s.WindowSize()), 1.5);
  EXPECT_EQ(RecordBytes(s).size(), 53u + 1024u);
}

TEST(ProjectRecord, IterationsWithoutSpectrumAreWrittenAsNeverEncoded) {
  TShape s(5, nullptr, 0, OneLabelMap(8, 8), 8, 0, 0);
  s.Iterations = 4;
  const std::string bytes = RecordBytes(s);
  EXPECT_EQ(bytes.size(), 53u);
  EXPECT_EQ(ReadRecord(bytes)->Iterations, 0);
}

TEST(ProjectRecord, InconsistentRecordsAreRefused) {
  TShape s(5, nullptr, 0, OneLabelMap(8, 8), 8, 0, 0);
  s.Iterations = 1;
  s.Spectrum.assign(1, 1.0);
  const std::string good = RecordBytes(s);
  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_THROW(ReadRecord(good.substr(0, cut)), TFormatError) << cut;
  std::string inverted = good;
  inverted[4] = 9;  // Left 9 > Right 0
  EXPECT_THROW(ReadRecord(inverted), TFormatError);
  std::string negativeConfig = good;
  std::memset(negativeConfig.data() + 49, 0xFF, 4);
  EXPECT_THROW(ReadRecord(negativeConfig), TFormatError);
  std::string huge = good;
  const int32_t right = 20000;
  std::memcpy(huge.data() + 8, &right, 4);
  EXPECT_THROW(ReadRecord(huge), TFormatError);
}

TEST(ProjectFile, WholeFileRoundTripAndOldMagic) {
  TImage picture(3, 2, {Grey(0), Grey(200)}, {0, 1, 0, 1, 1, 0});
  TImage map(3, 2, RGB(1, 2, 3));
  TShapeList shapes;
  auto labels = OneLabelMap(3, 2);
  shapes.push_back({"Shape 0A", std::make_unique<TShape>(10, nullptr, 0, labels, 3, 0, 0)});
  std::string bytes = ProjectBytes(picture, map, shapes);
  ASSERT_EQ(bytes.substr(0, 8), "TVLC10\r\n");
  for (const char* magic : {kProjectMagic, kOldProjectMagic}) {
    bytes.replace(0, 8, magic);
    const std::vector<uint8_t> data(bytes.begin(), bytes.end());
    const TProjectContents back = ReadProject(data);
    EXPECT_EQ(back.Picture, picture);
    EXPECT_EQ(back.Picture.Format(), TPixelFormat::Indexed8);
    EXPECT_EQ(back.Map, map);
    EXPECT_EQ((*back.PicData)[1], 200);
    EXPECT_EQ((*back.MapData)[5], int32_t(RGB(1, 2, 3)));
    ASSERT_EQ(back.Shapes.size(), 1u);
    EXPECT_EQ(back.Shapes[0].Name, "Shape 0A");
    EXPECT_EQ(back.Shapes[0].Shape->PicData, back.PicData);
  }
}

TEST(ProjectFile, EveryTruncationIsRefused) {
  TImage picture(4, 4, Grey(7));
  TImage map(4, 4, RGB(9, 9, 9));
  TShapeList shapes;
  auto labels = OneLabelMap(4, 4);
  for (int i = 0; i < 3; ++i) {
    auto s = std::make_unique<TShape>(uint32_t(i), nullptr, 0, labels, 4, 0, 0);
    s->Right = 3;
    s->Iterations = i;
    if (i) s->Spectrum.assign(4, double(i));
    shapes.push_back({"x", std::move(s)});
  }
  const std::string bytes = ProjectBytes(picture, map, shapes);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::vector<uint8_t> data(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut));
    EXPECT_ANY_THROW(ReadProject(data)) << cut;
  }
  const std::vector<uint8_t> whole(bytes.begin(), bytes.end());
  EXPECT_EQ(ReadProject(whole).Shapes.size(), 3u);
}

TEST(ProjectFile, BytesAfterTheLastShapeAreRefused) {
  TImage picture(4, 4, Grey(7));
  TImage map(4, 4, RGB(9, 9, 9));
  auto labels = OneLabelMap(4, 4);
  TShapeList shapes;
  for (int i = 0; i < 2; ++i)
    shapes.push_back({"x", std::make_unique<TShape>(uint32_t(i), nullptr, 0, labels, 4, 0, 0)});
  const std::string bytes = ProjectBytes(picture, map, shapes);
  const size_t countAt = ProjectBytes(picture, map, {}).size() - 4;
  const size_t recordBytes = (bytes.size() - countAt - 4) / 2;

  // A count that leaves the last record unread, as after an edit.
  std::vector<uint8_t> fewer(bytes.begin(), bytes.end());
  fewer[countAt] = 1;
  try {
    ReadProject(fewer);
    FAIL() << "a file with an unread record was accepted";
  } catch (const TFormatError& e) {
    EXPECT_EQ(std::string(e.what()), std::to_string(recordBytes) + " bytes after the last shape");
  }
  std::vector<uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0);
  EXPECT_THROW(ReadProject(longer), TFormatError);
  EXPECT_EQ(ReadProject(std::vector<uint8_t>(bytes.begin(), bytes.end())).Shapes.size(), 2u);
}

}  // namespace
}  // namespace tvlc
