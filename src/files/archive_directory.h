#pragma once
// Reading an archive file: its trailer and its directory. Knows nothing of loaders or
// temporary files; the writer tool lists and extracts with the same code.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A read-only archive file. Only regular files open: a folder (start-up selects the
// executable's folder) or a device is "cannot be opened".
class ArchiveFile {
 public:
  ArchiveFile() = default;
  ~ArchiveFile();
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return descriptor_ >= 0; }
  std::int64_t Size() const { return size_; }
  // Reads exactly count bytes at position; false when the file holds fewer there.
  bool ReadAt(std::int64_t position, void* buffer, std::size_t count) const;

 private:
  int descriptor_ = -1;
  std::int64_t size_ = 0;
};

enum class TrailerStatus {
  kValid,       // magic present; directoryOffset is set
  kShortRead,   // the file is too short to hold the 7 trailer bytes
  kWrongMagic,  // the last 7 bytes do not start with "vtL"
};

struct ArchiveTrailer {
  TrailerStatus status = TrailerStatus::kShortRead;
  std::int32_t directoryOffset = 0;
};

ArchiveTrailer ReadArchiveTrailer(const ArchiveFile& file);

struct ArchiveEntry {
  std::string name;
  std::int32_t offset = 0;       // as stored
  std::uint32_t packedSize = 0;  // as stored
  std::int64_t position = 0;     // offset resolved to a position from the start
};

// Walks the directory entry by entry. The walk ends at the terminating zero byte, and
// also where the file ends or the directory position lies outside the file: a damaged
// directory simply ends early.
class ArchiveDirectoryReader {
 public:
  ArchiveDirectoryReader(const ArchiveFile& file, std::int32_t directoryOffset);
  // Fills entry with the next entry; false at the end of the directory.
  bool Next(ArchiveEntry& entry);

 private:
  bool ReadBytes(void* target, std::size_t count);

  static constexpr std::size_t kBufferSize = 4096;
  const ArchiveFile& file_;
  std::int32_t directoryOffset_;
  std::int64_t position_;  // file position of buffer_[0]
  std::size_t used_ = 0;   // bytes of buffer_ already consumed
  std::size_t filled_ = 0; // bytes of buffer_ holding file data
  bool ended_ = false;
  unsigned char buffer_[kBufferSize];
};

// The part of a request after its last '/' or '\' (all of it when it has neither).
std::string_view RequestBaseName(std::string_view request);
// ASCII letters compare without regard to case; every other byte must match exactly.
bool NamesMatchIgnoringCase(std::string_view left, std::string_view right);

enum class MemberSearch { kFound, kNotFound };
// The first directory entry whose name matches baseName.
MemberSearch FindArchiveMember(const ArchiveFile& file, std::int32_t directoryOffset,
                               std::string_view baseName, ArchiveEntry& found);
