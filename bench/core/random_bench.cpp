// Random draws: every draw runs a whole ISAAC round of 256 words.

#include <benchmark/benchmark.h>

#include "core/random_generator.h"

namespace {

void RandomIntDraws(benchmark::State& state) {
  SeedRandom(12345);
  double sum = 0;
  for (auto _ : state) sum += RandomInt(1000);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RandomIntDraws);

}  // namespace
