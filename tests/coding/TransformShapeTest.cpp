#include "coding/TransformShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "EngineRecorder.h"
#include "FakeTransform.h"
#include "coding/EngineSteps.h"

namespace tvlc {
namespace {

constexpr uint16_t kW = 8;
constexpr uint16_t kH = 4;
constexpr size_t kN = size_t(kW) * kH;

// Centred grey-like values in -100..100 without structure.
TShapeData Pattern(size_t count, double phase = 0.0) {
  TShapeData data(count);
  for (size_t i = 0; i < count; ++i) data[i] = std::round(100.0 * std::sin(1.7 * i + phase));
  return data;
}

TShapeData Values(std::initializer_list<double> values) {
  TShapeData data(values.size());
  size_t i = 0;
  for (double value : values) data[i++] = value;
  return data;
}

// A region that is not a rectangle: pixels with x <= y + 2.
TShapeMask StaircaseMask(uint16_t w, uint16_t h) {
  TShapeMask mask(size_t(w) * h);
  for (uint16_t y = 0; y < h; ++y)
    for (uint16_t x = 0; x < w; ++x) mask[size_t(y) * w + x] = x <= y + 2 ? 1 : 0;
  return mask;
}

double DctBasis(uint16_t w, uint16_t h, size_t k, size_t p) {
  return fake::DctFactor(k % w, p % w, w) * fake::DctFactor(k / w, p / w, h);
}

TShapeData DirectDctAnalysis(const TShapeData& pixels, uint16_t w, uint16_t h) {
  TShapeData spectrum(pixels.size());
  for (size_t k = 0; k < pixels.size(); ++k)
    for (size_t p = 0; p < pixels.size(); ++p) spectrum[k] += pixels[p] * DctBasis(w, h, k, p);
  return spectrum;
}

TShapeData DirectDctSynthesis(const TShapeData& spectrum, uint16_t w, uint16_t h) {
  TShapeData pixels(spectrum.size());
  for (size_t p = 0; p < spectrum.size(); ++p)
    for (size_t k = 0; k < spectrum.size(); ++k) pixels[p] += spectrum[k] * DctBasis(w, h, k, p);
  return pixels;
}

bool AllZero(const TShapeData& data) {
  for (double value : data)
    if (value != 0.0) return false;
  return true;
}

void ExpectSame(const TShapeData& actual, const TShapeData& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "index " << i;
}

class TransformShapeTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }

  uint8_t Analyze(uint16_t w, uint16_t h, TShapeData& coefficients, const TShapeMask& mask,
                  double request, uint16_t interval = 1) {
    recorder.width = w;
    return TransformShape(&descriptor, w, h, coefficients, false, mask, request, interval,
                          recorder.Handler());
  }

  uint8_t Synthesize(uint16_t w, uint16_t h, TShapeData& coefficients) {
    return TransformShape(&descriptor, w, h, coefficients, true, TShapeMask(), 0.0, 0, {});
  }

  void UseIdentityBasis() { fake::State().kind = fake::TBasisKind::Identity; }

  TTransDescriptor descriptor = fake::Descriptor();
  EngineRecorder recorder;
};

TEST_F(TransformShapeTest, EmptyMaskRunsNoIterationAndReturnsTheStatusOfDone) {
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 0), 1000.0), 0);
  EXPECT_TRUE(AllZero(coefficients));
  EXPECT_TRUE(recorder.iterations.empty());
  EXPECT_EQ(fake::State().transformCalls, 0);
  EXPECT_EQ(fake::State().initCalls, 1);
  EXPECT_EQ(fake::State().doneCalls, 1);

  fake::State().doneStatus = 5;
  coefficients = Pattern(kN);
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 0), 1000.0), 5);
  EXPECT_TRUE(AllZero(coefficients));
}

TEST_F(TransformShapeTest, RequestAtTheStartingPSNRRunsNoIteration) {
  UseIdentityBasis();
  // Every mask pixel off by one: E = Count, the PSNR is 10 log10(255^2).
  const TShapeData input = Values({1, -1, 1, 1, -1, -1, 1, -1});
  const double start = 10.0 * std::log10(65025.0);
  ASSERT_NEAR(start, 48.13, 0.005);

  TShapeData coefficients = input;
  EXPECT_EQ(Analyze(4, 2, coefficients, TShapeMask(8, 1), start), 0);
  EXPECT_TRUE(AllZero(coefficients));
  EXPECT_TRUE(recorder.iterations.empty());
  EXPECT_EQ(fake::State().transformCalls, 0);

  coefficients = input;
  EXPECT_EQ(Analyze(4, 2, coefficients, TShapeMask(8, 1), std::nextafter(start, 100.0)), 0);
  EXPECT_EQ(recorder.iterations.size(), 1u);
  EXPECT_NEAR(recorder.psnrs[0], 10.0 * std::log10(8 * 65025.0 / 7), 1e-12);
}

TEST_F(TransformShapeTest, ExactlyZeroResidualEndsTheLoopAfterThatIteration) {
  UseIdentityBasis();
  const TShapeData input = Values({3, -5, 0, 2, 0, 0, 0, 0});
  TShapeData coefficients = input;
  EXPECT_EQ(Analyze(4, 2, coefficients, TShapeMask(8, 1), 1000.0), 0);
  EXPECT_EQ(recorder.iterations, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(recorder.chosen, (std::vector<uint32_t>{1, 0, 3}));
  EXPECT_EQ(recorder.psnrs.back(), kUnlimitedPSNR);
  EXPECT_LT(recorder.psnrs[1], kUnlimitedPSNR);
  EXPECT_EQ(fake::State().transformCalls, 3);
  ExpectSame(coefficients, input);
}

TEST_F(TransformShapeTest, StopFlagFromTheNotificationEndsBeforeTheNextIteration) {
  TShapeData coefficients = Pattern(kN);
  recorder.stopAfter = 3;
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 1), 1000.0), 0);
  EXPECT_EQ(recorder.iterations, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(fake::State().transformCalls, 3);
  EXPECT_EQ(fake::State().doneCalls, 1);
  // A stopped run still hands back what it accumulated.
  ExpectSame(coefficients, recorder.lastSpectrum);
  EXPECT_FALSE(AllZero(coefficients));
}

TEST_F(TransformShapeTest, NotificationComesEveryIntervalIterationsAndNeverForZero) {
  UseIdentityBasis();
  const TShapeData input = Values({1, 2, 3, 4, 5, 6, 7, 8});  // eight iterations to zero
  TShapeData coefficients = input;
  Analyze(4, 2, coefficients, TShapeMask(8, 1), 1000.0, 3);
  EXPECT_EQ(recorder.iterations, (std::vector<int32_t>{3, 6}));
  ExpectSame(coefficients, input);

  recorder = EngineRecorder();
  coefficients = input;
  Analyze(4, 2, coefficients, TShapeMask(8, 1), 1000.0, 0);
  EXPECT_TRUE(recorder.iterations.empty());
  EXPECT_EQ(fake::State().transformCalls, 16);
  ExpectSame(coefficients, input);

  coefficients = input;
  EXPECT_EQ(TransformShape(&descriptor, 4, 2, coefficients, false, TShapeMask(8, 1), 1000.0, 1,
                           TProgressHandler()),
            0);
  ExpectSame(coefficients, input);
}

TEST_F(TransformShapeTest, EqualGainsChooseTheLowerIndex) {
  UseIdentityBasis();
  TShapeData coefficients = Values({1, 0, -4, 0, 0, 4, 2, 0});
  Analyze(4, 2, coefficients, TShapeMask(8, 1), 1000.0);
  EXPECT_EQ(recorder.chosen, (std::vector<uint32_t>{2, 5, 6, 0}));
}

TEST_F(TransformShapeTest, ZeroAndNaNNormsAreNeverChosen) {
  UseIdentityBasis();
  fake::State().editNorms = [](double* norms) {
    norms[0] = std::numeric_limits<double>::quiet_NaN();
    norms[2] = 0.0;
  };
  TShapeData coefficients = Values({9, 1, 8, 2, 7, 3, 6, 4});
  // What the excluded coefficients hold can never be removed, so only the
  // stop flag ends this expansion.
  recorder.stopAfter = 12;
  EXPECT_EQ(Analyze(4, 2, coefficients, TShapeMask(8, 1), 1000.0), 0);
  ASSERT_EQ(recorder.chosen.size(), 12u);
  const std::vector<uint32_t> firstChoices(recorder.chosen.begin(), recorder.chosen.begin() + 6);
  EXPECT_EQ(firstChoices, (std::vector<uint32_t>{4, 6, 7, 5, 3, 1}));
  for (uint32_t k : recorder.chosen) EXPECT_TRUE(k != 0 && k != 2) << k;
  EXPECT_EQ(coefficients[0], 0.0);
  EXPECT_EQ(coefficients[2], 0.0);
  EXPECT_EQ(coefficients[4], 7.0);
}

TEST_F(TransformShapeTest, NoBasisFunctionOnTheMaskEndsTheExpansion) {
  for (double unusable : {0.0, std::numeric_limits<double>::quiet_NaN()}) {
    fake::Reset();
    fake::State().editNorms = [unusable](double* norms) {
      for (size_t k = 0; k < kN; ++k) norms[k] = unusable;
    };
    recorder = EngineRecorder();
    TShapeData coefficients = Pattern(kN);
    EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 1), 1000.0), 0);
    EXPECT_TRUE(recorder.iterations.empty());
    EXPECT_EQ(fake::State().transformCalls, 1);
    EXPECT_EQ(fake::State().doneCalls, 1);
    EXPECT_TRUE(AllZero(coefficients));
  }
}

TEST_F(TransformShapeTest, PixelsOutsideTheMaskDoNotMatter) {
  const TShapeMask mask = StaircaseMask(kW, kH);
  TShapeData first = Pattern(kN);
  TShapeData second = first;
  for (size_t p = 0; p < kN; ++p)
    if (!mask[p]) second[p] = 1000.0 - 37.0 * p;

  bool residualOutsideAlwaysZero = true;
  std::vector<std::vector<uint32_t>> choices;
  for (TShapeData* coefficients : {&first, &second}) {
    std::vector<uint32_t> chosen;
    const TProgressHandler check = [&](int32_t, const TShapeData&, double,
                                       const TShapeData& residual, uint16_t u, uint16_t v,
                                       bool&) {
      chosen.push_back(uint32_t(v) * kW + u);
      for (size_t p = 0; p < kN; ++p)
        if (!mask[p] && residual[p] != 0.0) residualOutsideAlwaysZero = false;
    };
    EXPECT_EQ(TransformShape(&descriptor, kW, kH, *coefficients, false, mask, 40.0, 1, check), 0);
    choices.push_back(chosen);
  }
  EXPECT_TRUE(residualOutsideAlwaysZero);
  EXPECT_FALSE(choices[0].empty());
  EXPECT_EQ(choices[0], choices[1]);
  ExpectSame(first, second);
}

TEST_F(TransformShapeTest, FailingInitIsReturnedInBothModesWithNothingElseCalled) {
  fake::State().initStatus = 6;
  const TShapeData input = Pattern(kN);
  TShapeData coefficients = input;
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 1), 1000.0), 6);
  ExpectSame(coefficients, input);
  EXPECT_EQ(Synthesize(kW, kH, coefficients), 6);
  ExpectSame(coefficients, input);
  EXPECT_EQ(fake::State().initCalls, 2);
  EXPECT_EQ(fake::State().doneCalls, 0);
  EXPECT_EQ(fake::State().transformCalls, 0);
  EXPECT_EQ(fake::State().basisNormsCalls, 0);
}

TEST_F(TransformShapeTest, ExceptionFromTransformGivesStatusOneAndZeroSpectrum) {
  fake::State().throwOnTransformCall = 2;
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 1), 1000.0), kEngineFailedStatus);
  EXPECT_EQ(kEngineFailedStatus, 1);
  EXPECT_EQ(coefficients.size(), kN);
  EXPECT_TRUE(AllZero(coefficients));
  EXPECT_EQ(recorder.iterations.size(), 1u);
  EXPECT_EQ(fake::State().doneCalls, 1);
  EXPECT_FALSE(fake::State().initialised);
}

TEST_F(TransformShapeTest, ExceptionFromTheNotificationGivesStatusOneAndZeroSpectrum) {
  int calls = 0;
  const TProgressHandler failing = [&](int32_t, const TShapeData&, double, const TShapeData&,
                                       uint16_t, uint16_t, bool&) {
    if (++calls == 2) throw std::bad_alloc();
  };
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(TransformShape(&descriptor, kW, kH, coefficients, false, TShapeMask(kN, 1), 1000.0, 1,
                           failing),
            1);
  EXPECT_TRUE(AllZero(coefficients));
  EXPECT_EQ(fake::State().transformCalls, 2);
  EXPECT_EQ(fake::State().doneCalls, 1);
}

TEST_F(TransformShapeTest, FailingDoneAfterACompleteAnalysisKeepsTheSpectrum) {
  TShapeData succeeded = Pattern(kN);
  ASSERT_EQ(Analyze(kW, kH, succeeded, StaircaseMask(kW, kH), 30.0), 0);
  fake::State().doneStatus = 5;
  TShapeData failed = Pattern(kN);
  EXPECT_EQ(Analyze(kW, kH, failed, StaircaseMask(kW, kH), 30.0), 5);
  ExpectSame(failed, succeeded);
}

TEST_F(TransformShapeTest, FullMaskExpansionEqualsTheDirectTransform) {
  const TShapeData input = Pattern(kN, 0.3);
  TShapeData coefficients = input;
  ASSERT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN, 1), 200.0, 0), 0);
  const TShapeData expected = DirectDctAnalysis(input, kW, kH);
  for (size_t k = 0; k < kN; ++k) EXPECT_NEAR(coefficients[k], expected[k], 1e-9) << k;
}

TEST_F(TransformShapeTest, SpectrumAndResidualAlwaysRebuildTheMaskPixels) {
  const TShapeMask mask = StaircaseMask(kW, kH);
  const uint32_t count = MaskPixelCount(mask);
  const TShapeData input = Pattern(kN, 1.1);
  bool psnrMatchesResidual = true;
  std::vector<double> psnrs;
  TShapeData lastResidual;
  const TProgressHandler check = [&](int32_t, const TShapeData&, double psnr,
                                     const TShapeData& residual, uint16_t, uint16_t, bool&) {
    double energy = 0.0;
    for (size_t p = 0; p < kN; ++p) energy += residual[p] * residual[p];
    if (psnr != 10.0 * std::log10(count * 65025.0 / energy)) psnrMatchesResidual = false;
    psnrs.push_back(psnr);
    lastResidual = residual;
  };
  TShapeData coefficients = input;
  ASSERT_EQ(TransformShape(&descriptor, kW, kH, coefficients, false, mask, 35.0, 1, check), 0);

  EXPECT_TRUE(psnrMatchesResidual);
  ASSERT_GE(psnrs.size(), 2u);
  EXPECT_GE(psnrs.back(), 35.0);
  EXPECT_LT(psnrs[psnrs.size() - 2], 35.0);
  for (size_t i = 1; i < psnrs.size(); ++i) EXPECT_GE(psnrs[i], psnrs[i - 1]);

  const TShapeData rebuilt = DirectDctSynthesis(coefficients, kW, kH);
  for (size_t p = 0; p < kN; ++p) {
    if (!mask[p]) continue;
    EXPECT_NEAR(rebuilt[p] + lastResidual[p], input[p], 1e-9) << p;
  }
}

TEST_F(TransformShapeTest, BasisNormsSlotAndBasisFallbackGiveTheSameExpansion) {
  const TShapeMask mask = StaircaseMask(kW, kH);
  const int64_t count = MaskPixelCount(mask);

  TShapeData viaSlot = Pattern(kN, 2.0);
  ASSERT_EQ(Analyze(kW, kH, viaSlot, mask, 38.0), 0);
  const std::vector<uint32_t> slotChoices = recorder.chosen;
  const int64_t iterations = int64_t(slotChoices.size());
  EXPECT_EQ(fake::State().basisNormsCalls, 1);
  EXPECT_EQ(fake::State().basisCalls, iterations * count);

  fake::Reset();
  recorder = EngineRecorder();
  descriptor = fake::Descriptor({.basisNorms = false});
  TShapeData viaBasis = Pattern(kN, 2.0);
  ASSERT_EQ(Analyze(kW, kH, viaBasis, mask, 38.0), 0);
  EXPECT_EQ(recorder.chosen, slotChoices);
  EXPECT_EQ(fake::State().basisNormsCalls, 0);
  EXPECT_EQ(fake::State().basisCalls, int64_t(kN) * count + iterations * count);
  ExpectSame(viaBasis, viaSlot);

  EXPECT_FALSE(fake::State().calledOutsideBracket);
  EXPECT_FALSE(fake::State().wrongArrayLength);
}

TEST_F(TransformShapeTest, SynthesisIsOneInverseTransformAndReturnsTheStatusOfDone) {
  const TShapeData spectrum = Pattern(kN, 0.7);
  TShapeData coefficients = spectrum;
  EXPECT_EQ(Synthesize(kW, kH, coefficients), 0);
  const TShapeData expected = DirectDctSynthesis(spectrum, kW, kH);
  for (size_t p = 0; p < kN; ++p) EXPECT_NEAR(coefficients[p], expected[p], 1e-12) << p;

  fake::State().doneStatus = 9;
  coefficients = spectrum;
  EXPECT_EQ(Synthesize(kW, kH, coefficients), 9);
  for (size_t p = 0; p < kN; ++p) EXPECT_NEAR(coefficients[p], expected[p], 1e-12) << p;
  EXPECT_EQ(fake::State().initCalls, 2);
  EXPECT_EQ(fake::State().doneCalls, 2);
  EXPECT_EQ(fake::State().transformCalls, 2);
  EXPECT_FALSE(fake::State().wrongArrayLength);
}

TEST_F(TransformShapeTest, ExceptionInSynthesisReachesTheCallerWithTheModuleReleased) {
  fake::State().throwOnTransformCall = 1;
  TShapeData coefficients = Pattern(kN);
  EXPECT_THROW(Synthesize(kW, kH, coefficients), std::runtime_error);
  EXPECT_EQ(fake::State().doneCalls, 1);
  EXPECT_FALSE(fake::State().initialised);
  EXPECT_EQ(Synthesize(kW, kH, coefficients), 0);
}

TEST_F(TransformShapeTest, ArraysOfTheWrongLengthAreRefusedBeforeInit) {
  TShapeData shortSpectrum = Pattern(kN - 1);
  EXPECT_EQ(Analyze(kW, kH, shortSpectrum, TShapeMask(kN - 1, 1), 30.0),
            TVLC_STATUS_LENGTH_MISMATCH);
  EXPECT_EQ(Synthesize(kW, kH, shortSpectrum), TVLC_STATUS_LENGTH_MISMATCH);
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(Analyze(kW, kH, coefficients, TShapeMask(kN + 1, 1), 30.0),
            TVLC_STATUS_LENGTH_MISMATCH);
  EXPECT_EQ(TransformShape(nullptr, kW, kH, coefficients, true, {}, 0.0, 0, {}),
            TVLC_STATUS_WRONG_STATE);
  EXPECT_EQ(fake::State().initCalls, 0);
  ExpectSame(coefficients, Pattern(kN));
}

}  // namespace
}  // namespace tvlc
