#include "sound/sound_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/archive.h"

std::string ResolveSoundFile(const char* fileName) {
  std::string path;
  return ResolveLoaderPath(fileName, path) ? path : std::string(fileName);
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReadSoundFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (path.empty()) return false;
  // O_NONBLOCK keeps a FIFO from blocking the open; the regular-file check refuses it.
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file < 0) return false;
  struct stat info {};
  bool ok = fstat(file, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<std::uint64_t>(info.st_size) <= kMaxSoundFileBytes;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = read(file, bytes.data() + done, bytes.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    // A file that shrank while it was read is taken as it now ends.
    bytes.resize(done);
  }
  close(file);
  if (!ok) bytes.clear();
  return ok;
}
