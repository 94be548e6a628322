// File-system commands: wildcard matching, listing a large folder, copying a large file
// (against the C++ library's own copy as the reference), and binding a cached library
// function.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/runtime_array.h"
#include "files/disk_files.h"
#include "files/file_listing.h"
#include "files/library_binding.h"
#include "files/wildcard_match.h"

namespace {

// A private folder under the temporary directory, removed at the end.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "engine-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~BenchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void BM_MatchWildcardTypical(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(MatchWildcard("*.png", "background_level_12.PNG"));
    benchmark::DoNotOptimize(MatchWildcard("level??.dat", "level07.dat"));
  }
}
BENCHMARK(BM_MatchWildcardTypical);

// Many near misses: every star is retried along a long name.
void BM_MatchWildcardBacktracking(benchmark::State& state) {
  const std::string name(static_cast<std::size_t>(state.range(0)), 'a');
  for (auto _ : state) benchmark::DoNotOptimize(MatchWildcard("*a*a*a*b", name));
}
BENCHMARK(BM_MatchWildcardBacktracking)->Arg(64)->Arg(255);

void BM_GetFileList(benchmark::State& state) {
  BenchFolder folder;
  for (int i = 0; i < state.range(0); ++i) {
    std::ofstream(folder.Path() / ("file" + std::to_string(i) + (i % 2 ? ".png" : ".txt"))) << "x";
  }
  for (int i = 0; i < 20; ++i) std::filesystem::create_directory(folder.Path() / ("dir" + std::to_string(i)));
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  StringArray list;
  for (auto _ : state) benchmark::DoNotOptimize(GetFileList("*.png", list));
  std::filesystem::current_path(previous);
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 22));
}
BENCHMARK(BM_GetFileList)->Arg(2000)->Unit(benchmark::kMicrosecond);

void CopyBench(benchmark::State& state, bool reference) {
  BenchFolder folder;
  const std::filesystem::path source = folder.Path() / "source.bin";
  const std::filesystem::path target = folder.Path() / "target.bin";
  const std::string bytes(16u << 20, 'z');
  std::ofstream(source, std::ios::binary) << bytes;
  for (auto _ : state) {
    if (reference) {
      std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
    } else {
      CopyFileContents(source.c_str(), target.c_str());
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
void BM_CopyDiskFile16MiB(benchmark::State& state) { CopyBench(state, false); }
void BM_ReferenceCopyFile16MiB(benchmark::State& state) { CopyBench(state, true); }
BENCHMARK(BM_CopyDiskFile16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceCopyFile16MiB)->Unit(benchmark::kMillisecond);

void BM_BindCachedLibraryFunction(benchmark::State& state) {
  for (auto _ : state) {
    BasicString library("libc.so.6");
    void* address = nullptr;
    BindLibraryFunction(library, "strlen", address);
    benchmark::DoNotOptimize(address);
  }
}
BENCHMARK(BM_BindCachedLibraryFunction);

}  // namespace
