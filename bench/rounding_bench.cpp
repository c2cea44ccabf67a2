#include <benchmark/benchmark.h>

#include "foundation/rounding.h"

static void BM_RoundDouble(benchmark::State& state) {
  double v = 0.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RoundDouble(v));
    v += 0.5;
  }
}
BENCHMARK(BM_RoundDouble);
