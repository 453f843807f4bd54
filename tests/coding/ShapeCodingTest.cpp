// Encode and Decode of small synthetic shapes with the direct-sum test
// transformation, and the parts of Encode that come before the lookup.
#include "coding/ShapeCoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>

#include "EngineRecorder.h"
#include "FakeTransform.h"
#include "InTempDirectory.h"
#include "model/Bmp.h"
#include "model/MapAnalysis.h"
#include "transform/Registry.h"

namespace tvlc {
namespace {

// A picture with its map, both `width` pixels wide, and the map's shapes.
struct Scene {
  Scene(int32_t width, std::vector<uint8_t> grey, std::vector<int32_t> labels)
      : Width(width),
        Height(int32_t(labels.size()) / width),
        PicData(std::make_shared<const std::vector<uint8_t>>(std::move(grey))),
        MapData(std::make_shared<const std::vector<int32_t>>(std::move(labels))),
        Shapes(LocateShapes(MapData, Width, Height, PicData, Width)) {}

  TShape& Shape(size_t index) { return *Shapes.at(index).Shape; }

  int32_t Width;
  int32_t Height;
  TPicData PicData;
  TMapData MapData;
  TShapeList Shapes;
};

// 4 x 4 grey levels without structure, on a map of a single label.
Scene SingleShapeScene() {
  std::vector<uint8_t> grey(16);
  for (size_t p = 0; p < grey.size(); ++p) grey[p] = uint8_t(40 + (p * 71) % 180);
  return Scene(4, grey, std::vector<int32_t>(16, 5));
}

// Shape A (label 1) holds (3, 0) and x >= 2 of rows 1..3; its window covers
// columns 2..3. Shape B (label 2) holds the rest; its 4 x 4 window covers
// all of A.
Scene OverlappingScene() {
  const std::vector<int32_t> labels = {2, 2, 2, 1,  //
                                       2, 2, 1, 1,  //
                                       2, 2, 1, 1,  //
                                       2, 2, 1, 1};
  return Scene(4, std::vector<uint8_t>(16, 100), labels);
}

TShapeData Filled(const TShape& shape, double value) {
  return TShapeData(size_t(shape.WindowSize()), value);
}

bool AllZero(const TShapeData& data) {
  for (double value : data)
    if (value != 0.0) return false;
  return true;
}

std::vector<uint8_t> CanvasGreys(const TImage& canvas) {
  std::vector<uint8_t> greys;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) greys.push_back(RedOf(canvas.Pixel(x, y)));
  return greys;
}

class ShapeCodingTest : public InTempDirectory {
 protected:
  void Encode(TShape& shape, double request, bool continueEncoding = false) {
    recorder.width = uint32_t(shape.RoundedWidth());
    EncodeWithDescriptor(shape, &descriptor, request, continueEncoding, 1, recorder.Handler());
  }

  bool Decode(TShape& shape, TImage& canvas, std::vector<uint8_t>& decodedMask) {
    return DecodeWithDescriptor(shape, &descriptor, canvas, decodedMask, "T");
  }

  void UseIdentityBasis() { fake::State().kind = fake::TBasisKind::Identity; }

  TTransDescriptor descriptor = fake::Descriptor({.basisNorms = true, .config = true});
  EngineRecorder recorder;
};

TEST_F(ShapeCodingTest, ProgressUpdatesTheShapeAndForwardsTheOverallCount) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  shape.IterationBase = 5;
  int32_t forwarded = 0;
  shape.OnProgress = [&](int32_t iteration, const TShapeData&, double, const TShapeData&,
                         uint16_t u, uint16_t v, bool& stop) {
    forwarded = iteration;
    EXPECT_EQ(u, 3);
    EXPECT_EQ(v, 1);
    stop = true;
  };
  bool stop = false;
  Progress(shape, 3, TShapeData(16), 31.5, TShapeData(16), 3, 1, stop);
  EXPECT_EQ(shape.Iterations, 8);
  EXPECT_EQ(shape.PSNR, 31.5);
  EXPECT_EQ(forwarded, 8);
  EXPECT_TRUE(stop);

  shape.OnProgress = nullptr;
  Progress(shape, 4, TShapeData(16), 33.0, TShapeData(16), 0, 0, stop);
  EXPECT_EQ(shape.Iterations, 9);
  EXPECT_EQ(shape.PSNR, 33.0);
}

TEST_F(ShapeCodingTest, EncodeExpandsTheCentredShapePixels) {
  UseIdentityBasis();
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  Encode(shape, 1000.0);
  // With the identity basis the spectrum is the centred block itself.
  for (size_t p = 0; p < 16; ++p) EXPECT_EQ(shape.Spectrum[p], (*scene.PicData)[p] - 128.0) << p;
  EXPECT_EQ(shape.PSNR, 1e20);
  EXPECT_EQ(shape.Iterations, int32_t(recorder.iterations.size()));
  EXPECT_EQ(shape.IterationBase, 0);
}

TEST_F(ShapeCodingTest, ContinuedEncodeAddsToThePreviousSpectrumAndCountsOn) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  Encode(shape, 20.0);
  const TShapeData first = shape.Spectrum;
  const int32_t firstIterations = shape.Iterations;
  const double firstPSNR = shape.PSNR;
  ASSERT_GT(firstIterations, 0);
  ASSERT_GE(firstPSNR, 20.0);

  recorder = EngineRecorder();
  Encode(shape, 45.0, true);
  ASSERT_FALSE(recorder.iterations.empty());
  for (size_t i = 0; i < recorder.iterations.size(); ++i)
    EXPECT_EQ(recorder.iterations[i], firstIterations + 1 + int32_t(i));
  EXPECT_EQ(shape.IterationBase, firstIterations);
  EXPECT_EQ(shape.Iterations, recorder.iterations.back());
  EXPECT_EQ(shape.PSNR, recorder.psnrs.back());
  EXPECT_GE(shape.PSNR, 45.0);
  // The run started from the previous approximation, so its first step
  // improves on where the last run ended.
  EXPECT_GT(recorder.psnrs.front(), firstPSNR - 1e-9);
  for (size_t k = 0; k < 16; ++k)
    EXPECT_EQ(shape.Spectrum[k], recorder.lastSpectrum[k] + first[k]) << k;
}

TEST_F(ShapeCodingTest, ContinuedEncodeAlreadyAtTheRequestDoesNothing) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  Encode(shape, 30.0);
  const TShapeData spectrum = shape.Spectrum;
  const int32_t iterations = shape.Iterations;
  fake::Reset();
  Encode(shape, shape.PSNR, true);
  EXPECT_EQ(fake::State().initCalls, 0);
  EXPECT_EQ(shape.Iterations, iterations);
  for (size_t k = 0; k < 16; ++k) EXPECT_EQ(shape.Spectrum[k], spectrum[k]);
}

TEST_F(ShapeCodingTest, ShapeOfGreyLevel128MakesNoNotification) {
  Scene scene(4, std::vector<uint8_t>(16, 128), std::vector<int32_t>(16, 9));
  TShape& shape = scene.Shape(0);
  shape.PSNR = 12.5;
  shape.Iterations = 3;
  Encode(shape, 30.0);
  EXPECT_TRUE(recorder.iterations.empty());
  ASSERT_EQ(shape.Spectrum.size(), 16u);
  EXPECT_TRUE(AllZero(shape.Spectrum));
  EXPECT_EQ(shape.PSNR, 12.5);
  EXPECT_EQ(shape.Iterations, 3);
}

TEST_F(ShapeCodingTest, EngineFailureRaisesTheEncodeErrorAndLeavesAZeroSpectrum) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  Encode(shape, 20.0);
  ASSERT_FALSE(AllZero(shape.Spectrum));

  // The continued run synthesizes first (one Transform), then fails in its
  // second analysis.
  fake::State().throwOnTransformCall = fake::State().transformCalls + 3;
  try {
    Encode(shape, 60.0, true);
    FAIL() << "no error raised";
  } catch (const TEncodeError& error) {
    EXPECT_STREQ(error.what(), "External exception in module or not enough memory");
  }
  EXPECT_TRUE(AllZero(shape.Spectrum));
  EXPECT_FALSE(fake::State().initialised);
}

TEST_F(ShapeCodingTest, NothingIsEncodedWithoutTransformationPictureOrMap) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  EncodeWithDescriptor(shape, nullptr, 30.0, false, 1, {});
  shape.PicData = nullptr;
  Encode(shape, 30.0);
  shape.PicData = scene.PicData;
  shape.MapData = nullptr;
  Encode(shape, 30.0);
  EXPECT_EQ(fake::State().initCalls, 0);
  EXPECT_FALSE(shape.HasSpectrum());
}

TEST_F(ShapeCodingTest, ConfigurationBlobIsCopiedExactlyAndHandedBack) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  fake::State().config = {1, 2, 3, 250, 0, 7};
  fake::State().configSize = 6;
  Encode(shape, 20.0);
  EXPECT_EQ(shape.ConfigSize, 6);
  EXPECT_EQ(shape.Config, (std::vector<uint8_t>{1, 2, 3, 250, 0, 7}));
  // The module's buffer stays the module's: the shape owns a copy.
  fake::State().config.assign(6, 0);
  EXPECT_EQ(shape.Config[3], 250);

  TImage canvas(4, 4);
  std::vector<uint8_t> decodedMask(16);
  ASSERT_TRUE(Decode(shape, canvas, decodedMask));
  EXPECT_EQ(fake::State().setConfigCalls, 1);
  EXPECT_EQ(fake::State().receivedConfig, (std::vector<uint8_t>{1, 2, 3, 250, 0, 7}));

  // A continued encode hands the blob back before its synthesis too.
  fake::State().receivedConfig.clear();
  Encode(shape, 60.0, true);
  EXPECT_EQ(fake::State().setConfigCalls, 2);
  EXPECT_EQ(fake::State().receivedConfig, (std::vector<uint8_t>{1, 2, 3, 250, 0, 7}));
}

TEST_F(ShapeCodingTest, ConfigurationOfSizeZeroOrLessLeavesTheBlobEmpty) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  for (int32_t size : {0, -4}) {
    shape.Config = {9, 9};
    shape.ConfigSize = 2;
    fake::State().config = {1, 2, 3, 4};
    fake::State().configSize = size;
    Encode(shape, 20.0);
    EXPECT_TRUE(shape.Config.empty()) << size;
    EXPECT_EQ(shape.ConfigSize, 0) << size;
  }
}

TEST_F(ShapeCodingTest, WithoutGetConfigTheBlobIsLeftAlone) {
  descriptor = fake::Descriptor();
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  shape.Config = {4, 5};
  shape.ConfigSize = 2;
  Encode(shape, 20.0);
  EXPECT_EQ(shape.Config, (std::vector<uint8_t>{4, 5}));
  EXPECT_EQ(shape.ConfigSize, 2);
}

TEST(DecodedGrey, RoundsHalvesToEvenAndClamps) {
  EXPECT_EQ(DecodedGrey(-128.5), 0);  // -128
  EXPECT_EQ(DecodedGrey(127.5), 255);  // 128
  EXPECT_EQ(DecodedGrey(-129.0), 0);
  EXPECT_EQ(DecodedGrey(-127.5), 0);  // -128
  EXPECT_EQ(DecodedGrey(-126.5), 2);  // -126
  EXPECT_EQ(DecodedGrey(0.5), 128);
  EXPECT_EQ(DecodedGrey(1.5), 130);
  EXPECT_EQ(DecodedGrey(126.5), 254);
  EXPECT_EQ(DecodedGrey(127.49), 255);
  EXPECT_EQ(DecodedGrey(1e300), 255);
  EXPECT_EQ(DecodedGrey(-1e300), 0);
  EXPECT_EQ(DecodedGrey(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST_F(ShapeCodingTest, DecodePaintsRoundedGreysIntoCanvasMaskAndBitmap) {
  UseIdentityBasis();
  Scene scene(4, std::vector<uint8_t>(4, 0), std::vector<int32_t>(4, 3));
  TShape& shape = scene.Shape(0);
  shape.Spectrum = TShapeData(4);
  const double values[4] = {-128.5, 127.5, -129.0, 2.5};
  for (size_t k = 0; k < 4; ++k) shape.Spectrum[k] = values[k];

  TImage canvas(4, 1, Grey(77));
  std::vector<uint8_t> decodedMask(4);
  ASSERT_TRUE(DecodeWithDescriptor(shape, &descriptor, canvas, decodedMask, "Shape 03"));
  EXPECT_EQ(CanvasGreys(canvas), (std::vector<uint8_t>{0, 255, 0, 130}));
  EXPECT_EQ(decodedMask, (std::vector<uint8_t>{1, 1, 1, 1}));
  const TImage bitmap = ReadBmpFile("SEGMENT_DECODED_IMG_Shape 03.BMP");
  ASSERT_EQ(bitmap.Width(), 4);
  ASSERT_EQ(bitmap.Height(), 1);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap.Pixel(x, 0), canvas.Pixel(x, 0));
}

TEST_F(ShapeCodingTest, FirstDecodedShapeKeepsItsPixelsAgainstLaterWindows) {
  UseIdentityBasis();
  Scene scene = OverlappingScene();
  TShape& a = scene.Shape(1);
  TShape& b = scene.Shape(0);
  ASSERT_EQ(a.ID, 1u);
  ASSERT_EQ(a.RoundedWidth(), 2);
  ASSERT_EQ(b.RoundedWidth(), 4);
  a.Spectrum = Filled(a, 10.0);   // grey 138
  b.Spectrum = Filled(b, -10.0);  // grey 118
  const std::vector<uint8_t> expected = {118, 118, 118, 138,  //
                                         118, 118, 138, 138,  //
                                         118, 118, 138, 138,  //
                                         118, 118, 138, 138};

  TImage canvas(4, 4);
  std::vector<uint8_t> decodedMask(16);
  ASSERT_TRUE(Decode(a, canvas, decodedMask));
  ASSERT_TRUE(Decode(b, canvas, decodedMask));
  EXPECT_EQ(CanvasGreys(canvas), expected);
  EXPECT_EQ(decodedMask, std::vector<uint8_t>(16, 1));

  // B first paints its whole window, A's pixels included, but claims only
  // its own; A then overwrites its pixels, and B's claimed pixel (2, 0) in
  // A's window stays.
  TImage canvas2(4, 4);
  std::vector<uint8_t> decodedMask2(16);
  ASSERT_TRUE(Decode(b, canvas2, decodedMask2));
  EXPECT_EQ(CanvasGreys(canvas2), std::vector<uint8_t>(16, 118));
  for (size_t p = 0; p < 16; ++p)
    EXPECT_EQ(decodedMask2[p], (*scene.MapData)[p] == 2 ? 1 : 0) << p;
  ASSERT_TRUE(Decode(a, canvas2, decodedMask2));
  EXPECT_EQ(CanvasGreys(canvas2), expected);
  EXPECT_EQ(decodedMask2, std::vector<uint8_t>(16, 1));
}

TEST_F(ShapeCodingTest, DecodeStaysInsideAShortDecodedMask) {
  UseIdentityBasis();
  Scene scene = OverlappingScene();
  TShape& b = scene.Shape(0);
  b.Spectrum = Filled(b, -10.0);
  TImage canvas(4, 4, Grey(1));
  std::vector<uint8_t> decodedMask(6);
  ASSERT_TRUE(Decode(b, canvas, decodedMask));
  const std::vector<uint8_t> greys = CanvasGreys(canvas);
  for (size_t p = 0; p < 16; ++p) EXPECT_EQ(greys[p], p < 6 ? 118 : 1) << p;
}

TEST_F(ShapeCodingTest, QualityQuantizesACopyOfTheSpectrum) {
  UseIdentityBasis();
  Scene scene(4, std::vector<uint8_t>(4, 0), std::vector<int32_t>(4, 3));
  TShape& shape = scene.Shape(0);
  shape.SetNormKind(0);  // NormFactor sqrt(4) = 2; without weights the step is 1
  ASSERT_EQ(shape.NormFactor, 2.0);
  shape.Spectrum = TShapeData(4);
  const double values[4] = {3.4, -3.4, 0.2, 10.3};
  for (size_t k = 0; k < 4; ++k) shape.Spectrum[k] = values[k];

  TImage exact(4, 1);
  std::vector<uint8_t> mask(4);
  ASSERT_TRUE(Decode(shape, exact, mask));
  EXPECT_EQ(CanvasGreys(exact), (std::vector<uint8_t>{131, 125, 128, 138}));

  // round(2c) / 2: 3.5, -3.5, 0, 10.5, which round to 4, -4, 0, 10.
  shape.SetQuality(50);
  TImage quantized(4, 1);
  std::fill(mask.begin(), mask.end(), 0);
  ASSERT_TRUE(Decode(shape, quantized, mask));
  EXPECT_EQ(CanvasGreys(quantized), (std::vector<uint8_t>{132, 124, 128, 138}));
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(shape.Spectrum[k], values[k]);
}

TEST_F(ShapeCodingTest, DecodeFailsWithoutChangingAnything) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  TImage canvas(4, 4, Grey(9));
  std::vector<uint8_t> decodedMask(16);

  EXPECT_FALSE(Decode(shape, canvas, decodedMask));  // no spectrum
  shape.Spectrum = Filled(shape, 5.0);
  EXPECT_FALSE(DecodeWithDescriptor(shape, nullptr, canvas, decodedMask, "T"));
  fake::State().initStatus = 6;
  EXPECT_FALSE(Decode(shape, canvas, decodedMask));
  fake::State().initStatus = 0;
  shape.Spectrum = TShapeData(15, 5.0);  // does not fit the window
  EXPECT_FALSE(Decode(shape, canvas, decodedMask));

  EXPECT_EQ(CanvasGreys(canvas), std::vector<uint8_t>(16, 9));
  EXPECT_EQ(decodedMask, std::vector<uint8_t>(16, 0));
  EXPECT_FALSE(std::filesystem::exists("SEGMENT_DECODED_IMG_T.BMP"));
  EXPECT_EQ(fake::State().transformCalls, 0);
}

// Encode itself, through the registry's lookup.
class EncodeLookupTest : public InTempDirectory {
 protected:
  void SetUp() override {
    InTempDirectory::SetUp();
    registry_ = std::make_unique<TModuleRegistry>(Directory().string() + "/");
    registry_->LoadModules();
  }
  void TearDown() override {
    registry_.reset();
    InTempDirectory::TearDown();
  }

 private:
  std::unique_ptr<TModuleRegistry> registry_;
};

TEST_F(EncodeLookupTest, InputWindowBitmapReadsThePictureByLinearIndex) {
  // A 3 x 3 shape has a 4 x 4 window: its fourth column shows the first
  // pixel of the next row, and pixels past the picture's end read 0.
  std::vector<uint8_t> grey(9);
  for (size_t p = 0; p < 9; ++p) grey[p] = uint8_t(10 * (p + 1));
  Scene scene(3, grey, std::vector<int32_t>(9, 4));
  // No transformation has code 99: only the bitmap and the codes remain.
  tvlc::Encode(scene.Shape(0), 5, 99, 30.0, false, 1, {}, "Shape 04");
  EXPECT_EQ(scene.Shape(0).ModuleCode, 5u);
  EXPECT_EQ(scene.Shape(0).TransCode, 99u);
  EXPECT_FALSE(scene.Shape(0).HasSpectrum());

  const TImage bitmap = ReadBmpFile("SEGMENT_ORIGINAL_IMG_Shape 04.BMP");
  ASSERT_EQ(bitmap.Width(), 4);
  ASSERT_EQ(bitmap.Height(), 4);
  for (int q = 0; q < 4; ++q)
    for (int i = 0; i < 4; ++i) {
      const size_t p = size_t(i + 3 * q);
      EXPECT_EQ(bitmap.Pixel(i, q), Grey(p < 9 ? grey[p] : 0)) << i << "," << q;
    }
}

TEST_F(EncodeLookupTest, AnotherTransformationCodeDiscardsTheSpectrum) {
  Scene scene = SingleShapeScene();
  TShape& shape = scene.Shape(0);
  shape.Config = {1, 2};
  shape.ConfigSize = 2;
  tvlc::Encode(shape, 1, 2, 30.0, false, 1, {}, "S");
  ASSERT_TRUE(shape.HasSpectrum());
  ASSERT_GE(shape.PSNR, 30.0);
  // DCT II has no configuration.
  EXPECT_TRUE(shape.Config.empty());
  EXPECT_EQ(shape.ConfigSize, 0);
  const int32_t iterations = shape.Iterations;

  // Only the module code changes: the lookup still finds DCT II and the
  // continued encode is already at its request.
  const TShapeData spectrum = shape.Spectrum;
  const double psnr = shape.PSNR;
  tvlc::Encode(shape, 7, 2, 20.0, true, 1, {}, "S");
  EXPECT_EQ(shape.ModuleCode, 7u);
  EXPECT_EQ(shape.PSNR, psnr);
  ASSERT_TRUE(shape.HasSpectrum());
  for (size_t k = 0; k < 16; ++k) EXPECT_EQ(shape.Spectrum[k], spectrum[k]);

  tvlc::Encode(shape, 1, 99, 20.0, true, 1, {}, "S");
  EXPECT_FALSE(shape.HasSpectrum());
  EXPECT_EQ(shape.PSNR, 0.0);
  EXPECT_EQ(shape.TransCode, 99u);
  EXPECT_EQ(shape.Iterations, iterations);
}

TEST_F(EncodeLookupTest, ContinuingWithAnotherTransformationStartsAfreshButCountsOn) {
  Scene scene = SingleShapeScene();
  TShape& fresh = scene.Shape(0);
  tvlc::Encode(fresh, 1, 2, 35.0, false, 1, {}, "Fresh");

  Scene other = SingleShapeScene();
  TShape& shape = other.Shape(0);
  shape.ModuleCode = 2;
  shape.TransCode = 3;
  shape.Spectrum = Filled(shape, 50.0);
  shape.PSNR = 99.0;
  shape.Iterations = 10;
  std::vector<int32_t> iterations;
  tvlc::Encode(
      shape, 1, 2, 35.0, true, 1,
      [&](int32_t iteration, const TShapeData&, double, const TShapeData&, uint16_t, uint16_t,
          bool&) { iterations.push_back(iteration); },
      "Continued");
  ASSERT_FALSE(iterations.empty());
  EXPECT_EQ(iterations.front(), 11);
  EXPECT_EQ(shape.Iterations, 10 + fresh.Iterations);
  for (size_t k = 0; k < 16; ++k) EXPECT_EQ(shape.Spectrum[k], fresh.Spectrum[k]) << k;
}

}  // namespace
}  // namespace tvlc
