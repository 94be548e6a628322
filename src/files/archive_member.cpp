#include "files/archive_member.h"

#include <fcntl.h>
#include <unistd.h>

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "files/archive_format.h"

namespace {

// The first output buffer: what ordinary game data (pictures, sounds) unpacks to, plus a
// little for tiny members.
constexpr std::size_t kFirstOutputFactor = 8;
constexpr std::size_t kFirstOutputExtra = 4096;

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

}  // namespace

UnpackStatus UnpackMemberData(const unsigned char* memberData, std::size_t packedSize, UnpackedMember& member) {
  member = UnpackedMember{};
  if (packedSize < kArchiveMemberHeaderSize || !LzoReady()) return UnpackStatus::kDamagedMember;
  const auto unpackedSize = static_cast<std::int32_t>(ReadLittleEndian32(memberData));
  const std::size_t streamLength = packedSize - kArchiveMemberHeaderSize;
  if (unpackedSize < 0 || static_cast<std::uint64_t>(unpackedSize) > kLzo1xMaxExpansion * streamLength) {
    return UnpackStatus::kDamagedMember;
  }

  // The stated size is only a claim: the output starts at what typical data expands to
  // and doubles each time the stream really fills it, decoding again from the start, so
  // memory follows what the stream produces (at most twice that) rather than the claim.
  const auto stated = static_cast<std::size_t>(unpackedSize);
  std::size_t capacity = std::min<std::size_t>(stated, kFirstOutputFactor * streamLength + kFirstOutputExtra);
  for (;;) {
    // Not value-initialised: the decoder writes every byte it reports.
    member.bytes.reset(new unsigned char[capacity + 1]);
    lzo_uint produced = static_cast<lzo_uint>(capacity);
    const int outcome = lzo1x_decompress_safe(memberData + kArchiveMemberHeaderSize, streamLength,
                                              member.bytes.get(), &produced, nullptr);
    if (outcome == LZO_E_OUTPUT_OVERRUN && capacity < stated) {
      capacity = capacity > stated / 2 ? stated : capacity * 2;
      continue;
    }
    member.length = produced <= static_cast<lzo_uint>(capacity) ? produced : 0;
    member.complete = outcome == LZO_E_OK && member.length == stated;
    return UnpackStatus::kUnpacked;
  }
}

UnpackStatus UnpackArchiveMember(const ArchiveFile& file, const ArchiveEntry& entry, UnpackedMember& member) {
  member = UnpackedMember{};
  if (entry.packedSize < kArchiveMemberHeaderSize || entry.position < 0 ||
      entry.position > file.Size() || file.Size() - entry.position < entry.packedSize) {
    return UnpackStatus::kDamagedMember;
  }
  // A member too large for the memory left counts as damaged: the loader finds no file.
  try {
    std::unique_ptr<unsigned char[]> packed(new unsigned char[entry.packedSize]);
    if (!file.ReadAt(entry.position, packed.get(), entry.packedSize)) return UnpackStatus::kDamagedMember;
    return UnpackMemberData(packed.get(), entry.packedSize, member);
  } catch (const std::bad_alloc&) {
    member = UnpackedMember{};
    return UnpackStatus::kDamagedMember;
  }
}

std::string TemporaryFileName(const std::string& directory, std::int32_t offset, std::uint32_t packedSize,
                              std::string_view memberName) {
  std::string path = directory;
  path += "vtl";
  path += static_cast<char>('A' + static_cast<std::uint32_t>(offset) % 26);
  path += static_cast<char>('A' + packedSize % 26);
  path += memberName;
  return path;
}

bool WriteTemporaryFile(const std::string& path, const unsigned char* bytes, std::size_t length) {
  if (unlink(path.c_str()) != 0 && errno != ENOENT) return false;
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (descriptor < 0) return false;
  bool written = true;
  while (length > 0) {
    const ssize_t put = write(descriptor, bytes, length);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      written = false;
      break;
    }
    bytes += put;
    length -= static_cast<std::size_t>(put);
  }
  if (close(descriptor) != 0) written = false;
  return written;
}
