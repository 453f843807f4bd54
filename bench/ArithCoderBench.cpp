// Throughput of the arithmetic coder on a stream shaped like quantized
// spectra: a two-sided geometric (discrete Laplacian) distribution of values,
// so that zeros dominate and large values are rare, with an end-of-shape
// symbol after every shape of about 500 values.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "files/ArithCoder.h"

namespace tvlc {
namespace {

constexpr size_t kStreamSymbols = 4'000'000;

struct TSyntheticStream {
  TSymbolTable Table;
  std::vector<size_t> Positions;
  std::vector<uint8_t> Coded;
};

const TSyntheticStream& Stream() {
  static const TSyntheticStream stream = [] {
    TSyntheticStream s;
    std::mt19937 rng(2024);
    std::geometric_distribution<int32_t> magnitude(0.35);
    std::uniform_int_distribution<int> shapeLength(400, 600);
    std::vector<int32_t> identities;
    identities.reserve(kStreamSymbols);
    while (identities.size() < kStreamSymbols) {
      for (int n = shapeLength(rng); n > 0; --n) {
        const int32_t value = magnitude(rng);
        identities.push_back(s.Table.CountSymbol(rng() & 1 ? value : -value));
      }
      identities.push_back(s.Table.CountEndOfShape());
    }
    s.Table.BuildCumulative();
    for (int32_t identity : identities) s.Positions.push_back(size_t(s.Table.PositionOf(identity)));
    TArithEncoder encoder(s.Table, s.Coded);
    for (size_t p : s.Positions) encoder.EncodeSymbol(p);
    encoder.FinishEncoding();
    return s;
  }();
  return stream;
}

void BM_ArithEncode(benchmark::State& state) {
  const TSyntheticStream& s = Stream();
  std::vector<uint8_t> out;
  out.reserve(s.Coded.size());
  for (auto _ : state) {
    out.clear();
    TArithEncoder encoder(s.Table, out);
    for (size_t p : s.Positions) encoder.EncodeSymbol(p);
    encoder.FinishEncoding();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(s.Positions.size()));
  state.counters["bits_per_symbol"] = double(s.Coded.size() * 8) / double(s.Positions.size());
  state.counters["table_entries"] = double(s.Table.Size());
}

void BM_ArithDecode(benchmark::State& state) {
  const TSyntheticStream& s = Stream();
  for (auto _ : state) {
    TArithDecoder decoder(s.Table, s.Coded.data(), s.Coded.size());
    decoder.StartDecoding();
    size_t checksum = 0;
    for (size_t i = 0; i < s.Positions.size(); ++i) checksum += decoder.DecodeSymbol();
    benchmark::DoNotOptimize(checksum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(s.Positions.size()));
}

BENCHMARK(BM_ArithEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArithDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvlc
