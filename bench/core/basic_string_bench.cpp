// Text building: the engine's string beside std::string doing the same work.

#include <benchmark/benchmark.h>

#include <string>

#include "core/basic_string.h"

namespace {

constexpr int kAppends = 1'000'000;

void AppendCharBasicString(benchmark::State& state) {
  for (auto _ : state) {
    BasicString text;
    for (int i = 0; i < kAppends; ++i) text += "x";
    benchmark::DoNotOptimize(text.Data());
  }
}
BENCHMARK(AppendCharBasicString)->Unit(benchmark::kMillisecond);

void AppendCharStdString(benchmark::State& state) {
  for (auto _ : state) {
    std::string text;
    for (int i = 0; i < kAppends; ++i) text += "x";
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(AppendCharStdString)->Unit(benchmark::kMillisecond);

// A typical status line: texts and numbers concatenated, as compiled games build them.
void ConcatenateBasicString(benchmark::State& state) {
  double score = 12345;
  int lives = 3;
  for (auto _ : state) {
    BasicString line = BasicString("Score: ") + score + " Lives: " + lives + " Time: " + 12.5;
    benchmark::DoNotOptimize(line.Data());
    score += 1;
  }
}
BENCHMARK(ConcatenateBasicString);

std::string FormatLikeTheEngine(double value) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.10g", value);
  return digits;
}

void ConcatenateStdString(benchmark::State& state) {
  double score = 12345;
  int lives = 3;
  for (auto _ : state) {
    std::string line = std::string("Score: ") + FormatLikeTheEngine(score) + " Lives: " + std::to_string(lives) +
                       " Time: " + FormatLikeTheEngine(12.5);
    benchmark::DoNotOptimize(line.data());
    score += 1;
  }
}
BENCHMARK(ConcatenateStdString);

}  // namespace
