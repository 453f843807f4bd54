// DCT II analysis and synthesis through the built-in descriptor's Transform
// slot, beside FFTW's REDFT10 / REDFT01 of the same block (FFTW_MEASURE
// plans, in place) as the yardstick for the fast DCT.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <random>

#include "model/Arrays.h"
#include "transform/DCTII.h"

namespace {

using tvlc::TShapeData;

void FillRandom(double* data, size_t count) {
  std::mt19937 random(1);
  std::uniform_real_distribution<double> value(-128.0, 128.0);
  for (size_t i = 0; i < count; ++i) data[i] = value(random);
}

void DctThroughSlot(benchmark::State& state, uint32_t inverse) {
  const auto n = uint32_t(state.range(0));
  TTransDescriptor& dct = *tvlc::DctIIDescriptor();
  if (dct.Init(n, n) != 0) {
    state.SkipWithError("Init failed");
    return;
  }
  TShapeData block(size_t{n} * n);
  FillRandom(block.data(), block.size());
  for (auto _ : state) {
    // orthonormal, so repeating it in place keeps the values in range
    dct.Transform(inverse, block.data());
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  if (dct.Done() != 0) state.SkipWithError("a transform failed");
}

void FftwInPlace(benchmark::State& state, fftw_r2r_kind kind) {
  const auto n = int(state.range(0));
  const size_t count = size_t(n) * n;
  double* block = fftw_alloc_real(count);
  const fftw_plan plan = fftw_plan_r2r_2d(n, n, block, block, kind, kind, FFTW_MEASURE);
  FillRandom(block, count);
  // FFTW does not normalise, so repeated runs grow the values until they
  // overflow; infinities and NaNs cost the SSE units no extra time (only
  // subnormals would), so the timing stays that of ordinary data.
  for (auto _ : state) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(block);
    benchmark::ClobberMemory();
  }
  fftw_destroy_plan(plan);
  fftw_free(block);
}

void BM_DctAnalysis(benchmark::State& state) { DctThroughSlot(state, 0); }
void BM_DctSynthesis(benchmark::State& state) { DctThroughSlot(state, 1); }
void BM_FftwRedft10(benchmark::State& state) { FftwInPlace(state, FFTW_REDFT10); }
void BM_FftwRedft01(benchmark::State& state) { FftwInPlace(state, FFTW_REDFT01); }

BENCHMARK(BM_DctAnalysis)->RangeMultiplier(2)->Range(8, 512);
BENCHMARK(BM_FftwRedft10)->RangeMultiplier(2)->Range(8, 512);
BENCHMARK(BM_DctSynthesis)->RangeMultiplier(2)->Range(8, 512);
BENCHMARK(BM_FftwRedft01)->RangeMultiplier(2)->Range(8, 512);

}  // namespace
