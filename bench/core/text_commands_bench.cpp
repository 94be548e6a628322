// Splitting and rewriting large texts.

#include <benchmark/benchmark.h>

#include <string>

#include "core/text_commands.h"

namespace {

// About 1 MB of comma-separated fields of 9 or 10 bytes: about 100,000 tokens.
BasicString CommaSeparatedMegabyte() {
  std::string text;
  for (int i = 0; text.size() < 1'000'000; ++i) text += "field" + std::to_string(i % 10000) + ",";
  return BasicString(text);
}

void SplitTextMegabyte(benchmark::State& state) {
  const BasicString text = CommaSeparatedMegabyte();
  StringArray tokens;
  double count = 0;
  for (auto _ : state) count = SplitText(text, tokens, BasicString(","));
  state.counters["tokens"] = count;
  state.SetBytesProcessed(state.iterations() * text.Length());
}
BENCHMARK(SplitTextMegabyte)->Unit(benchmark::kMillisecond);

// The same split into a fresh array each time (no buffers to reuse).
void SplitTextMegabyteFreshArray(benchmark::State& state) {
  const BasicString text = CommaSeparatedMegabyte();
  for (auto _ : state) {
    StringArray tokens;
    benchmark::DoNotOptimize(SplitText(text, tokens, BasicString(",")));
  }
  state.SetBytesProcessed(state.iterations() * text.Length());
}
BENCHMARK(SplitTextMegabyteFreshArray)->Unit(benchmark::kMillisecond);

// Every comma replaced by two bytes: about 100,000 replacements that change the length.
void ReplaceTextMegabyte(benchmark::State& state) {
  const BasicString text = CommaSeparatedMegabyte();
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(text, BasicString(","), BasicString(";;")).Length());
  state.SetBytesProcessed(state.iterations() * text.Length());
}
BENCHMARK(ReplaceTextMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
