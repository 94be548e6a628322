#include "archive_fixture.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/temp_directory.h"

std::string LittleEndian32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

std::string PackedMember(const std::string& data) {
  if (lzo_init() != LZO_E_OK) throw std::runtime_error("lzo_init failed");
  std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
  std::string stream(data.size() + data.size() / 16 + 64 + 3, '\0');
  lzo_uint length = 0;
  lzo1x_1_compress(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                   reinterpret_cast<unsigned char*>(stream.data()), &length, work.data());
  stream.resize(length);
  return LittleEndian32(static_cast<std::uint32_t>(data.size())) + stream;
}

std::string DirectoryBytes(const std::vector<RawEntry>& entries) {
  std::string bytes;
  for (const RawEntry& entry : entries) {
    bytes += static_cast<char>(entry.name.size());
    bytes += entry.name;
    bytes += LittleEndian32(static_cast<std::uint32_t>(entry.offset));
    bytes += LittleEndian32(entry.packedSize);
  }
  return bytes + '\0';
}

std::string TrailerBytes(std::int32_t directoryOffset) {
  return "vtL" + LittleEndian32(static_cast<std::uint32_t>(directoryOffset));
}

namespace {

std::string BuildArchive(const std::string& prefix, const std::vector<TestMember>& members, bool appended) {
  std::string body;
  std::vector<RawEntry> entries;
  std::vector<std::int64_t> positions;
  for (const TestMember& member : members) {
    const std::string packed = PackedMember(member.data);
    positions.push_back(static_cast<std::int64_t>(body.size()));
    entries.push_back({member.name, 0, static_cast<std::uint32_t>(packed.size())});
    body += packed;
  }
  const std::int64_t directoryPosition = static_cast<std::int64_t>(body.size());
  const std::int64_t total = directoryPosition + static_cast<std::int64_t>(DirectoryBytes(entries).size()) + 7;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].offset = static_cast<std::int32_t>(appended ? positions[i] - total : positions[i]);
  }
  const auto directoryOffset = static_cast<std::int32_t>(appended ? directoryPosition - total : directoryPosition);
  return prefix + body + DirectoryBytes(entries) + TrailerBytes(directoryOffset);
}

}  // namespace

std::string StandAloneArchive(const std::vector<TestMember>& members) { return BuildArchive("", members, false); }

std::string AppendedArchive(const std::string& prefix, const std::vector<TestMember>& members) {
  return BuildArchive(prefix, members, true);
}

std::string PictureLikeData(std::size_t size, unsigned seed) {
  std::string data(size, '\0');
  unsigned state = seed;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    // Smooth gradients with a little noise, as in a drawn picture's rows.
    data[i] = static_cast<char>((i / 3 % 640) / 4 + (i / 1920) % 64 + ((state >> 16) & 3));
  }
  return data;
}

ArchiveLookupTest::ArchiveLookupTest() {
  temporaryDirectory = PreparePrivateDirectory(scratch.Path());
  if (temporaryDirectory.empty()) throw std::runtime_error("no private temporary directory");
}

std::string ArchiveLookupTest::WriteScratchFile(const std::string& name, const std::string& contents) {
  scratch.WriteFile(name, contents);
  return scratch.Path() + "/" + name;
}

std::string ArchiveLookupTest::Read(const std::string& path) const {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

bool ArchiveLookupTest::FileExists(const std::string& path) const {
  std::error_code ignored;
  return std::filesystem::symlink_status(path, ignored).type() != std::filesystem::file_type::not_found;
}

void ArchiveLookupTest::SelectScratchArchive(const std::string& name, const std::string& contents) {
  SelectArchiveSlot(slot, WriteScratchFile(name, contents).c_str());
}

int ArchiveLookupTest::Resolve(const std::string& request) {
  std::strcpy(result, "untouched");
  return ResolveResourceFileIn(slot, request.c_str(), result, temporaryDirectory);
}

std::vector<std::string> ArchiveLookupTest::TemporaryFiles() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(temporaryDirectory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
