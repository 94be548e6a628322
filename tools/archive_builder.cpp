#include "archive_builder.h"

#include <lzo/lzo1x.h>

#include <limits>

#include "files/archive_format.h"

namespace {

void AppendLittleEndian32(std::vector<unsigned char>& bytes, std::uint32_t value) {
  unsigned char field[4];
  WriteLittleEndian32(field, value);
  bytes.insert(bytes.end(), field, field + 4);
}

}  // namespace

std::vector<unsigned char> PackMemberData(const std::vector<unsigned char>& data) {
  static const bool ready = lzo_init() == LZO_E_OK;
  if (!ready || data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return {};

  // The worst case of LZO1X on incompressible input: n + n/16 + 64 + 3 bytes.
  std::vector<unsigned char> packed(kArchiveMemberHeaderSize + data.size() + data.size() / 16 + 64 + 3);
  std::vector<unsigned char> workMemory(LZO1X_999_MEM_COMPRESS);
  lzo_uint streamLength = 0;
  if (lzo1x_999_compress(data.data(), data.size(), packed.data() + kArchiveMemberHeaderSize, &streamLength,
                         workMemory.data()) != LZO_E_OK) {
    return {};
  }
  WriteLittleEndian32(packed.data(), static_cast<std::uint32_t>(data.size()));
  packed.resize(kArchiveMemberHeaderSize + streamLength);
  return packed;
}

bool BuildArchive(const std::vector<ArchiveInput>& members, bool appended, std::vector<unsigned char>& archive,
                  std::string& error) {
  archive.clear();
  struct Placed {
    std::uint64_t position;
    std::uint64_t packedSize;
  };
  std::vector<Placed> placed;
  for (const ArchiveInput& member : members) {
    if (member.name.empty() || member.name.size() > kArchiveMaxNameLength) {
      error = "member name must be 1 to 255 bytes long: \"" + member.name + "\"";
      return false;
    }
    if (member.name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
      error = "member name must not contain '/', '\\' or a zero byte: \"" + member.name + "\"";
      return false;
    }
    std::vector<unsigned char> packed = PackMemberData(member.data);
    if (packed.empty()) {
      error = "cannot compress \"" + member.name + "\"";
      return false;
    }
    placed.push_back({archive.size(), packed.size()});
    archive.insert(archive.end(), packed.begin(), packed.end());
  }

  std::uint64_t directorySize = 1;
  for (const ArchiveInput& member : members) directorySize += 1 + member.name.size() + kArchiveEntryFieldsSize;
  const std::uint64_t directoryPosition = archive.size();
  const std::uint64_t total = directoryPosition + directorySize + kArchiveTrailerSize;
  if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    error = "the archive would exceed 2 GiB, more than its 32-bit offsets can address";
    return false;
  }

  // Appended archives count back from the end of the combined file, which is the end
  // of these bytes whatever their distance from the start.
  const auto stored = [&](std::uint64_t position) {
    return appended ? static_cast<std::uint32_t>(static_cast<std::int64_t>(position) - static_cast<std::int64_t>(total))
                    : static_cast<std::uint32_t>(position);
  };
  for (std::size_t i = 0; i < members.size(); ++i) {
    archive.push_back(static_cast<unsigned char>(members[i].name.size()));
    archive.insert(archive.end(), members[i].name.begin(), members[i].name.end());
    AppendLittleEndian32(archive, stored(placed[i].position));
    AppendLittleEndian32(archive, static_cast<std::uint32_t>(placed[i].packedSize));
  }
  archive.push_back(0);
  archive.insert(archive.end(), kArchiveMagic, kArchiveMagic + kArchiveMagicSize);
  AppendLittleEndian32(archive, stored(directoryPosition));
  return true;
}
