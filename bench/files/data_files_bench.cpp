// Throughput of the data-file commands a game calls in loops: byte and line reads on a
// channel, byte writes, and parsing a large settings file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/basic_string.h"
#include "files/file_channel_commands.h"
#include "files/game_files.h"
#include "files/settings_syntax.h"

namespace {

std::string BenchFile(const char* name) { return "/tmp/bench-" + std::to_string(getpid()) + "-" + name; }

void WriteFileBytes(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

void ReadByteLoop(benchmark::State& state) {
  const std::string path = BenchFile("bytes.bin");
  const auto size = static_cast<std::size_t>(state.range(0));
  WriteFileBytes(path, std::string(size, 'x'));
  for (auto _ : state) {
    OpenFileChannel(0, path.c_str(), 1);
    double value = 0;
    for (std::size_t i = 0; i < size; ++i) ReadByte(0, value);
    benchmark::DoNotOptimize(value);
  }
  CloseFileChannel(0);
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(ReadByteLoop)->Arg(1 << 20);

void ReadLineLoop(benchmark::State& state) {
  const std::string path = BenchFile("lines.txt");
  std::string contents;
  for (int i = 0; i < 20000; ++i) contents += "player " + std::to_string(i) + " scored 12345 points\r\n";
  WriteFileBytes(path, contents);
  for (auto _ : state) {
    OpenFileChannel(0, path.c_str(), 1);
    BasicString line;
    for (int i = 0; i < 20000; ++i) ReadLine(0, line);
    benchmark::DoNotOptimize(line.Data());
  }
  CloseFileChannel(0);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(ReadLineLoop);

void WriteByteLoop(benchmark::State& state) {
  const std::string path = BenchFile("written.bin");
  const auto size = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    OpenFileChannel(1, path.c_str(), 0);
    for (std::size_t i = 0; i < size; ++i) WriteByte(1, static_cast<double>(i & 0xFF));
    CloseFileChannel(1);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(WriteByteLoop)->Arg(64 << 10);

void ParseSettings(benchmark::State& state) {
  std::string text;
  for (int section = 0; section < 200; ++section) {
    text += "[Section" + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 50; ++key) text += "key" + std::to_string(key) + " = value " + std::to_string(key) + "\r\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(ParseSettingsText(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseSettings);

// A hostile file: megabytes with no line feed at all, cut into 1024-byte pieces. Costs
// about what the same bytes in short lines cost.
void ParseSettingsWithoutLineFeeds(benchmark::State& state) {
  const std::string text(static_cast<std::size_t>(state.range(0)), 'k');
  for (auto _ : state) benchmark::DoNotOptimize(ParseSettingsText(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseSettingsWithoutLineFeeds)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
