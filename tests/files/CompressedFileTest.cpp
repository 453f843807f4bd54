#include "files/CompressedFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/ArithCoder.h"
#include "files/SymbolTableIO.h"
#include "support/MemoryBombs.h"

namespace tvlc {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(const std::string& text, const Bytes& bytes) {
  Bytes out(text.begin(), text.end());
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

TCompressedWriteResult Write(const std::vector<TCompressedShape>& shapes) {
  return WriteCompressedPicture(shapes);
}

TCompressedReadResult Read(const Bytes& bytes) {
  return ReadCompressedPicture(bytes.data(), bytes.size());
}

// Onto a map of shapeLimit shapes whose windows take every value.
TCompressedReadResult Read(const Bytes& bytes, size_t shapeLimit) {
  return ReadCompressedPicture(bytes.data(), bytes.size(),
                               std::vector<size_t>(shapeLimit, SIZE_MAX));
}

void ExpectSameShapes(const std::vector<TCompressedShape>& actual,
                      const std::vector<TCompressedShape>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].ModuleCode, expected[i].ModuleCode) << i;
    EXPECT_EQ(actual[i].TransCode, expected[i].TransCode) << i;
    EXPECT_EQ(actual[i].Quality, expected[i].Quality) << i;
    EXPECT_EQ(actual[i].NormKind, expected[i].NormKind) << i;
    EXPECT_EQ(actual[i].Values, expected[i].Values) << i;
  }
}

void ExpectRoundTrip(const std::vector<TCompressedShape>& shapes) {
  const TCompressedWriteResult written = Write(shapes);
  ASSERT_EQ(written.Error, "");
  const TCompressedReadResult read = Read(written.Bytes);
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ExpectSameShapes(read.Shapes, shapes);
}

// A file whose symbol stream is given symbol by symbol (nullopt is an
// end-of-shape), for streams that the writer would never produce.
using Symbol = std::optional<int32_t>;
constexpr Symbol kEnd = std::nullopt;

Bytes RawFile(const std::string& head, const std::vector<Symbol>& symbols) {
  TSymbolTable table;
  std::vector<int32_t> identities;
  for (const Symbol& symbol : symbols)
    identities.push_back(symbol ? table.CountSymbol(*symbol) : table.CountEndOfShape());
  table.BuildCumulative();
  Bytes out(head.begin(), head.end());
  EXPECT_EQ(WriteSymbolTable(table, out, nullptr), "");
  TArithEncoder encoder(table, out);
  for (int32_t identity : identities) encoder.EncodeSymbol(size_t(table.PositionOf(identity)));
  encoder.FinishEncoding();
  return out;
}

const std::string kSharedHead = std::string("TVLZ11\x01\x01\0\0\0\x02\0\0\0\0\x02", 17);

// 1, 2, 3, 1, 2, 3, ...: long lists whose counts still fit the table.
TSpecData Cycling(size_t count) {
  TSpecData values(count);
  for (size_t i = 0; i < count; ++i) values[i] = int32_t(i % 3) + 1;
  return values;
}

std::vector<Symbol> Symbols(const TSpecData& values) {
  return std::vector<Symbol>(values.begin(), values.end());
}

std::vector<Symbol> Join(std::initializer_list<std::vector<Symbol>> parts) {
  std::vector<Symbol> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// ---------------------------------------------------------------------------
// Documented files

TEST(CompressedFile, DocumentedAllZeroShape) {
  const std::vector<TCompressedShape> shapes{{1, 2, 0, 2, {}}};
  const TCompressedWriteResult written = Write(shapes);
  ASSERT_EQ(written.Error, "");
  EXPECT_EQ(written.Bytes, Concat("TVLZ11", {0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                             0x00, 0x02, 0x02, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00,
                                             0x00, 0x00, 0x00, 0x00, 0x00, 0x80}));
  ExpectRoundTrip(shapes);
}

TEST(CompressedFile, DocumentedShapeWithThreeValues) {
  const std::vector<TCompressedShape> shapes{{1, 2, 0, 2, {5, 0, -3}}};
  const TCompressedWriteResult written = Write(shapes);
  ASSERT_EQ(written.Error, "");
  EXPECT_EQ(written.Bytes,
            Concat("TVLZ11", {0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
                              0x02, 0x04, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00,
                              0xFD, 0x01, 0x08, 0x01, 0x00, 0x00, 0x50, 0xED}));
  ExpectRoundTrip(shapes);
}

// ---------------------------------------------------------------------------
// Short forms

TEST(SymbolTableIO, ShortDifferenceForm) {
  const std::vector<std::pair<int32_t, Bytes>> cases{
      {0, {0x00}},           {-1, {0xFF}},
      {126, {0x7E}},         {127, {0x7F, 0x00, 0x00}},
      {-127, {0x81}},        {-128, {0x80, 0x00, 0x00}},
      {-300, {0x80, 0xAC, 0x00}}, {65662, {0x7F, 0xFF, 0xFF}},
      {-65663, {0x80, 0xFF, 0xFF}}};
  for (const auto& [difference, bytes] : cases) {
    Bytes out;
    ASSERT_TRUE(PutShortDifference(out, difference)) << difference;
    EXPECT_EQ(out, bytes) << difference;
    TByteReader in(out);
    EXPECT_EQ(ReadShortDifference(in), difference);
    EXPECT_EQ(in.Remaining(), 0u);
  }
  for (int64_t difference : {int64_t(65663), int64_t(-65664), int64_t(1) << 32}) {
    Bytes out{0x55};
    EXPECT_FALSE(PutShortDifference(out, difference)) << difference;
    EXPECT_EQ(out, Bytes{0x55});
  }
}

TEST(SymbolTableIO, ShortCountForm) {
  const std::vector<std::pair<int64_t, Bytes>> cases{{0, {0x00}},
                                                     {254, {0xFE}},
                                                     {255, {0xFF, 0x00, 0x00}},
                                                     {256, {0xFF, 0x01, 0x00}},
                                                     {65535, {0xFF, 0x00, 0xFF}}};
  for (const auto& [count, bytes] : cases) {
    Bytes out;
    ASSERT_TRUE(PutShortCount(out, count)) << count;
    EXPECT_EQ(out, bytes) << count;
    TByteReader in(out);
    EXPECT_EQ(ReadShortCount(in), count);
    EXPECT_EQ(in.Remaining(), 0u);
  }
  for (int64_t count : {int64_t(65536), int64_t(-1)}) {
    Bytes out;
    EXPECT_FALSE(PutShortCount(out, count)) << count;
    EXPECT_TRUE(out.empty());
  }
}

TEST(SymbolTableIO, CutShortFormsAreNotRead) {
  for (const Bytes& bytes : {Bytes{}, Bytes{0x7F}, Bytes{0x7F, 0x00}, Bytes{0x80, 0x01}}) {
    TByteReader in(bytes);
    EXPECT_THROW(ReadShortDifference(in), TFormatError);
  }
  for (const Bytes& bytes : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0x00}}) {
    TByteReader in(bytes);
    EXPECT_THROW(ReadShortCount(in), TFormatError);
  }
}

TEST(SymbolTableIO, RefusesATotalBeyondTheCodersPrecision) {
  for (int32_t zeros : {(1 << 30) - 1, 1 << 30}) {
    TSymbolTable table;
    table.SetFrequency(0, 1);
    table.SetFrequency(1, zeros);
    table.BuildCumulative();
    Bytes out;
    EXPECT_EQ(WriteSymbolTable(table, out, nullptr),
              zeros < (1 << 30) ? ""
                                : "Internal codec error. Cannot write symbol table for arithmetic "
                                  "codec. Total symbol count exceeds coder precision");
  }
}

TEST(CompressedFile, TableEntriesInTheirShortForms) {
  // 255 ones and 254 twos after 300 zeros: the zero count takes 4 bytes,
  // the end-of-shape count 1, and the two counts 3 and 1.
  TCompressedShape shape{1, 2, 0, 2, {}};
  shape.Values.assign(300, 0);
  shape.Values.insert(shape.Values.end(), 255, 1);
  shape.Values.insert(shape.Values.end(), 254, 2);
  const TCompressedWriteResult written = Write({shape});
  ASSERT_EQ(written.Error, "");
  const Bytes table(written.Bytes.begin() + 17, written.Bytes.begin() + 17 + 4 + 1 + 4 + 4 + 2);
  EXPECT_EQ(table, (Bytes{0x04, 0x00, 0x00, 0x00, 0x02, 0x2D, 0x01, 0x00, 0x00, 0x01, 0xFF, 0x00,
                          0x00, 0x01, 0xFE}));
  ExpectRoundTrip({shape});
}

// ---------------------------------------------------------------------------
// Writing

TEST(CompressedFile, RefusesAValueDifferenceWithoutShortForm) {
  for (const TSpecData& values : {TSpecData{1, 65664}, TSpecData{-65664}, TSpecData{INT32_MIN, 5}}) {
    const TCompressedWriteResult written = Write({{1, 2, 0, 2, values}});
    EXPECT_EQ(written.Error,
              "Internal codec error. Cannot write symbol table for arithmetic codec. Number "
              "can't fit to reserved bits");
    EXPECT_TRUE(written.Bytes.empty());
  }
  ExpectRoundTrip({{1, 2, 0, 2, {1, 65663}}});
  ExpectRoundTrip({{1, 2, 0, 2, {-65663, -1}}});  // differences -65663 and 65662
}

TEST(CompressedFile, RefusesACountWithoutShortForm) {
  const char* const message =
      "Internal codec error. Cannot write symbol table for arithmetic codec. Symbol count can't "
      "fit to reserved bits";
  EXPECT_EQ(Write({{1, 2, 0, 2, TSpecData(65536, 7)}}).Error, message);
  ExpectRoundTrip({{1, 2, 0, 2, TSpecData(65535, 7)}});

  // The end-of-shape entry counts the shapes and the trailer.
  EXPECT_EQ(Write(std::vector<TCompressedShape>(65535, {1, 2, 0, 2, {}})).Error, message);
  ExpectRoundTrip(std::vector<TCompressedShape>(65534, {1, 2, 0, 2, {}}));

  // The zero entry has four bytes for its count.
  TSpecData zeros(70000, 0);
  zeros.push_back(3);
  ExpectRoundTrip({{1, 2, 0, 2, zeros}});
}

TEST(CompressedFile, RefusesAShapeTooLongToBeReadBack) {
  const TCompressedWriteResult tooLong = Write({{1, 2, 0, 2, Cycling(162500)}});
  EXPECT_EQ(tooLong.Error, kShapeTooLongMessage);
  EXPECT_TRUE(tooLong.Bytes.empty());
  ExpectRoundTrip({{1, 2, 0, 2, Cycling(162499)}});

  // With parameters per shape the four header values count too.
  EXPECT_EQ(Write({{1, 2, 0, 2, Cycling(162496)}, {1, 3, 0, 2, {}}}).Error, kShapeTooLongMessage);
  ExpectRoundTrip({{1, 2, 0, 2, Cycling(162495)}, {1, 3, 0, 2, {}}});
}

TEST(CompressedFile, EndOfShapeCountIsShapesPlusOne) {
  for (size_t shapeCount : {1u, 5u, 300u}) {
    const TCompressedWriteResult written =
        Write(std::vector<TCompressedShape>(shapeCount, {1, 2, 30, 0, {4, -1}}));
    ASSERT_EQ(written.Error, "");
    EXPECT_EQ(written.Bytes[6], 1);
    EXPECT_EQ(written.Bytes[17], 4);  // N: end-of-shape, zero, -1 and 4
    TByteReader in(written.Bytes.data() + 21, written.Bytes.size() - 21);
    EXPECT_EQ(ReadShortCount(in), shapeCount + 1);
    EXPECT_EQ(in.Read<uint32_t>(), 1u);  // the zero count: the trailer's
  }
}

TEST(CompressedFile, ParametersAreSharedOnlyWhenAllFourAgree) {
  const TCompressedShape first{1, 2, 30, 2, {3}};
  EXPECT_EQ(Write({first, first, first}).Bytes[6], 1);
  for (TCompressedShape other : {TCompressedShape{2, 2, 30, 2, {3}}, TCompressedShape{1, 3, 30, 2, {3}},
                                 TCompressedShape{1, 2, 31, 2, {3}}, TCompressedShape{1, 2, 30, 4, {3}}}) {
    const std::vector<TCompressedShape> shapes{first, first, other};
    const TCompressedWriteResult written = Write(shapes);
    ASSERT_EQ(written.Error, "");
    EXPECT_EQ(written.Bytes[6], 0);
    ExpectRoundTrip(shapes);
  }
}

TEST(CompressedFile, SharedParametersAreStoredOnceAndCodedNowhere) {
  const std::vector<TCompressedShape> shapes(3, {-7, 70000, 100, 4, {}});
  const TCompressedWriteResult written = Write(shapes);
  ASSERT_EQ(written.Error, "");
  EXPECT_EQ(Bytes(written.Bytes.begin() + 6, written.Bytes.begin() + 21),
            (Bytes{0x01, 0xF9, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00, 0x64, 0x04, 0x02, 0x00,
                   0x00, 0x00}));
  ExpectRoundTrip(shapes);
}

TEST(CompressedFile, EmptyShapeListIsRefused) {
  // The trailer alone would read back as a shape.
  const TCompressedWriteResult written = Write({});
  EXPECT_EQ(written.Error, "Internal codec error. Cannot write compressed picture without shapes");
  EXPECT_TRUE(written.Bytes.empty());
}

TEST(CompressedFile, AnEmptyShapeWithZeroParametersIsRefusedWhereItWouldEndTheFile) {
  // Its four zeros and end-of-shape after another shape's end are the
  // trailer: the reader would lose it and every shape after it.
  const TCompressedShape zero{0, 0, 0, 0, {}};
  for (const std::vector<TCompressedShape>& shapes :
       {std::vector<TCompressedShape>{{1, 2, 0, 2, {5}}, zero, {1, 2, 0, 2, {7}}},
        std::vector<TCompressedShape>{{1, 2, 0, 2, {}}, zero}}) {
    const TCompressedWriteResult written = Write(shapes);
    EXPECT_EQ(written.Error,
              "Internal codec error. Cannot write compressed picture. A shape with all coding "
              "parameters 0 and no coefficient values would read back as the end of the file");
    EXPECT_TRUE(written.Bytes.empty());
  }
  // First in the list it follows no end of shape; with values, or with one
  // parameter set, it is no trailer.
  ExpectRoundTrip({zero, {1, 2, 0, 2, {7}}});
  ExpectRoundTrip({{1, 2, 0, 2, {5}}, {0, 0, 0, 0, {0, 3}}, {0, 0, 0, 1, {}}});
  // Sharing the parameters, an empty shape is a lone end-of-shape.
  ExpectRoundTrip({{0, 0, 0, 0, {4}}, zero, zero});
}

TEST(CompressedFile, CoefficientMinus32768IsNotAnEndOfShape) {
  ExpectRoundTrip({{1, 2, 0, 2, {-32768}}, {1, 2, 0, 2, {-32768, 0, -32768}}, {1, 2, 0, 2, {}}});
  ExpectRoundTrip({{-32768, -32768, 0, 2, {-32768}}, {1, 2, 0, 2, {}}});
}

TEST(CompressedFile, RunsOfEmptyShapesAreAllLoaded) {
  ExpectRoundTrip({{1, 2, 0, 2, {}}, {1, 2, 0, 2, {}}, {1, 2, 0, 2, {}}, {1, 2, 0, 2, {0, 0, 9}},
                   {1, 2, 0, 2, {}}});
}

TEST(CompressedFile, RandomRoundTrips) {
  std::mt19937 rng(1234);
  std::geometric_distribution<int32_t> magnitude(0.25);
  for (int round = 0; round < 40; ++round) {
    const bool shared = round % 2 == 0;
    std::vector<TCompressedShape> shapes(1 + rng() % 30);
    for (TCompressedShape& shape : shapes) {
      shape = shared ? TCompressedShape{1, 2, 15, 2, {}}
                     : TCompressedShape{int32_t(rng() % 3), int32_t(rng() % 4), uint8_t(rng() % 101),
                                        uint8_t(rng() % 5), {}};
      const size_t length = rng() % 4 == 0 ? 0 : rng() % 2000;
      for (size_t i = 0; i < length; ++i) {
        const int32_t value = rng() % 50 == 0 ? int32_t(rng() % 60001) - 30000 : magnitude(rng);
        shape.Values.push_back(rng() & 1 ? value : -value);
      }
      while (!shape.Values.empty() && shape.Values.back() == 0) shape.Values.pop_back();
    }
    ExpectRoundTrip(shapes);
  }
}

TEST(CompressedFile, ReportsItsStepsAndServesTheUserInterface) {
  std::vector<TCompressedStep> steps;
  int polls = 0;
  TInputPump pump([&polls] { ++polls; }, std::chrono::nanoseconds(0));
  TCompressedFileHooks hooks{[&steps](TCompressedStep step) { steps.push_back(step); }, &pump};

  const TCompressedWriteResult written =
      WriteCompressedPicture({{1, 2, 0, 2, {5, 0, -3}}, {1, 2, 0, 3, {1}}}, hooks);
  ASSERT_EQ(written.Error, "");
  EXPECT_EQ(steps, (std::vector<TCompressedStep>{TCompressedStep::AnalyzingData,
                                                 TCompressedStep::CompressingSpectrum}));
  EXPECT_GT(polls, 0);

  steps.clear();
  polls = 0;
  const TCompressedReadResult read =
      ReadCompressedPicture(written.Bytes.data(), written.Bytes.size(), hooks);
  EXPECT_EQ(read.Status, TCompressedReadStatus::Ok);
  EXPECT_EQ(steps, (std::vector<TCompressedStep>{TCompressedStep::LoadingData,
                                                 TCompressedStep::Decompressing}));
  EXPECT_GT(polls, 0);

  steps.clear();
  const Bytes unknown = Concat("TVLZ12", {0x01});
  ReadCompressedPicture(unknown.data(), unknown.size(), hooks);
  EXPECT_TRUE(steps.empty());
}

// ---------------------------------------------------------------------------
// Reading

TEST(CompressedFile, UnknownMagic) {
  const Bytes valid = Write({{1, 2, 0, 2, {}}}).Bytes;
  for (const char* magic : {"TVLZ12", "tvlz11", "TVLC10", "TVLZ1 "}) {
    Bytes bytes = valid;
    std::copy(magic, magic + 6, bytes.begin());
    const TCompressedReadResult read = Read(bytes);
    EXPECT_EQ(read.Status, TCompressedReadStatus::UnknownFormat) << magic;
    EXPECT_TRUE(read.Shapes.empty());
  }
  EXPECT_EQ(Read(Concat("TVLZ1", {})).Status, TCompressedReadStatus::UnknownFormat);
  EXPECT_EQ(Read({}).Status, TCompressedReadStatus::UnknownFormat);
}

TEST(CompressedFile, AnyNonZeroFlagMeansShared) {
  Bytes bytes = Write({{1, 2, 0, 2, {5, 0, -3}}}).Bytes;
  bytes[6] = 0x80;
  const TCompressedReadResult read = Read(bytes);
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok);
  ExpectSameShapes(read.Shapes, {{1, 2, 0, 2, {5, 0, -3}}});
}

TEST(CompressedFile, OlderFileWithSharedParametersImpliesNormKind2) {
  const std::vector<TCompressedShape> shapes(3, {1, 2, 40, 4, {6, 0, 0, -2}});
  Bytes bytes = Write(shapes).Bytes;
  ASSERT_EQ(bytes[6], 1);
  bytes[5] = '0';
  bytes.erase(bytes.begin() + 16);  // the older layout has no NormKind byte
  const TCompressedReadResult read = Read(bytes);
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ExpectSameShapes(read.Shapes, std::vector<TCompressedShape>(3, {1, 2, 40, 2, {6, 0, 0, -2}}));
}

TEST(CompressedFile, OlderFileWithShapeParametersHasThreeOfThem) {
  const Bytes bytes = RawFile(std::string("TVLZ10\0", 7),
                              {1, 2, 50, 5, -3, kEnd, 2, 3, 0, kEnd, 1, 1, 100, 0, 4, kEnd, 0, kEnd});
  const TCompressedReadResult read = Read(bytes);
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ExpectSameShapes(read.Shapes,
                   {{1, 2, 50, 2, {5, -3}}, {2, 3, 0, 2, {}}, {1, 1, 100, 2, {0, 4}}});
}

TEST(CompressedFile, ShapeParametersTakeTheLowByte) {
  const Bytes bytes = RawFile(std::string("TVLZ11\0", 7), {7, 8, 0x1FF, 0x103, 9, kEnd, 0, kEnd});
  const TCompressedReadResult read = Read(bytes);
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ExpectSameShapes(read.Shapes, {{7, 8, 0xFF, 3, {9}}});
}

TEST(CompressedFile, ShapeShorterThanItsParametersIsCorrupt) {
  for (const std::vector<Symbol>& symbols :
       {std::vector<Symbol>{1, 2, 3, kEnd, 0, kEnd}, std::vector<Symbol>{kEnd, 0, kEnd},
        std::vector<Symbol>{1, 2, 0, 2, 5, kEnd, 1, 2, kEnd, 0, kEnd}}) {
    const TCompressedReadResult read = Read(RawFile(std::string("TVLZ11\0", 7), symbols));
    EXPECT_EQ(read.Status, TCompressedReadStatus::Corrupt);
    EXPECT_EQ(read.Error, "Corrupt compressed picture file. Shape parameters are missing");
    EXPECT_TRUE(read.Shapes.empty());
  }
  const TCompressedReadResult older =
      Read(RawFile(std::string("TVLZ10\0", 7), {1, 2, kEnd, 0, kEnd}));
  EXPECT_EQ(older.Status, TCompressedReadStatus::Corrupt);
}

TEST(CompressedFile, ShapeReachingTheReadLimitEndsDecodingSilently) {
  const TCompressedReadResult atLimit =
      Read(RawFile(kSharedHead, Join({{7, kEnd}, Symbols(Cycling(162500)), {kEnd, 3, kEnd, 0, kEnd}})));
  EXPECT_EQ(atLimit.Status, TCompressedReadStatus::Ok);
  EXPECT_EQ(atLimit.Error, "");
  ExpectSameShapes(atLimit.Shapes, {{1, 2, 0, 2, {7}}});

  const TCompressedReadResult belowLimit =
      Read(RawFile(kSharedHead, Join({Symbols(Cycling(162499)), {kEnd, 3, kEnd, 0, kEnd}})));
  ASSERT_EQ(belowLimit.Status, TCompressedReadStatus::Ok);
  ExpectSameShapes(belowLimit.Shapes, {{1, 2, 0, 2, Cycling(162499)}, {1, 2, 0, 2, {3}}});
}

TEST(CompressedFile, ZerosBetweenTwoEndsOfShapeEndTheData) {
  // Whatever follows the first zero-only shape after another end of shape
  // is never read.
  const TCompressedReadResult read =
      Read(RawFile(kSharedHead, {4, kEnd, 0, 0, kEnd, 5, kEnd, 0, kEnd}));
  EXPECT_EQ(read.Status, TCompressedReadStatus::Ok);
  ExpectSameShapes(read.Shapes, {{1, 2, 0, 2, {4}}});
}

TEST(CompressedFile, MoreShapesThanTheMapHolds) {
  const std::vector<TCompressedShape> shapes{{1, 2, 0, 2, {1}}, {1, 2, 0, 2, {}}, {1, 2, 0, 2, {2}}};
  const Bytes bytes = Write(shapes).Bytes;
  const TCompressedReadResult limited = Read(bytes, 2);
  EXPECT_EQ(limited.Status, TCompressedReadStatus::TooManyShapes);
  EXPECT_EQ(limited.Error, "Compressed picture holds more shapes than the loaded map");
  ExpectSameShapes(limited.Shapes, {shapes[0], shapes[1]});
  const TCompressedReadResult exact = Read(bytes, 3);
  EXPECT_EQ(exact.Status, TCompressedReadStatus::Ok);
  ExpectSameShapes(exact.Shapes, shapes);
}

TEST(CompressedFile, StreamWithoutTrailerWithinItsSymbolCountIsCorrupt) {
  const TCompressedReadResult read = Read(RawFile(kSharedHead, {5, 5, kEnd, 0}));
  EXPECT_EQ(read.Status, TCompressedReadStatus::Corrupt);
  EXPECT_EQ(read.Error,
            "Corrupt compressed picture file. Coded data does not end where its symbol table "
            "says");
  EXPECT_TRUE(read.Shapes.empty());
}

Bytes WithTable(const Bytes& table) { return Concat(kSharedHead, table); }

TEST(CompressedFile, BrokenHeaderOrTableIsCorrupt) {
  const std::string incomplete = "Corrupt compressed picture file. Symbol table is incomplete";
  const std::string badSize = "Corrupt compressed picture file. Symbol table size is invalid";
  const std::string badCounts = "Corrupt compressed picture file. Symbol table counts are out of range";
  const std::vector<std::pair<Bytes, std::string>> cases{
      {Concat("TVLZ11", {}), "Corrupt compressed picture file. Header is incomplete"},
      {Concat("TVLZ11", {0x01, 0x01, 0x00, 0x00}), "Corrupt compressed picture file. Header is incomplete"},
      {Bytes(kSharedHead.begin(), kSharedHead.end() - 1), "Corrupt compressed picture file. Header is incomplete"},
      {WithTable({0x02, 0x00, 0x00}), incomplete},
      {WithTable({0x01, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}), badSize},
      {WithTable({0x00, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}), badSize},
      {WithTable({0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}), badSize},
      {WithTable({0x02, 0x00, 0x00, 0x00, 0x02, 0x01}), badSize},
      {WithTable({0x40, 0x42, 0x0F, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}), badSize},
      // Three entries fit the size, but the third one's count is missing.
      {WithTable({0x03, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x7F}), incomplete},
      {WithTable({0x02, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x01, 0x00, 0x00}), incomplete},
      {WithTable({0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0}), badCounts},
      {WithTable({0x02, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x40, 0, 0, 0, 0}), badCounts},
      {WithTable({0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0, 0, 0, 0}), ""},
  };
  for (const auto& [bytes, error] : cases) {
    const TCompressedReadResult read = Read(bytes);
    if (error.empty()) {
      EXPECT_NE(read.Status, TCompressedReadStatus::Corrupt) << read.Error;
      continue;
    }
    EXPECT_EQ(read.Status, TCompressedReadStatus::Corrupt) << error;
    EXPECT_EQ(read.Error, error);
    EXPECT_TRUE(read.Shapes.empty());
  }
}

TEST(CompressedFile, TableValuesBeyond32BitsAreCorrupt) {
  // Every entry adds the largest difference.
  Bytes table{0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00};
  int32_t entries = 2;
  for (int64_t value = 0; value <= INT32_MAX; value += 65662, ++entries)
    table.insert(table.end(), {0x7F, 0xFF, 0xFF, 0x01});
  table[0] = uint8_t(entries);
  table[1] = uint8_t(entries >> 8);
  const TCompressedReadResult read = Read(WithTable(table));
  EXPECT_EQ(read.Status, TCompressedReadStatus::Corrupt);
  EXPECT_EQ(read.Error, "Corrupt compressed picture file. Symbol table value is out of range");

  table[0] = uint8_t(entries - 1);  // the last value that still fits
  table[1] = uint8_t((entries - 1) >> 8);
  EXPECT_NE(Read(WithTable(table)).Error,
            "Corrupt compressed picture file. Symbol table value is out of range");
}

// Every cut of a file is refused or, when the bytes cut off were never
// needed, gives back exactly the shapes written.
TEST(CompressedFile, EveryTruncationIsRefusedOrDecodesTheSameShapes) {
  std::mt19937 rng(77);
  for (bool shared : {true, false}) {
    std::vector<TCompressedShape> shapes;
    for (int i = 0; i < 4; ++i) {
      TCompressedShape shape{1, shared ? 2 : 2 + i, 20, 2, {}};
      for (int n = int(rng() % 60); n > 0; --n) shape.Values.push_back(int32_t(rng() % 400) - 200);
      shape.Values.push_back(300 + i);
      shapes.push_back(shape);
    }
    const Bytes bytes = Write(shapes).Bytes;
    ASSERT_FALSE(bytes.empty());
    size_t accepted = 0;
    for (size_t length = 0; length <= bytes.size(); ++length) {
      // A copy of exactly the kept bytes, so that reading past them is caught
      // by memory checkers.
      const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
      const TCompressedReadResult read = Read(cut, 4);
      if (length < 6) {
        EXPECT_EQ(read.Status, TCompressedReadStatus::UnknownFormat) << length;
      } else if (read.Status == TCompressedReadStatus::Corrupt) {
        EXPECT_FALSE(read.Error.empty()) << length;
        EXPECT_TRUE(read.Shapes.empty()) << length;
      } else {
        ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << length;
        ExpectSameShapes(read.Shapes, shapes);
        ++accepted;
      }
    }
    // The whole file, and at most the bytes of its last word besides.
    EXPECT_GE(accepted, 1u);
    EXPECT_LE(accepted, 4u);
  }
}

TEST(CompressedFile, ValuesBeyondAWindowAreCountedNotKept) {
  // Two shapes of 5, 162,000 zeros and 5, read onto windows of 16 and 4
  // values: a few bytes of file, 1.3 MB of values had they been kept.
  const Bytes bomb = testing::CompressedBomb(2, 162000);
  EXPECT_LT(bomb.size(), 100u);
  const TCompressedReadResult read =
      ReadCompressedPicture(bomb.data(), bomb.size(), std::vector<size_t>{16, 4});
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ASSERT_EQ(read.Shapes.size(), 2u);
  TSpecData first(16, 0);
  first[0] = 5;
  EXPECT_EQ(read.Shapes[0].Values, first);
  EXPECT_EQ(read.Shapes[0].Surplus, 162002u - 16u);
  EXPECT_EQ(read.Shapes[1].Values, (TSpecData{5, 0, 0, 0}));
  EXPECT_EQ(read.Shapes[1].Surplus, 162002u - 4u);

  // Without a map every value is kept.
  const TCompressedReadResult all = ReadCompressedPicture(bomb.data(), bomb.size());
  ASSERT_EQ(all.Shapes.size(), 2u);
  EXPECT_EQ(all.Shapes[1].Values.size(), 162002u);
  EXPECT_EQ(all.Shapes[1].Values.back(), 5);
  EXPECT_EQ(all.Shapes[1].Surplus, 0u);
}

TEST(CompressedFile, ParametersStoredPerShapeAreKeptBesideAFullWindow) {
  const std::vector<TCompressedShape> shapes{{1, 2, 20, 3, {1, 2, 3}}, {1, 7, 0, 2, {4}}};
  const Bytes bytes = Write(shapes).Bytes;
  const TCompressedReadResult read =
      ReadCompressedPicture(bytes.data(), bytes.size(), std::vector<size_t>{2, 0});
  ASSERT_EQ(read.Status, TCompressedReadStatus::Ok) << read.Error;
  ExpectSameShapes(read.Shapes, {{1, 2, 20, 3, {1, 2}}, {1, 7, 0, 2, {}}});
  EXPECT_EQ(read.Shapes[0].Surplus, 1u);
  EXPECT_EQ(read.Shapes[1].Surplus, 1u);
}

}  // namespace
}  // namespace tvlc
