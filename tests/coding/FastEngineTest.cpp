// The fast DCT II engine against the literal engine: on the shapes of the
// sample pictures it must make the same choices, end on the same iteration
// and give the same spectrum up to rounding; and it must keep the engine's
// contract in the edge cases.
#include "coding/FastDctEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "EngineChecker.h"
#include "FakeTransform.h"
#include "SampleShapes.h"
#include "coding/EngineSteps.h"
#include "coding/TransformShape.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

constexpr double kTolerance = 1e-9;
constexpr double kPeak = 255.0;

// What one analysis reports.
struct Expansion {
  uint8_t status = 0;
  TShapeData spectrum;
  std::vector<int32_t> iterations;
  std::vector<std::pair<uint16_t, uint16_t>> choices;  // (U, V) of every notification
  std::vector<double> psnrs;
  TShapeData finalResidual;  // notified with the PSNR that met the request
};

Expansion Expand(TShapeAnalysis analysis, const TTransDescriptor& descriptor, uint16_t width,
                 uint16_t height, TShapeData input, const TShapeMask& mask, double request,
                 size_t stopAfter = 0) {
  Expansion e;
  e.spectrum = std::move(input);
  const TProgressHandler record = [&](int32_t iteration, const TShapeData&, double psnr,
                                      const TShapeData& residual, uint16_t u, uint16_t v,
                                      bool& stop) {
    e.iterations.push_back(iteration);
    e.choices.emplace_back(u, v);
    e.psnrs.push_back(psnr);
    if (psnr >= request) e.finalResidual = residual;
    if (stopAfter != 0 && e.iterations.size() >= stopAfter) stop = true;
  };
  e.status = analysis(descriptor, width, height, e.spectrum, mask, request, 1, record);
  return e;
}

Expansion ExpandShape(TShapeAnalysis analysis, const TShape& shape, double request,
                      size_t stopAfter = 0) {
  return Expand(analysis, *DctIIDescriptor(), uint16_t(shape.RoundedWidth()),
                uint16_t(shape.RoundedHeight()), CentredShapePixels(shape), WindowMask(shape),
                request, stopAfter);
}

double LargestMagnitude(const TShapeData& data) {
  double largest = 0.0;
  for (double value : data) largest = std::max(largest, std::fabs(value));
  return largest;
}

double LargestDifference(const TShapeData& a, const TShapeData& b) {
  double largest = 0.0;
  for (size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::fabs(a[i] - b[i]));
  return largest;
}

void ExpectSameExpansion(const Expansion& fast, const Expansion& literal) {
  ASSERT_EQ(fast.status, literal.status);
  ASSERT_EQ(fast.iterations, literal.iterations);
  ASSERT_EQ(fast.choices, literal.choices);
  for (size_t i = 0; i < fast.psnrs.size(); ++i)
    ASSERT_NEAR(fast.psnrs[i], literal.psnrs[i], kTolerance) << "iteration " << i + 1;
  ASSERT_EQ(fast.spectrum.size(), literal.spectrum.size());
  EXPECT_LE(LargestDifference(fast.spectrum, literal.spectrum),
            kTolerance * LargestMagnitude(literal.spectrum));
  ASSERT_EQ(fast.finalResidual.size(), literal.finalResidual.size());
  EXPECT_LE(LargestDifference(fast.finalResidual, literal.finalResidual), kTolerance * kPeak);
}

// ---------------------------------------------------------------------------
// Both engines on the sample shapes.

bool EveryShape(const TShapeItem&) { return true; }

// The shapes of the full camera map with a window of at most 256 x 128
// pixels, and three larger windows: the 512 x 256 sky, the only 512 x 512
// window and a 256 x 256 one that runs through many fresh analyses. The
// literal runs of the other large windows at 40 dB take minutes.
bool InCameraSelection(const TShapeItem& item) {
  static const std::set<std::string> larger = {"Shape 9CD9CE", "Shape 30774D", "Shape A960E0"};
  return item.Shape->WindowSize() <= 256 * 128 || larger.count(item.Name) > 0;
}

struct CheckedSample {
  const char* Name;
  std::string Picture, Map;
  bool (*Checked)(const TShapeItem&);
  size_t CheckedShapes;
};

const CheckedSample kSamples[] = {
    {"camera_64x48", std::string(TVLC_TEST_DATA) + "/pictures/camera_64x48.bmp",
     std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp", EveryShape, 22},
    {"chelsea", std::string(TVLC_TEST_DATA) + "/pictures/chelsea_grey_301x203.bmp",
     std::string(TVLC_TEST_DATA) + "/maps/chelsea_grey_301x203_slic_grey8.bmp", EveryShape, 54},
    {"camera", std::string(TVLC_TEST_DATA) + "/../../samples/camera.bmp",
     std::string(TVLC_TEST_DATA) + "/../../samples/camera_felzenszwalb.bmp", InCameraSelection, 83},
};

class FastEngineOnSamples
    : public ::testing::TestWithParam<std::tuple<const CheckedSample*, double>> {};

TEST_P(FastEngineOnSamples, MakesTheLiteralChoicesAndSpectrum) {
  const auto [checked, request] = GetParam();
  const SampleShapes sample = LoadSampleShapes(checked->Picture, checked->Map);
  size_t shapes = 0;
  for (const TShapeItem& item : sample.Shapes) {
    if (!checked->Checked(item)) continue;
    ++shapes;
    const TVerdict verdict = CompareWithReference(AnalyzeShapeFastDct, JobOfShape(item), request);
    EXPECT_TRUE(verdict.Agrees) << verdict.Divergence;
  }
  EXPECT_EQ(shapes, checked->CheckedShapes);
}

INSTANTIATE_TEST_SUITE_P(Requests, FastEngineOnSamples,
                         ::testing::Combine(::testing::Values(&kSamples[0], &kSamples[1],
                                                              &kSamples[2]),
                                            ::testing::Values(30.0, 40.0)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)->Name) + "_" +
                                  std::to_string(int(std::get<1>(info.param))) + "dB";
                         });

// ---------------------------------------------------------------------------
// The edge cases of the engine.

constexpr uint16_t kW = 8;
constexpr uint16_t kH = 4;
constexpr size_t kN = size_t(kW) * kH;

TShapeData Pattern(size_t count, double phase = 0.0) {
  TShapeData data(count);
  for (size_t i = 0; i < count; ++i)
    data[i] = std::round(100.0 * std::sin(1.7 * double(i) + phase));
  return data;
}

// A region that is not a rectangle: pixels with x <= y + 2.
TShapeMask StaircaseMask() {
  TShapeMask mask(kN);
  for (uint16_t y = 0; y < kH; ++y)
    for (uint16_t x = 0; x < kW; ++x) mask[size_t(y) * kW + x] = x <= y + 2 ? 1 : 0;
  return mask;
}

bool AllZero(const TShapeData& data) {
  for (double value : data)
    if (value != 0.0) return false;
  return true;
}

void ExpectIdenticalData(const TShapeData& actual, const TShapeData& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "index " << i;
}

const TShape& ChelseaShape() {
  static const SampleShapes sample =
      LoadSampleShapes(std::string(TVLC_TEST_DATA) + "/pictures/chelsea_grey_301x203.bmp",
                       std::string(TVLC_TEST_DATA) + "/maps/chelsea_grey_301x203_slic_grey8.bmp");
  return *sample.Shapes.front().Shape;
}

bool DctIsIdle() { return DctIIDescriptor()->GetState() == 0; }

TEST(FastEngine, EmptyMaskRunsNoIterationAndReturnsTheStatusOfDone) {
  // An unlimited request enters the loop and finds no basis function on the
  // mask.
  for (double request : {1000.0, std::numeric_limits<double>::infinity()}) {
    const Expansion e = Expand(AnalyzeShapeFastDct, *DctIIDescriptor(), kW, kH, Pattern(kN),
                               TShapeMask(kN, 0), request);
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.spectrum.size(), kN);
    EXPECT_TRUE(AllZero(e.spectrum));
    EXPECT_TRUE(e.iterations.empty());
    EXPECT_TRUE(DctIsIdle());
  }
}

TEST(FastEngine, RequestAlreadyMetRunsNoIteration) {
  const TShapeMask mask = StaircaseMask();
  TShapeData input(kN);
  for (size_t p = 0; p < kN; ++p) input[p] = p % 3 == 0 ? 1.0 : -1.0;
  // Every mask pixel off by one: the PSNR starts at 10 log10(255^2).
  const double start = 10.0 * std::log10(65025.0);

  const Expansion met = Expand(AnalyzeShapeFastDct, *DctIIDescriptor(), kW, kH, input, mask, start);
  EXPECT_EQ(met.status, 0);
  EXPECT_TRUE(met.iterations.empty());
  EXPECT_TRUE(AllZero(met.spectrum));

  const Expansion justAbove = Expand(AnalyzeShapeFastDct, *DctIIDescriptor(), kW, kH, input, mask,
                                     std::nextafter(start, 100.0));
  ASSERT_FALSE(justAbove.iterations.empty());
  EXPECT_GT(justAbove.psnrs.front(), start);
  EXPECT_TRUE(DctIsIdle());
}

TEST(FastEngine, StopFlagEndsTheExpansionWithWhatItAccumulated) {
  const TShape& shape = ChelseaShape();
  // Past two fresh analyses, on a request no expansion reaches.
  const size_t stopAfter = 2 * kFreshAnalysisInterval + 5;
  const Expansion literal = ExpandShape(AnalyzeShapeLiteral, shape, 1000.0, stopAfter);
  const Expansion fast = ExpandShape(AnalyzeShapeFastDct, shape, 1000.0, stopAfter);
  ASSERT_EQ(fast.iterations.size(), stopAfter);
  EXPECT_EQ(fast.iterations.back(), int32_t(stopAfter));
  EXPECT_EQ(fast.status, 0);
  // The residual recorded only with a PSNR that met the request: never here.
  EXPECT_TRUE(fast.finalResidual.empty());
  ExpectSameExpansion(fast, literal);
  EXPECT_TRUE(DctIsIdle());
}

TEST(FastEngine, StoppedSpectrumIsTheLastNotifiedOne) {
  TShapeData notified;
  std::vector<int32_t> iterations;
  const TProgressHandler stopAtThree = [&](int32_t iteration, const TShapeData& spectrum, double,
                                           const TShapeData&, uint16_t, uint16_t, bool& stop) {
    notified = spectrum;
    iterations.push_back(iteration);
    stop = iteration == 3;
  };
  TShapeData coefficients = Pattern(kN);
  ASSERT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), kW, kH, coefficients, StaircaseMask(), 1000.0,
                                1, stopAtThree),
            0);
  EXPECT_EQ(iterations, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_FALSE(AllZero(coefficients));
  ExpectIdenticalData(coefficients, notified);
}

TEST(FastEngine, NotificationComesEveryIntervalIterations) {
  const TShape& shape = ChelseaShape();
  std::vector<int32_t> notified;
  const TProgressHandler record = [&](int32_t iteration, const TShapeData&, double,
                                      const TShapeData&, uint16_t, uint16_t, bool& stop) {
    notified.push_back(iteration);
    stop = iteration >= 12;
  };
  TShapeData coefficients = CentredShapePixels(shape);
  ASSERT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), uint16_t(shape.RoundedWidth()),
                                uint16_t(shape.RoundedHeight()), coefficients, WindowMask(shape),
                                1000.0, 4, record),
            0);
  EXPECT_EQ(notified, (std::vector<int32_t>{4, 8, 12}));
}

TEST(FastEngine, NotificationsDoNotChangeTheExpansion) {
  const TShape& shape = ChelseaShape();
  const auto w = uint16_t(shape.RoundedWidth()), h = uint16_t(shape.RoundedHeight());
  // Past a fresh analysis, which must see the residual of the iteration
  // before it whether a notification looked at it or not.
  constexpr int32_t kInterval = 7;
  constexpr int32_t kStop = kFreshAnalysisInterval + 45;
  static_assert(kStop % kInterval == 0 && kFreshAnalysisInterval % kInterval != 0);
  const Expansion everyIteration = ExpandShape(AnalyzeShapeFastDct, shape, 1000.0, kStop);

  int calls = 0;
  const TProgressHandler everySeventh = [&](int32_t iteration, const TShapeData&, double,
                                            const TShapeData&, uint16_t, uint16_t, bool& stop) {
    ++calls;
    stop = iteration >= kStop;
  };
  TShapeData coefficients = CentredShapePixels(shape);
  ASSERT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), w, h, coefficients, WindowMask(shape), 1000.0,
                                kInterval, everySeventh),
            0);
  EXPECT_EQ(calls, kStop / kInterval);
  ExpectIdenticalData(coefficients, everyIteration.spectrum);

  // Without a handler only the request ends the expansion.
  const Expansion notified = ExpandShape(AnalyzeShapeFastDct, shape, 30.0);
  coefficients = CentredShapePixels(shape);
  ASSERT_EQ(
      AnalyzeShapeFastDct(*DctIIDescriptor(), w, h, coefficients, WindowMask(shape), 30.0, 1, {}),
      0);
  ExpectIdenticalData(coefficients, notified.spectrum);
}

TEST(FastEngine, ExceptionFromTheNotificationGivesStatusOneAndZeroSpectrum) {
  int calls = 0;
  const TProgressHandler failing = [&](int32_t, const TShapeData&, double, const TShapeData&,
                                       uint16_t, uint16_t, bool&) {
    if (++calls == 2) throw std::bad_alloc();
  };
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), kW, kH, coefficients, StaircaseMask(), 1000.0,
                                1, failing),
            kEngineFailedStatus);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(coefficients.size(), kN);
  EXPECT_TRUE(AllZero(coefficients));
  // The module was released: the next analysis can initialise it.
  EXPECT_TRUE(DctIsIdle());
  coefficients = Pattern(kN);
  EXPECT_EQ(
      AnalyzeShapeFastDct(*DctIIDescriptor(), kW, kH, coefficients, StaircaseMask(), 30.0, 1, {}),
      0);
}

TEST(FastEngine, FailingInitIsReturnedWithTheCoefficientsUntouched) {
  const TShapeData input = Pattern(kN);
  // Not a power of two.
  TShapeData coefficients = Pattern(3 * kH);
  const TShapeData oddInput = coefficients;
  bool notified = false;
  const TProgressHandler note = [&](int32_t, const TShapeData&, double, const TShapeData&, uint16_t,
                                    uint16_t, bool&) { notified = true; };
  EXPECT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), 3, kH, coefficients, TShapeMask(3 * kH, 1),
                                1000.0, 1, note),
            TVLC_STATUS_INVALID_SIZE);
  ExpectIdenticalData(coefficients, oddInput);

  // Already initialised by someone else: the engine must leave that
  // initialisation alone, Done included.
  ASSERT_EQ(DctIIDescriptor()->Init(kW, kH), 0);
  coefficients = input;
  EXPECT_EQ(AnalyzeShapeFastDct(*DctIIDescriptor(), kW, kH, coefficients, StaircaseMask(), 1000.0,
                                1, note),
            TVLC_STATUS_ALREADY_INIT);
  ExpectIdenticalData(coefficients, input);
  EXPECT_EQ(DctIIDescriptor()->Done(), 0);
  EXPECT_FALSE(notified);
}

TEST(FastEngine, PixelsOutsideTheMaskDoNotMatterEvenWhenNotFinite) {
  const TShapeMask mask = StaircaseMask();
  const TShapeData clean = Pattern(kN, 0.4);
  TShapeData dirty = clean;
  for (size_t p = 0; p < kN; ++p)
    if (!mask[p])
      dirty[p] = p % 2 ? std::numeric_limits<double>::quiet_NaN()
                       : -std::numeric_limits<double>::infinity();

  for (TShapeAnalysis analysis : {AnalyzeShapeFastDct, AnalyzeShapeLiteral}) {
    bool residualOutsideAlwaysZero = true;
    const auto expand = [&](const TShapeData& input, Expansion& e) {
      e.spectrum = input;
      const TProgressHandler check = [&](int32_t, const TShapeData&, double psnr,
                                         const TShapeData& residual, uint16_t u, uint16_t v,
                                         bool&) {
        e.choices.emplace_back(u, v);
        e.psnrs.push_back(psnr);
        for (size_t p = 0; p < kN; ++p)
          if (!mask[p] && residual[p] != 0.0) residualOutsideAlwaysZero = false;
      };
      e.status = analysis(*DctIIDescriptor(), kW, kH, e.spectrum, mask, 40.0, 1, check);
    };
    Expansion fromClean, fromDirty;
    expand(clean, fromClean);
    expand(dirty, fromDirty);
    EXPECT_EQ(fromDirty.status, 0);
    EXPECT_FALSE(fromDirty.choices.empty());
    EXPECT_EQ(fromDirty.choices, fromClean.choices);
    EXPECT_EQ(fromDirty.psnrs, fromClean.psnrs);
    ExpectIdenticalData(fromDirty.spectrum, fromClean.spectrum);
    EXPECT_TRUE(residualOutsideAlwaysZero);
  }
}

// A module with the orthonormal DCT II computed by direct sums, which counts
// the engine's calls and fails on demand.
class FastEngineOnCountingModule : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }

  Expansion Run(double request) {
    return Expand(AnalyzeShapeFastDct, descriptor, kW, kH, Pattern(kN, 1.3), StaircaseMask(),
                  request);
  }

  TTransDescriptor descriptor = fake::Descriptor();
};

TEST_F(FastEngineOnCountingModule, KeepsTheBracketAndTheArrayLengths) {
  const Expansion e = Run(45.0);
  EXPECT_EQ(e.status, 0);
  EXPECT_FALSE(e.iterations.empty());
  EXPECT_EQ(fake::State().initCalls, 1);
  EXPECT_EQ(fake::State().doneCalls, 1);
  EXPECT_EQ(fake::State().basisNormsCalls, 1);
  EXPECT_FALSE(fake::State().calledOutsideBracket);
  EXPECT_FALSE(fake::State().wrongArrayLength);
  EXPECT_FALSE(fake::State().initialised);
}

// The iterations of an expansion on the counting module that began with an
// exact analysis of the residual, and how many Transform calls it made.
struct FreshAnalyses {
  std::vector<int32_t> iterations;
  int transformCalls = 0;
};

FreshAnalyses RecordFreshAnalyses(const TTransDescriptor& descriptor, uint16_t w, uint16_t h,
                                  const TShapeMask& mask, int32_t stopAt) {
  FreshAnalyses fresh;
  int transformsBefore = 0;
  const TProgressHandler record = [&](int32_t iteration, const TShapeData&, double,
                                      const TShapeData&, uint16_t, uint16_t, bool& stop) {
    if (fake::State().transformCalls > transformsBefore) fresh.iterations.push_back(iteration);
    transformsBefore = fake::State().transformCalls;
    stop = iteration >= stopAt;
  };
  TShapeData coefficients = Pattern(mask.size(), 1.3);
  EXPECT_EQ(AnalyzeShapeFastDct(descriptor, w, h, coefficients, mask, 1000.0, 1, record), 0);
  fresh.transformCalls = fake::State().transformCalls;
  return fresh;
}

TEST_F(FastEngineOnCountingModule, AnalysesTheResidualAfreshAtLeastEveryInterval) {
  // Larger than the windows analysed exactly in every iteration.
  constexpr uint16_t w = 32, h = 16;
  static_assert(size_t(w) * h > kExactAnalysisWindow);
  TShapeMask mask(size_t(w) * h);
  for (uint16_t y = 0; y < h; ++y)
    for (uint16_t x = 0; x < w; ++x) mask[size_t(y) * w + x] = x <= 2 * y + 3;
  constexpr int32_t kIterations = 2 * kFreshAnalysisInterval + 88;
  const FreshAnalyses fresh = RecordFreshAnalyses(descriptor, w, h, mask, kIterations);
  ASSERT_FALSE(fresh.iterations.empty());
  for (int32_t start : {1, kFreshAnalysisInterval + 1, 2 * kFreshAnalysisInterval + 1})
    EXPECT_NE(std::find(fresh.iterations.begin(), fresh.iterations.end(), start),
              fresh.iterations.end())
        << start;
  for (size_t i = 1; i < fresh.iterations.size(); ++i)
    EXPECT_LE(fresh.iterations[i] - fresh.iterations[i - 1], kFreshAnalysisInterval);
  // Mostly carried: this residual stays far above the noise floor.
  EXPECT_LT(fresh.iterations.size(), size_t(kIterations) / 4);
  // The mask's analysis besides the residual's, and for every fresh
  // analysis after the first the synthesis of the multiples taken since;
  // never a Basis call.
  EXPECT_EQ(fresh.transformCalls - fake::State().inverseTransformCalls,
            int(fresh.iterations.size()) + 1);
  EXPECT_EQ(fake::State().inverseTransformCalls, int(fresh.iterations.size()) - 1);
  EXPECT_EQ(fake::State().basisCalls, 0);
}

TEST_F(FastEngineOnCountingModule, SmallWindowsAreAnalysedExactlyInEveryIteration) {
  static_assert(kN <= kExactAnalysisWindow);
  const FreshAnalyses fresh = RecordFreshAnalyses(descriptor, kW, kH, StaircaseMask(), 40);
  ASSERT_EQ(fresh.iterations.size(), 40u);
  EXPECT_EQ(fresh.iterations.back(), 40);
  EXPECT_EQ(fresh.transformCalls, 41);
}

TEST_F(FastEngineOnCountingModule, ExceptionFromTransformGivesStatusOneAndZeroSpectrum) {
  for (int failingCall : {1, 2}) {
    fake::Reset();
    fake::State().throwOnTransformCall = failingCall;
    const Expansion e = Run(60.0);
    EXPECT_EQ(e.status, kEngineFailedStatus) << failingCall;
    EXPECT_EQ(e.spectrum.size(), kN);
    EXPECT_TRUE(AllZero(e.spectrum));
    EXPECT_EQ(fake::State().doneCalls, 1);
    EXPECT_FALSE(fake::State().initialised);
  }
}

TEST_F(FastEngineOnCountingModule, FailingDoneAfterACompleteAnalysisKeepsTheSpectrum) {
  const Expansion succeeded = Run(35.0);
  ASSERT_EQ(succeeded.status, 0);
  fake::Reset();
  fake::State().doneStatus = 5;
  const Expansion failed = Run(35.0);
  EXPECT_EQ(failed.status, 5);
  ExpectIdenticalData(failed.spectrum, succeeded.spectrum);
}

TEST_F(FastEngineOnCountingModule, InitFailureCallsNothingElse) {
  fake::State().initStatus = 6;
  const TShapeData input = Pattern(kN, 1.3);
  const Expansion e = Run(60.0);
  EXPECT_EQ(e.status, 6);
  ExpectIdenticalData(e.spectrum, input);
  EXPECT_TRUE(e.iterations.empty());
  EXPECT_EQ(fake::State().doneCalls, 0);
  EXPECT_EQ(fake::State().transformCalls, 0);
  EXPECT_EQ(fake::State().basisNormsCalls, 0);
}

// ---------------------------------------------------------------------------
// The choice of engine.

TEST(EngineChoice, AnalysisWithTheBuiltInDctIIRunsTheFastEngine) {
  const TShape& shape = ChelseaShape();
  const auto viaEntry = [](const TTransDescriptor& descriptor, uint16_t w, uint16_t h,
                           TShapeData& coefficients, const TShapeMask& mask, double request,
                           uint16_t interval, const TProgressHandler& onProgress) {
    return TransformShape(&descriptor, w, h, coefficients, false, mask, request, interval,
                          onProgress);
  };
  // Long enough for the engines to differ in the last bits.
  const size_t stopAfter = kFreshAnalysisInterval + 5;
  const Expansion entry = ExpandShape(viaEntry, shape, 1000.0, stopAfter);
  const Expansion fast = ExpandShape(AnalyzeShapeFastDct, shape, 1000.0, stopAfter);
  EXPECT_EQ(entry.choices, fast.choices);
  EXPECT_EQ(entry.psnrs, fast.psnrs);
  ExpectIdenticalData(entry.spectrum, fast.spectrum);

  // Any other descriptor, even a copy of the DCT II's, runs the literal one.
  const TTransDescriptor copy = *DctIIDescriptor();
  const auto w = uint16_t(shape.RoundedWidth()), h = uint16_t(shape.RoundedHeight());
  const Expansion copied =
      Expand(viaEntry, copy, w, h, CentredShapePixels(shape), WindowMask(shape), 1000.0, stopAfter);
  const Expansion literal = Expand(AnalyzeShapeLiteral, copy, w, h, CentredShapePixels(shape),
                                   WindowMask(shape), 1000.0, stopAfter);
  EXPECT_EQ(copied.psnrs, literal.psnrs);
  ExpectIdenticalData(copied.spectrum, literal.spectrum);
}

TEST(EngineChoice, ArraysThatDoNotFitTheWindowAreRefusedBeforeInit) {
  TShapeData coefficients = Pattern(kN);
  EXPECT_EQ(TransformShape(DctIIDescriptor(), kW, kH, coefficients, false, TShapeMask(kN - 1, 1),
                           30.0, 1, {}),
            TVLC_STATUS_LENGTH_MISMATCH);
  TShapeData shortSpectrum = Pattern(kN - 1);
  EXPECT_EQ(TransformShape(DctIIDescriptor(), kW, kH, shortSpectrum, false, TShapeMask(kN, 1), 30.0,
                           1, {}),
            TVLC_STATUS_LENGTH_MISMATCH);
  ExpectIdenticalData(coefficients, Pattern(kN));
  EXPECT_TRUE(DctIsIdle());
}

}  // namespace
}  // namespace tvlc
