// The Hartley module's Transform on square blocks, loaded the way the
// program loads it; each iteration transforms a fresh copy of the block, as
// the coding engine does with the residual.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <random>
#include <string>

#include "model/Arrays.h"
#include "tvlc/module.h"

namespace tvlc {
namespace {

TTransDescriptor* LoadHartley() {
  static TTransDescriptor* descriptor = [] () -> TTransDescriptor* {
    const std::string path = std::string(TVLC_BIN_DIR) + "/tr_veska.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    auto getHeader = reinterpret_cast<TGetModuleHeaderProc>(dlsym(library, "GetModuleHeader"));
    TModuleHeader* header = getHeader ? getHeader() : nullptr;
    return header ? header->GetTransformation(0) : nullptr;
  }();
  return descriptor;
}

void BM_HartleyTransform(benchmark::State& state) {
  TTransDescriptor* hartley = LoadHartley();
  if (!hartley) {
    state.SkipWithError("tr_veska.so not found beside the benchmark");
    return;
  }
  const auto side = static_cast<uint32_t>(state.range(0));
  if (hartley->Init(side, side) != 0) {
    state.SkipWithError("Init failed");
    return;
  }
  std::mt19937 random(5);
  std::uniform_real_distribution<double> value(-128.0, 127.0);
  TShapeData block(size_t{side} * side);
  for (double& v : block) v = value(random);
  TShapeData work(block.size());
  for (auto _ : state) {
    std::copy(block.begin(), block.end(), work.begin());
    hartley->Transform(0, work.data());
    benchmark::DoNotOptimize(work.data());
  }
  hartley->Done();
  state.SetItemsProcessed(state.iterations() * int64_t(block.size()));
}
BENCHMARK(BM_HartleyTransform)->RangeMultiplier(2)->Range(8, 512);

}  // namespace
}  // namespace tvlc
