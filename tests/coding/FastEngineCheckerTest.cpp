// The fast DCT II engine judged by the engine checker against the reference
// engine: on pictures made to meet exact ties and the rounding noise floor,
// on the small photograph at requests up to and past the noise floor, on
// shapes of one pixel, one row and one column, and when it cannot get its
// memory. The checker itself must catch and explain a divergence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EngineChecker.h"
#include "HeapProbe.h"
#include "SampleShapes.h"
#include "coding/FastDctEngine.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

std::string Data(const std::string& name) { return std::string(TVLC_TEST_DATA) + "/" + name; }

void ExpectAgreement(const std::vector<TWindowJob>& jobs, double request) {
  for (const TWindowJob& job : jobs) {
    const TVerdict verdict = CompareWithReference(AnalyzeShapeFastDct, job, request);
    EXPECT_TRUE(verdict.Agrees) << verdict.Divergence;
  }
}

// ---------------------------------------------------------------------------
// Exact ties and the noise floor.

struct EngineCase {
  const char* Picture;
  const char* Map;
};

const EngineCase kEngineCases[] = {
    {"engine/prod8.bmp", "engine/map8.bmp"},
    {"engine/checker8.bmp", "engine/map8.bmp"},
    {"engine/flat16.bmp", "engine/lmap16.bmp"},
};

class CheckerOnEnginePictures
    : public ::testing::TestWithParam<std::tuple<const EngineCase*, double>> {};

TEST_P(CheckerOnEnginePictures, FastEngineAgreesWithTheReference) {
  const auto [pictures, request] = GetParam();
  ExpectAgreement(JobsOfSample(Data(pictures->Picture), Data(pictures->Map)), request);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CheckerOnEnginePictures,
    ::testing::Combine(::testing::Values(&kEngineCases[0], &kEngineCases[1], &kEngineCases[2]),
                       ::testing::Values(19.0, 20.0, 30.0, 40.0, 100.0, 150.0, 200.0, 300.0,
                                         400.0, 1000.0, 1e20)),
    [](const auto& info) {
      std::string name = std::get<0>(info.param)->Picture;
      name = name.substr(name.find('/') + 1);
      name = name.substr(0, name.find('.'));
      const double request = std::get<1>(info.param);
      return name + "_" + (request >= 1e6 ? std::string("1e20") : std::to_string(int(request))) +
             "dB";
    });

// The reference engine on the transposed window: on symmetric content it
// takes (v, u) where the reference takes (u, v).
uint8_t TransposedReference(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                            TShapeData& coefficients, const TShapeMask& mask, double request,
                            uint16_t interval, const TProgressHandler& onProgress) {
  const auto transpose = [&](auto& data) {
    auto copy = data;
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) data[size_t(x) * height + y] = copy[size_t(y) * width + x];
  };
  TShapeMask transposedMask = mask;
  transpose(transposedMask);
  transpose(coefficients);
  const TProgressHandler swapped = [&](int32_t i, const TShapeData& s, double psnr,
                                       const TShapeData& r, uint16_t u, uint16_t v, bool& stop) {
    onProgress(i, s, psnr, r, v, u, stop);
  };
  const uint8_t status = AnalyzeShapeLiteral(descriptor, height, width, coefficients,
                                             transposedMask, request, interval, swapped);
  transpose(coefficients);
  return status;
}

// A window larger than those analysed exactly in every iteration, with
// prod8's kind of content: the product g(x) g(y) / 100, symmetric under
// transposition, on the whole window and on a mask that is symmetric too.
// At 64 x 64 the twins (u, v) and (v, u) of a pair mostly lie in different
// blocks of the block analysis.
TWindowJob SymmetricProduct(bool triangle, uint16_t n = 32) {
  TWindowJob job{triangle ? "triangle" : "square", n, n, TShapeMask(size_t(n) * n, 1),
                 TShapeData(size_t(n) * n)};
  const auto g = [](int i) { return std::round(110.0 * std::sin(0.9 * i + 0.3)); };
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const size_t p = size_t(y) * n + x;
      job.Pixels[p] = std::clamp(std::round(g(x) * g(y) / 100.0), -128.0, 127.0);
      if (triangle && x + y >= n) job.Mask[p] = 0, job.Pixels[p] = 0.0;
    }
  return job;
}

// Exact twins are a tie only as far as the residual is bit for bit
// symmetric; in windows of this size the two engines' residuals differ by
// the rounding of their projection coefficients, so each engine may take
// either twin of a pair. What the fast engine guarantees is the choice of
// the reference's rule on the exact analysis of its own residual, the
// lowest index among ties there included.
TEST(CheckerOnSymmetricContent, FastEngineChoosesByTheRuleOnItsOwnResidual) {
  for (uint16_t n : {32, 64})
    for (bool triangle : {false, true})
      for (double request : {30.0, 60.0, 150.0}) {
        const TVerdict verdict =
            CheckOwnChoices(AnalyzeShapeFastDct, SymmetricProduct(triangle, n), request);
        EXPECT_TRUE(verdict.Agrees) << n << " " << triangle << " " << request << ": "
                                    << verdict.Divergence;
        EXPECT_GT(verdict.CandidateIterations, 10u);
      }
}

TEST(CheckerOnSymmetricContent, CatchesAChoiceAgainstTheRule) {
  // The reference on the transposed window takes the other twin of the
  // first exact tie of the triangle.
  const TVerdict verdict = CheckOwnChoices(TransposedReference, SymmetricProduct(true), 30.0);
  EXPECT_FALSE(verdict.Agrees);
  EXPECT_NE(verdict.Divergence.find("where the exact analysis of its residual gives"),
            std::string::npos)
      << verdict.Divergence;
}

// ---------------------------------------------------------------------------
// The small photograph.

const std::vector<TWindowJob>& SmallCamera() {
  static const std::vector<TWindowJob> jobs =
      JobsOfSample(Data("pictures/camera_64x48.bmp"), Data("maps/camera_64x48_felzenszwalb.bmp"));
  return jobs;
}

class CheckerOnSmallCamera : public ::testing::TestWithParam<double> {};

TEST_P(CheckerOnSmallCamera, FastEngineAgreesWithTheReference) {
  ASSERT_EQ(SmallCamera().size(), 22u);
  ExpectAgreement(SmallCamera(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Requests, CheckerOnSmallCamera,
                         ::testing::Values(20.0, 100.0, 150.0, 200.0),
                         [](const auto& info) { return std::to_string(int(info.param)) + "dB"; });

// Past the noise floor both engines run until the residual's energy
// underflows; the shapes with windows of up to 1024 coefficients keep that
// within seconds.
class CheckerOnSmallCameraPastTheNoiseFloor : public ::testing::TestWithParam<double> {};

TEST_P(CheckerOnSmallCameraPastTheNoiseFloor, FastEngineKeepsToTheIterationRule) {
  size_t checked = 0;
  for (const TWindowJob& job : SmallCamera()) {
    if (job.Pixels.size() > 1024) continue;
    ++checked;
    const TVerdict verdict = CompareWithReference(AnalyzeShapeFastDct, job, GetParam());
    EXPECT_TRUE(verdict.Agrees) << verdict.Divergence;
  }
  EXPECT_GE(checked, 5u);
}

INSTANTIATE_TEST_SUITE_P(Requests, CheckerOnSmallCameraPastTheNoiseFloor,
                         ::testing::Values(300.0, 1000.0, 1e20), [](const auto& info) {
                           return info.param >= 1e6 ? std::string("1e20dB")
                                                    : std::to_string(int(info.param)) + "dB";
                         });

// ---------------------------------------------------------------------------
// Shapes of one pixel, one row and one column.

// A map over the 512 x 512 camera picture: label 1 everywhere but a single
// pixel, a stretch of one row and a stretch of one column, the stretches
// long enough for windows beyond those analysed exactly in every iteration.
std::vector<TWindowJob> ThinShapes() {
  const SampleShapes camera = LoadSampleShapes(Data("../../samples/camera.bmp"),
                                               Data("../../samples/camera_felzenszwalb.bmp"));
  auto labels =
      std::make_shared<std::vector<int32_t>>(size_t(camera.PicWidth) * camera.PicHeight, 1);
  const auto at = [&](int x, int y) -> int32_t& {
    return (*labels)[size_t(y) * camera.PicWidth + x];
  };
  at(50, 40) = 2;                                // one pixel
  for (int x = 100; x < 400; ++x) at(x, 200) = 3;  // one row of 300 pixels
  for (int y = 150; y < 450; ++y) at(300, y) = 4;  // one column of 300 pixels
  std::vector<TWindowJob> jobs;
  for (const TShapeItem& item : LocateShapes(labels, camera.PicWidth, camera.PicHeight,
                                             camera.PicData, camera.PicWidth))
    if (item.Shape->PointCount <= 300) jobs.push_back(JobOfShape(item));
  return jobs;
}

TEST(CheckerOnThinShapes, FastEngineAgreesWithTheReference) {
  const std::vector<TWindowJob> jobs = ThinShapes();
  ASSERT_EQ(jobs.size(), 3u);
  std::vector<std::pair<int, int>> windows;
  for (const TWindowJob& job : jobs) windows.emplace_back(job.Width, job.Height);
  std::sort(windows.begin(), windows.end());
  EXPECT_EQ(windows, (std::vector<std::pair<int, int>>{{1, 1}, {1, 512}, {512, 1}}));
  for (double request : {20.0, 40.0, 100.0, 200.0, 1000.0, 1e20}) ExpectAgreement(jobs, request);
}

// ---------------------------------------------------------------------------
// Without memory for its own arrays the fast engine hands the work to the
// reference engine, whose result it gives bit for bit.

void ExpectIdentical(const TExpansion& a, const TExpansion& b) {
  EXPECT_EQ(a.Status, b.Status);
  EXPECT_EQ(a.Choices, b.Choices);
  EXPECT_EQ(a.PSNRs, b.PSNRs);
  ASSERT_EQ(a.Spectrum.size(), b.Spectrum.size());
  EXPECT_TRUE(std::equal(a.Spectrum.begin(), a.Spectrum.end(), b.Spectrum.begin()));
}

// The fast engine with `count` allocations of at least `bytes` refused
// after `spared` granted ones; the recording itself allocates less.
TExpansion ExpandWithRefusal(const TWindowJob& job, double request, size_t bytes, size_t spared,
                             size_t count) {
  TExpansion e;
  e.Spectrum = job.Pixels;
  e.Choices.reserve(1000);
  e.PSNRs.reserve(1000);
  const TProgressHandler record = [&](int32_t, const TShapeData&, double psnr, const TShapeData&,
                                      uint16_t u, uint16_t v, bool&) {
    e.Choices.push_back(uint32_t(v) * job.Width + u);
    e.PSNRs.push_back(psnr);
  };
  const heap_probe::TRefusal refusal(bytes, spared, count);
  e.Status = AnalyzeShapeFastDct(*DctIIDescriptor(), job.Width, job.Height, e.Spectrum, job.Mask,
                                 request, 1, record);
  EXPECT_GE(heap_probe::Refusals(), 1u);
  return e;
}

TEST(CheckerWithoutMemory, FastEngineFallsBackToTheReference) {
  if (!heap_probe::Installed()) GTEST_SKIP() << "no heap probe in this build";
  // The largest window of the small photograph; its arrays are the only
  // allocations of 32 KiB and more.
  const TWindowJob* job = &SmallCamera().front();
  for (const TWindowJob& candidate : SmallCamera())
    if (candidate.Pixels.size() > job->Pixels.size()) job = &candidate;
  ASSERT_EQ(job->Pixels.size(), 4096u);
  const size_t arrayBytes = job->Pixels.size() * sizeof(double);
  const TExpansion reference = Expand(AnalyzeShapeLiteral, *job, 35.0);
  ASSERT_EQ(reference.Status, 0);
  ASSERT_FALSE(reference.Choices.empty());

  // The fast engine makes four arrays: refuse each in turn, the reference's
  // three then granted.
  for (size_t spared = 0; spared < 4; ++spared) {
    SCOPED_TRACE("arrays granted before the refusal: " + std::to_string(spared));
    const TExpansion fast = ExpandWithRefusal(*job, 35.0, arrayBytes, spared, 1);
    ExpectIdentical(fast, reference);
    EXPECT_EQ(DctIIDescriptor()->GetState(), 0);
  }

  // Without memory for the reference either: status 1 and a zero spectrum,
  // as when the reference runs out.
  {
    const TExpansion fast = ExpandWithRefusal(*job, 35.0, arrayBytes, 0, SIZE_MAX);
    EXPECT_EQ(fast.Status, kEngineFailedStatus);
    EXPECT_TRUE(fast.Choices.empty());
    EXPECT_TRUE(std::all_of(fast.Spectrum.begin(), fast.Spectrum.end(),
                            [](double c) { return c == 0.0; }));
  }
  // Enough memory again: the fast engine's own expansion.
  EXPECT_TRUE(CompareWithReference(AnalyzeShapeFastDct, *job, 35.0).Agrees);
}

// ---------------------------------------------------------------------------
// The checker catches a divergence and gives its cause.

TEST(EngineChecker, ReportsATieDecidedTheOtherWayWithBothGains) {
  const std::vector<TWindowJob> jobs =
      JobsOfSample(Data("engine/prod8.bmp"), Data("engine/map8.bmp"));
  const TVerdict verdict = CompareWithReference(TransposedReference, jobs[0], 30.0);
  EXPECT_FALSE(verdict.Agrees);
  EXPECT_NE(verdict.Divergence.find("reference chose (6,5)"), std::string::npos)
      << verdict.Divergence;
  EXPECT_NE(verdict.Divergence.find("candidate (5,6)"), std::string::npos) << verdict.Divergence;
  EXPECT_NE(verdict.Divergence.find("; gap "), std::string::npos) << verdict.Divergence;
}

TEST(EngineChecker, ReportsALaterStopAndARunawayPastTheNoiseFloor) {
  const TWindowJob& job = SmallCamera().front();
  const TExpansion reference = Expand(AnalyzeShapeLiteral, job, 30.0);
  ASSERT_GE(reference.Choices.size(), 3u);
  // One iteration more than the reference.
  const TExpansion longer = Expand(AnalyzeShapeLiteral, job, reference.PSNRs.back() + 1e-9);
  TVerdict verdict = CompareExpansions(longer, reference, job, 30.0);
  EXPECT_FALSE(verdict.Agrees);
  EXPECT_NE(verdict.Divergence.find("stopped after " + std::to_string(reference.Choices.size() + 1)),
            std::string::npos)
      << verdict.Divergence;

  // Past the noise floor only the count matters.
  TExpansion runaway = reference;
  runaway.Choices.resize(2 * reference.Choices.size() + job.Pixels.size() + 1);
  runaway.PSNRs.resize(runaway.Choices.size(), reference.PSNRs.back());
  verdict = CompareExpansions(runaway, reference, job, 30.0);
  EXPECT_FALSE(verdict.Agrees);
  EXPECT_TRUE(CompareExpansions(reference, reference, job, 1000.0).Agrees);
  runaway.PSNRs.back() = 1000.0;
  TExpansion reached = reference;
  reached.PSNRs.back() = 1000.0;
  EXPECT_FALSE(CompareExpansions(runaway, reached, job, 1000.0).Agrees);
  runaway.Choices.pop_back();
  runaway.PSNRs.pop_back();
  runaway.PSNRs.back() = 1000.0;
  EXPECT_TRUE(CompareExpansions(runaway, reached, job, 1000.0).Agrees);
}

}  // namespace
}  // namespace tvlc
