// Encode and Decode of the shapes of a photograph with the built-in DCT II,
// found through the registry as the program finds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "EngineRecorder.h"
#include "InTempDirectory.h"
#include "SampleShapes.h"
#include "coding/EngineSteps.h"
#include "coding/Quantizer.h"
#include "coding/ShapeCoding.h"
#include "coding/TransformShape.h"
#include "transform/Registry.h"

namespace tvlc {
namespace {

const std::string kPicture = std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp";
const std::string kMap = std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp";

TShapeData Synthesized(const TShape& shape, TShapeData spectrum) {
  EXPECT_EQ(TransformShape(FindTransformation(1, 2), uint16_t(shape.RoundedWidth()),
                           uint16_t(shape.RoundedHeight()), spectrum, true, {}, 0.0, 0, {}),
            0);
  return spectrum;
}

double PSNROf(double energy, uint32_t count) {
  return 10.0 * std::log10(count * 65025.0 / energy);
}

// Squared errors against the picture over the shape's pixels.
struct ShapeErrors {
  double synthesized = 0.0;  // unrounded synthesis of the spectrum
  double decoded = 0.0;      // grey levels painted on the canvas
  uint32_t count = 0;
  bool canvasIsRoundedSynthesis = true;
};

ShapeErrors MeasureShape(const TShape& shape, const TImage& canvas) {
  ShapeErrors errors;
  const TShapeData synthesized = Synthesized(shape, shape.Spectrum);
  for (int q = 0; q < shape.RoundedHeight(); ++q)
    for (int i = 0; i < shape.RoundedWidth(); ++i) {
      const int x = shape.Left + i;
      const int y = shape.Top + q;
      if (!shape.Contains(x, y)) continue;
      const double s = synthesized[size_t(q) * shape.RoundedWidth() + i];
      const double original = (*shape.PicData)[size_t(y) * shape.PicWidth + x];
      const uint8_t painted = RedOf(canvas.Pixel(x, y));
      if (painted != DecodedGrey(s)) errors.canvasIsRoundedSynthesis = false;
      errors.synthesized += (original - 128.0 - s) * (original - 128.0 - s);
      errors.decoded += (original - painted) * (original - painted);
      ++errors.count;
    }
  return errors;
}

class CameraShapesTest : public InTempDirectory {
 protected:
  void SetUp() override {
    InTempDirectory::SetUp();
    registry_ = std::make_unique<TModuleRegistry>(Directory().string() + "/");
    registry_->LoadModules();
    sample = LoadSampleShapes(kPicture, kMap);
    ASSERT_EQ(sample.Shapes.size(), 22u);
  }
  void TearDown() override {
    registry_.reset();
    InTempDirectory::TearDown();
  }

  TImage NewCanvas() const { return TImage(sample.MapWidth, sample.MapHeight); }
  std::vector<uint8_t> NewDecodedMask() const {
    return std::vector<uint8_t>(size_t(sample.MapWidth) * sample.MapHeight);
  }

  SampleShapes sample;

 private:
  std::unique_ptr<TModuleRegistry> registry_;
};

TEST_F(CameraShapesTest, EncodedShapesReachTheRequestAndDecodeToTheEnginesPSNR) {
  for (double request : {30.0, 40.0}) {
    double largestRoundingShift = 0.0;
    for (TShapeItem& item : sample.Shapes) {
      SCOPED_TRACE(item.Name + " at " + std::to_string(request));
      TShape& shape = *item.Shape;
      ASSERT_LT(ResidualPSNR(CentredShapePixels(shape), MaskPixelCount(WindowMask(shape))),
                request);

      EngineRecorder recorder;
      Encode(shape, 1, 2, request, false, 1, recorder.Handler(), item.Name);
      ASSERT_FALSE(recorder.iterations.empty());
      EXPECT_GE(shape.PSNR, request);
      EXPECT_EQ(shape.PSNR, recorder.psnrs.back());
      EXPECT_EQ(shape.Iterations, int32_t(recorder.iterations.size()));
      EXPECT_EQ(recorder.iterations.back(), shape.Iterations);
    }

    // Every order of decoding leaves every pixel painted by its own shape.
    TImage forward = NewCanvas(), backward = NewCanvas();
    std::vector<uint8_t> forwardMask = NewDecodedMask(), backwardMask = NewDecodedMask();
    for (TShapeItem& item : sample.Shapes)
      ASSERT_TRUE(Decode(*item.Shape, forward, forwardMask, item.Name));
    for (auto item = sample.Shapes.rbegin(); item != sample.Shapes.rend(); ++item)
      ASSERT_TRUE(Decode(*item->Shape, backward, backwardMask, item->Name));
    EXPECT_TRUE(forward == backward);
    EXPECT_EQ(forwardMask, std::vector<uint8_t>(forwardMask.size(), 1));

    for (TShapeItem& item : sample.Shapes) {
      SCOPED_TRACE(item.Name + " at " + std::to_string(request));
      const TShape& shape = *item.Shape;
      const ShapeErrors errors = MeasureShape(shape, forward);
      EXPECT_TRUE(errors.canvasIsRoundedSynthesis);
      // The unrounded synthesis is exactly what the engine measured.
      EXPECT_NEAR(PSNROf(errors.synthesized, errors.count), shape.PSNR, 1e-6);
      // Rounding moves each pixel by at most 0.5 (clamping only brings it
      // closer to the picture), so the root of the error moves by at most
      // 0.5 * sqrt(count).
      const double shift = 0.5 * std::sqrt(double(errors.count));
      EXPECT_LE(std::sqrt(errors.decoded), std::sqrt(errors.synthesized) + shift);
      EXPECT_GE(std::sqrt(errors.decoded), std::sqrt(errors.synthesized) - shift);
      const double decodedPSNR = PSNROf(errors.decoded, errors.count);
      largestRoundingShift = std::max(largestRoundingShift, std::abs(decodedPSNR - shape.PSNR));
    }
    std::printf("largest |decoded - engine| PSNR at %.0f dB: %.4f dB\n", request,
                largestRoundingShift);
  }
}

TEST_F(CameraShapesTest, ContinuedEncodeEqualsOldSpectrumPlusNewContributions) {
  TShapeItem& item =
      *std::max_element(sample.Shapes.begin(), sample.Shapes.end(),
                        [](const TShapeItem& a, const TShapeItem& b) {
                          return a.Shape->PointCount < b.Shape->PointCount;
                        });
  TShape& shape = *item.Shape;
  Encode(shape, 1, 2, 30.0, false, 1, {}, item.Name);
  const TShapeData first = shape.Spectrum;
  const int32_t firstIterations = shape.Iterations;

  EngineRecorder recorder;
  Encode(shape, 1, 2, 40.0, true, 1, recorder.Handler(), item.Name);
  ASSERT_FALSE(recorder.iterations.empty());
  EXPECT_EQ(recorder.iterations.front(), firstIterations + 1);
  EXPECT_EQ(shape.Iterations, firstIterations + int32_t(recorder.iterations.size()));
  EXPECT_GE(shape.PSNR, 40.0);
  for (size_t k = 0; k < first.size(); ++k)
    ASSERT_EQ(shape.Spectrum[k], first[k] + recorder.lastSpectrum[k]) << k;

  const ShapeErrors errors = MeasureShape(shape, NewCanvas());
  EXPECT_NEAR(PSNROf(errors.synthesized, errors.count), shape.PSNR, 1e-6);
}

TEST_F(CameraShapesTest, DecodeQuantizesOnlyWhenQualityIsSet) {
  TShapeItem& item = sample.Shapes.at(1);
  TShape& shape = *item.Shape;
  Encode(shape, 1, 2, 35.0, false, 1, {}, item.Name);
  const TShapeData spectrum = shape.Spectrum;

  TImage exact = NewCanvas();
  std::vector<uint8_t> exactMask = NewDecodedMask();
  ASSERT_TRUE(Decode(shape, exact, exactMask, item.Name));
  EXPECT_TRUE(MeasureShape(shape, exact).canvasIsRoundedSynthesis);

  shape.SetQuality(50);
  TImage quantized = NewCanvas();
  std::vector<uint8_t> quantizedMask = NewDecodedMask();
  ASSERT_TRUE(Decode(shape, quantized, quantizedMask, item.Name));
  for (size_t k = 0; k < spectrum.size(); ++k) ASSERT_EQ(shape.Spectrum[k], spectrum[k]);
  EXPECT_FALSE(exact == quantized);

  TShapeData dequantized = spectrum;
  for (int v = 0; v < shape.RoundedHeight(); ++v)
    for (int u = 0; u < shape.RoundedWidth(); ++u) {
      double& c = dequantized[size_t(v) * shape.RoundedWidth() + u];
      const double step = QuantStep(shape, uint16_t(u), uint16_t(v));
      EXPECT_NE(step, 1.0);
      c = DequantizeCoefficient(QuantizeCoefficient(c, step, shape.NormFactor), step,
                                shape.NormFactor);
    }
  const TShapeData pixels = Synthesized(shape, dequantized);
  for (int q = 0; q < shape.RoundedHeight(); ++q)
    for (int i = 0; i < shape.RoundedWidth(); ++i) {
      if (!shape.Contains(shape.Left + i, shape.Top + q)) continue;
      ASSERT_EQ(RedOf(quantized.Pixel(shape.Left + i, shape.Top + q)),
                DecodedGrey(pixels[size_t(q) * shape.RoundedWidth() + i]));
    }
}

}  // namespace
}  // namespace tvlc
