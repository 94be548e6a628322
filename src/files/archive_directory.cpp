#include "files/archive_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/archive_format.h"

ArchiveFile::~ArchiveFile() { Close(); }

bool ArchiveFile::Open(const char* path) {
  Close();
  // Non-blocking, so that a named pipe given as an archive cannot stall the lookup.
  const int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return false;
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  size_ = info.st_size;
  return true;
}

void ArchiveFile::Close() {
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
  size_ = 0;
}

bool ArchiveFile::ReadAt(std::int64_t position, void* buffer, std::size_t count) const {
  if (descriptor_ < 0 || position < 0 || position > size_) return false;
  if (static_cast<std::uint64_t>(size_ - position) < count) return false;
  auto* target = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    const ssize_t got = pread(descriptor_, target, count, position);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    target += got;
    position += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

ArchiveTrailer ReadArchiveTrailer(const ArchiveFile& file) {
  ArchiveTrailer trailer;
  unsigned char bytes[kArchiveTrailerSize];
  if (!file.ReadAt(file.Size() - static_cast<std::int64_t>(kArchiveTrailerSize), bytes, sizeof bytes)) {
    trailer.status = TrailerStatus::kShortRead;
    return trailer;
  }
  if (std::memcmp(bytes, kArchiveMagic, kArchiveMagicSize) != 0) {
    trailer.status = TrailerStatus::kWrongMagic;
    return trailer;
  }
  trailer.status = TrailerStatus::kValid;
  trailer.directoryOffset = static_cast<std::int32_t>(ReadLittleEndian32(bytes + kArchiveMagicSize));
  return trailer;
}

ArchiveDirectoryReader::ArchiveDirectoryReader(const ArchiveFile& file, std::int32_t directoryOffset)
    : file_(file),
      directoryOffset_(directoryOffset),
      position_(directoryOffset >= 0 ? directoryOffset : file.Size() + directoryOffset) {
  ended_ = position_ < 0 || position_ >= file.Size();
}

bool ArchiveDirectoryReader::ReadBytes(void* target, std::size_t count) {
  auto* out = static_cast<unsigned char*>(target);
  while (count > 0) {
    if (used_ == filled_) {
      position_ += static_cast<std::int64_t>(filled_);
      const std::int64_t left = file_.Size() - position_;
      if (left <= 0) return false;
      const std::size_t want = left < static_cast<std::int64_t>(kBufferSize) ? static_cast<std::size_t>(left)
                                                                            : kBufferSize;
      if (!file_.ReadAt(position_, buffer_, want)) return false;
      used_ = 0;
      filled_ = want;
    }
    const std::size_t take = std::min(count, filled_ - used_);
    std::memcpy(out, buffer_ + used_, take);
    used_ += take;
    out += take;
    count -= take;
  }
  return true;
}

bool ArchiveDirectoryReader::Next(ArchiveEntry& entry) {
  if (ended_) return false;
  unsigned char length = 0;
  char name[kArchiveMaxNameLength];
  unsigned char fields[kArchiveEntryFieldsSize];
  if (!ReadBytes(&length, 1) || length == 0 || !ReadBytes(name, length) || !ReadBytes(fields, sizeof fields)) {
    ended_ = true;
    return false;
  }
  entry.name.assign(name, length);
  entry.offset = static_cast<std::int32_t>(ReadLittleEndian32(fields));
  entry.packedSize = ReadLittleEndian32(fields + 4);
  entry.position = ArchivePosition(file_.Size(), directoryOffset_, entry.offset);
  return true;
}

std::string_view RequestBaseName(std::string_view request) {
  const std::size_t separator = request.find_last_of("/\\");
  return separator == std::string_view::npos ? request : request.substr(separator + 1);
}

bool NamesMatchIgnoringCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(left[i]);
    unsigned char b = static_cast<unsigned char>(right[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

MemberSearch FindArchiveMember(const ArchiveFile& file, std::int32_t directoryOffset,
                               std::string_view baseName, ArchiveEntry& found) {
  ArchiveDirectoryReader reader(file, directoryOffset);
  while (reader.Next(found)) {
    if (NamesMatchIgnoringCase(found.name, baseName)) return MemberSearch::kFound;
  }
  return MemberSearch::kNotFound;
}
