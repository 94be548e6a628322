// Resolving a 16 MiB archive member against the limit set by its two unavoidable costs:
// liblzo2 decoding the same stream and writing the bytes to a file in the same folder.
// Compare the two bytes_per_second figures of one run; the lookup should reach at least
// 0.9 of the limit.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <lzo/lzo1x.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/temp_directory.h"
#include "files/archive.h"
#include "files/archive_format.h"
#include "files/archive_member.h"

namespace {

constexpr std::size_t kMemberSize = 16u << 20;

// A 2048 x 2048 RGBA picture: smooth gradients, a few shapes and light noise, which
// packs about as well as the drawn pictures games ship.
std::vector<unsigned char> DrawPicture() {
  std::vector<unsigned char> pixels(kMemberSize);
  std::uint32_t state = 12345;
  for (std::size_t y = 0; y < 2048; ++y) {
    for (std::size_t x = 0; x < 2048; ++x) {
      unsigned char* pixel = &pixels[(y * 2048 + x) * 4];
      state = state * 1664525u + 1013904223u;
      const int noise = (state >> 29) == 0 ? 1 : 0;
      const bool disc = (x - 1400) * (x - 1400) + (y - 600) * (y - 600) < 300 * 300;
      pixel[0] = static_cast<unsigned char>(disc ? 240 : x / 8 + noise);
      pixel[1] = static_cast<unsigned char>(disc ? 230 : y / 8);
      pixel[2] = static_cast<unsigned char>(disc ? 200 : 128 + noise);
      pixel[3] = 255;
    }
  }
  return pixels;
}

// The archive, its folder and the packed stream, made once for every benchmark.
struct Fixture {
  Fixture() {
    // The system's temporary folder (TMPDIR when set).
    std::string pattern = (std::filesystem::temp_directory_path() / "archive-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root = pattern;
    temporary = PreparePrivateDirectory(root);
    if (temporary.empty() || lzo_init() != LZO_E_OK) std::abort();

    const std::vector<unsigned char> picture = DrawPicture();
    std::vector<unsigned char> work(LZO1X_999_MEM_COMPRESS);
    stream.resize(picture.size() + picture.size() / 16 + 64 + 3);
    lzo_uint length = 0;
    lzo1x_999_compress(picture.data(), picture.size(), stream.data(), &length, work.data());
    stream.resize(length);

    // [unpacked size][stream][directory: "picture.bmp" at 0][trailer]
    std::string archive(4, '\0');
    WriteLittleEndian32(reinterpret_cast<unsigned char*>(archive.data()), kMemberSize);
    archive.append(reinterpret_cast<const char*>(stream.data()), stream.size());
    const auto packedSize = static_cast<std::uint32_t>(archive.size());
    unsigned char fields[8];
    WriteLittleEndian32(fields, 0);
    WriteLittleEndian32(fields + 4, packedSize);
    archive += '\x0b';
    archive += "picture.bmp";
    archive.append(reinterpret_cast<const char*>(fields), 8);
    archive += '\0';
    unsigned char offset[4];
    WriteLittleEndian32(offset, packedSize);
    archive += "vtL";
    archive.append(reinterpret_cast<const char*>(offset), 4);
    archivePath = root + "/bench.vtl";
    std::FILE* file = std::fopen(archivePath.c_str(), "wb");
    if (!file || std::fwrite(archive.data(), 1, archive.size(), file) != archive.size()) std::abort();
    std::fclose(file);
  }
  ~Fixture() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root, temporary, archivePath;
  std::vector<unsigned char> stream;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ResolveArchiveMember(benchmark::State& state) {
  Fixture& fixture = Shared();
  ArchiveSlot slot;
  SelectArchiveSlot(slot, fixture.archivePath.c_str());
  char result[kArchivePathCapacity];
  for (auto _ : state) {
    if (ResolveResourceFileIn(slot, "pictures/picture.bmp", result, fixture.temporary) != 1) {
      state.SkipWithError("lookup failed");
      break;
    }
  }
  SelectArchiveSlot(slot, "");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMemberSize));
  state.counters["ratio"] = static_cast<double>(kMemberSize) / static_cast<double>(fixture.stream.size() + 4);
}

// The limit: decoding into a buffer that already exists, then replacing a file of the
// same kind in the same folder. No directory walk, no allocation, no archive reads.
void BM_DecodeAndWriteLimit(benchmark::State& state) {
  Fixture& fixture = Shared();
  std::unique_ptr<unsigned char[]> output(new unsigned char[kMemberSize]);
  const std::string path = fixture.temporary + "limit.bmp";
  for (auto _ : state) {
    lzo_uint produced = kMemberSize;
    if (lzo1x_decompress_safe(fixture.stream.data(), fixture.stream.size(), output.get(), &produced, nullptr) !=
            LZO_E_OK ||
        !WriteTemporaryFile(path, output.get(), produced)) {
      state.SkipWithError("decode or write failed");
      break;
    }
  }
  unlink(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMemberSize));
}

// Wall-clock time: writing the file is part of the cost, and it is not all CPU time.
// Disk write-back makes single runs noisy; compare medians, best with
// --benchmark_enable_random_interleaving=true so both see the same conditions.
BENCHMARK(BM_DecodeAndWriteLimit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Repetitions(5);
BENCHMARK(BM_ResolveArchiveMember)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Repetitions(5);

}  // namespace
