// The engine on the built-in DCT II and on real shapes of a photograph.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineRecorder.h"
#include "FakeTransform.h"
#include "SampleShapes.h"
#include "coding/EngineSteps.h"
#include "coding/TransformShape.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

const std::string kPicture = std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp";
const std::string kMap = std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp";

struct Expansion {
  uint8_t status = 0;
  TShapeData spectrum;
  EngineRecorder recorder;
};

Expansion Expand(const TTransDescriptor& descriptor, const TShape& shape, double request) {
  Expansion result;
  result.spectrum = CentredShapePixels(shape);
  result.recorder.width = uint32_t(shape.RoundedWidth());
  result.status = TransformShape(&descriptor, uint16_t(shape.RoundedWidth()),
                                 uint16_t(shape.RoundedHeight()), result.spectrum, false,
                                 WindowMask(shape), request, 1, result.recorder.Handler());
  return result;
}

TEST(EngineOnDctII, FullMaskExpansionEqualsTheDirectTransform) {
  constexpr uint16_t w = 8, h = 8;
  TShapeData input(size_t(w) * h);
  for (size_t p = 0; p < input.size(); ++p) input[p] = std::round(90.0 * std::cos(0.9 * p * p));
  TShapeData spectrum = input;
  ASSERT_EQ(TransformShape(DctIIDescriptor(), w, h, spectrum, false, TShapeMask(input.size(), 1),
                           200.0, 0, {}),
            0);
  for (uint32_t v = 0; v < h; ++v)
    for (uint32_t u = 0; u < w; ++u) {
      double expected = 0.0;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
          expected += input[y * w + x] * fake::DctFactor(u, x, w) * fake::DctFactor(v, y, h);
      EXPECT_NEAR(spectrum[v * w + u], expected, 1e-9) << u << "," << v;
    }
}

TEST(EngineOnDctII, SinglePixelWindowIsExplainedInOneIteration) {
  TShapeData spectrum(1, -37.0);
  EngineRecorder recorder;
  ASSERT_EQ(TransformShape(DctIIDescriptor(), 1, 1, spectrum, false, TShapeMask(1, 1), 60.0, 1,
                           recorder.Handler()),
            0);
  EXPECT_EQ(recorder.iterations, (std::vector<int32_t>{1}));
  EXPECT_EQ(recorder.psnrs[0], kUnlimitedPSNR);
  EXPECT_EQ(spectrum[0], -37.0);
}

TEST(EngineOnDctII, BasisNormsSlotAndBasisFallbackAgreeOnRealShapes) {
  const SampleShapes sample = LoadSampleShapes(kPicture, kMap);
  ASSERT_EQ(sample.Shapes.size(), 22u);
  const TTransDescriptor& dct = *DctIIDescriptor();
  TTransDescriptor withoutNorms = dct;
  withoutNorms.BasisNorms = nullptr;

  for (const TShapeItem& item : sample.Shapes) {
    SCOPED_TRACE(item.Name);
    const Expansion viaSlot = Expand(dct, *item.Shape, 30.0);
    const Expansion viaBasis = Expand(withoutNorms, *item.Shape, 30.0);
    ASSERT_EQ(viaSlot.status, 0);
    ASSERT_EQ(viaBasis.status, 0);
    EXPECT_EQ(viaSlot.recorder.chosen, viaBasis.recorder.chosen);
    for (size_t k = 0; k < viaSlot.spectrum.size(); ++k)
      EXPECT_NEAR(viaSlot.spectrum[k], viaBasis.spectrum[k], 1e-9) << k;
  }
}

TEST(EngineOnDctII, RealShapesReachTheRequestAndSynthesizeBackToTheirApproximation) {
  const SampleShapes sample = LoadSampleShapes(kPicture, kMap);
  for (double request : {30.0, 40.0})
    for (const TShapeItem& item : sample.Shapes) {
      SCOPED_TRACE(item.Name + " at " + std::to_string(request));
      const TShape& shape = *item.Shape;
      const Expansion expansion = Expand(*DctIIDescriptor(), shape, request);
      ASSERT_EQ(expansion.status, 0);
      const std::vector<double>& psnrs = expansion.recorder.psnrs;
      ASSERT_FALSE(psnrs.empty());
      EXPECT_GE(psnrs.back(), request);
      if (psnrs.size() > 1) {
        EXPECT_LT(psnrs[psnrs.size() - 2], request);
      }

      // Synthesis of the spectrum plus the last residual gives back the
      // shape's pixels.
      TShapeData rebuilt = expansion.spectrum;
      ASSERT_EQ(TransformShape(DctIIDescriptor(), uint16_t(shape.RoundedWidth()),
                               uint16_t(shape.RoundedHeight()), rebuilt, true, {}, 0.0, 0, {}),
                0);
      const TShapeMask mask = WindowMask(shape);
      const TShapeData pixels = CentredShapePixels(shape);
      for (size_t p = 0; p < mask.size(); ++p) {
        if (!mask[p]) continue;
        ASSERT_NEAR(rebuilt[p] + expansion.recorder.lastResidual[p], pixels[p], 1e-9) << p;
      }
    }
}

}  // namespace
}  // namespace tvlc
