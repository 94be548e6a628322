// Loading a model of 100,352 triangles in 10 frames (a 224 x 224 grid of rippling
// squares, each triangle its own polygon, in 128 colours: slots index colours by a byte) into an object slot: from its binary file and
// from its text form, beside plainly reading the same file's bytes into memory. The
// text figures report the parser's throughput in bytes per second, alone and with the
// expansion and packing of every frame. Every load of the slot also builds the triangle
// vertices of all ten frames (88 bytes each, about 265 MB), which dominates it.

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "files/plain_file.h"
#include "gfx3d/model_file.h"
#include "gfx3d/model_text.h"
#include "gfx3d/object_slots.h"

namespace {

constexpr int kGrid = 224;  // cells per side, two triangles each
constexpr int kFrames = 10;

struct ModelFiles {
  ModelFiles() {
    char pattern[] = "/tmp/model-bench-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    folder = pattern;
    text = folder + "/grid.txt";
    binary = folder + "/grid.ddd";
    WriteText();
    MeshObjectX object;
    if (!LoadModelFile(object, text.c_str(), false) || !SaveModelFile(object, binary.c_str())) std::abort();
  }
  ~ModelFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  void WriteText() const {
    std::string out = "DDDA 1.1\n# a rippling grid\n";
    constexpr int side = kGrid + 1;
    char line[160];
    out += std::to_string(side * side) + "\n";
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        std::snprintf(line, sizeof line, "%.5f %.5f\n", x / double(kGrid), y / double(kGrid));
        out += line;
      }
    }
    out += std::to_string(kGrid * kGrid * 2) + "\n";
    for (int y = 0; y < kGrid; ++y) {
      for (int x = 0; x < kGrid; ++x) {
        const int a = y * side + x, b = a + 1, c = a + side, d = c + 1;
        std::snprintf(line, sizeof line, "%d %d %d 3 %d %d %d %d %d %d\n%d %d %d 3 %d %d %d %d %d %d\n", x % 8 * 32,
                      y % 8 * 32, 128, a, a, b, b, d, d, x % 8 * 32, y % 8 * 32, 64, a, a, d, d, c, c);
        out += line;
      }
    }
    out += std::to_string(kFrames) + "\n";
    for (int f = 0; f < kFrames; ++f) {
      out += std::to_string(side * side) + "\n";
      for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
          const double height = std::sin(x * 0.1 + f * 0.6) * std::cos(y * 0.1);
          std::snprintf(line, sizeof line, "%d %d %.4f 0 0 1\n", x, y, height);
          out += line;
        }
      }
    }
    if (!ReplaceFileContents(text, out)) std::abort();
  }

  std::string folder, text, binary;
};

const ModelFiles& Files() {
  static const ModelFiles files;
  return files;
}

void ReadBytes(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void LoadSlot(benchmark::State& state, const std::string& path) {
  static ObjectSlots slots;
  for (auto _ : state) {
    if (!LoadObjectSlot(slots, 0, path.c_str(), -1)) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
  state.counters["triangles"] = static_cast<double>(slots.slots[0].objects[0]->frames[0].triangleVertices.size() / 3);
}

void LoadModel(benchmark::State& state, const std::string& path) {
  MeshObjectX object;
  for (auto _ : state) {
    if (!LoadModelFile(object, path.c_str(), false)) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// The text reader alone, on bytes already in memory: tokens to numbers and lists.
void BM_ParseTextModel(benchmark::State& state) {
  const std::string bytes = *ReadWholeFile(Files().text);
  TextModel model;
  for (auto _ : state) {
    if (!LoadTextModel({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, model)) {
      state.SkipWithError("parse failed");
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_ReadBinaryFileBytes(benchmark::State& state) { ReadBytes(state, Files().binary); }
void BM_LoadModelFileBinary(benchmark::State& state) { LoadModel(state, Files().binary); }
void BM_LoadObjectBinary(benchmark::State& state) { LoadSlot(state, Files().binary); }
void BM_ReadTextFileBytes(benchmark::State& state) { ReadBytes(state, Files().text); }
void BM_LoadModelFileText(benchmark::State& state) { LoadModel(state, Files().text); }
void BM_LoadObjectText(benchmark::State& state) { LoadSlot(state, Files().text); }

}  // namespace

BENCHMARK(BM_ReadBinaryFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadModelFileBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadObjectBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadModelFileText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseTextModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadObjectText)->Unit(benchmark::kMillisecond);
