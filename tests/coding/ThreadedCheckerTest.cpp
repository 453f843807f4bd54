// The engine checker run on several threads at once, each with its own
// transform state as the workers of Encode All have it: the fast engine must
// still agree with the reference on every shape, and every verdict must be
// the one a single thread reaches.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "EngineChecker.h"
#include "coding/FastDctEngine.h"
#include "transform/TransformState.h"

namespace tvlc {
namespace {

std::string Data(const std::string& name) { return std::string(TVLC_TEST_DATA) + "/" + name; }

TEST(ThreadedCheckerTest, FastEngineAgreesWithTheReferenceOnEveryThread) {
  std::vector<TWindowJob> jobs =
      JobsOfSample(Data("pictures/camera_64x48.bmp"), Data("maps/camera_64x48_felzenszwalb.bmp"));
  for (TWindowJob& job : JobsOfSample(Data("engine/prod8.bmp"), Data("engine/map8.bmp")))
    jobs.push_back(std::move(job));
  ASSERT_GT(jobs.size(), 22u);
  const double requests[] = {30.0, 150.0};

  struct TCase {
    const TWindowJob* Job;
    double Request;
    TVerdict Verdict;
  };
  std::vector<TCase> cases;
  for (const TWindowJob& job : jobs)
    for (double request : requests) cases.push_back({&job, request, {}});

  constexpr size_t kThreads = 3;
  std::vector<std::thread> threads;
  for (size_t t = 0; t < kThreads; ++t)
    threads.emplace_back([&cases, t] {
      TBoundTransformState state;
      for (size_t i = t; i < cases.size(); i += kThreads)
        cases[i].Verdict = CompareWithReference(AnalyzeShapeFastDct, *cases[i].Job, cases[i].Request);
    });
  for (std::thread& thread : threads) thread.join();

  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Job->Name + " at " + std::to_string(c.Request) + " dB");
    EXPECT_TRUE(c.Verdict.Agrees) << c.Verdict.Divergence;
    EXPECT_GT(c.Verdict.ReferenceIterations, 0u);
    // The same verdict as on this (the process-wide) state alone.
    const TVerdict alone = CompareWithReference(AnalyzeShapeFastDct, *c.Job, c.Request);
    EXPECT_EQ(c.Verdict.CandidateIterations, alone.CandidateIterations);
    EXPECT_EQ(c.Verdict.ReferenceIterations, alone.ReferenceIterations);
  }
}

}  // namespace
}  // namespace tvlc
