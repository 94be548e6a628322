// Array resizing and element access at the sizes games use for maps and grids.

#include <benchmark/benchmark.h>

#include "core/runtime_array.h"

namespace {

// A filled 1000 x 1000 array grown to 1001 x 1000: every row moves.
void RedimArrayMillion(benchmark::State& state) {
  NumberArray grid;
  for (auto _ : state) {
    state.PauseTiming();
    DimArray(grid, 1000, 1000);
    for (int i = 0; i < 1000 * 1000; ++i) grid.data[i] = i;
    state.ResumeTiming();
    RedimArray(grid, 1001, 1000);
    benchmark::DoNotOptimize(grid.data);
  }
  state.SetBytesProcessed(state.iterations() * 1000 * 1000 * static_cast<int64_t>(sizeof(double)));
}
BENCHMARK(RedimArrayMillion)->Unit(benchmark::kMillisecond);

// The same array shrunk in its second dimension and grown in its first.
void RedimArrayReshape(benchmark::State& state) {
  NumberArray grid;
  for (auto _ : state) {
    state.PauseTiming();
    DimArray(grid, 1000, 1000);
    state.ResumeTiming();
    RedimArray(grid, 1200, 800);
    benchmark::DoNotOptimize(grid.data);
  }
}
BENCHMARK(RedimArrayReshape)->Unit(benchmark::kMillisecond);

// Checked element access over a whole 1000 x 1000 array.
void ArrayElementSweep(benchmark::State& state) {
  NumberArray grid;
  DimArray(grid, 1000, 1000);
  for (auto _ : state) {
    double sum = 0;
    for (int y = 0; y < 1000; ++y) {
      for (int x = 0; x < 1000; ++x) sum += ArrayElement(grid, x, y);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 1000);
}
BENCHMARK(ArrayElementSweep)->Unit(benchmark::kMillisecond);

}  // namespace
