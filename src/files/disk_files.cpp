#include "files/disk_files.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kCopyBlockSize = 4096;

// Opens without waiting: a pipe without a writer (or, for writing, without a reader)
// would otherwise block the game for good. Later reads and writes wait as usual.
int OpenWithoutWaiting(const char* name, int flags, mode_t mode = 0) {
  const int file = open(name, flags | O_NONBLOCK | O_CLOEXEC, mode);
  if (file >= 0) fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK);
  return file;
}

// Opens for reading. A directory counts as unopenable, as it does for plain file opening
// on other systems (reading one would only fail later here). With regularOnly, so does
// anything but a regular file: a device or pipe as copy source may never end.
int OpenReadableFile(const char* name, bool regularOnly) {
  const int file = OpenWithoutWaiting(name, O_RDONLY);
  if (file < 0) return -1;
  struct stat info {};
  if (fstat(file, &info) != 0 || S_ISDIR(info.st_mode) || (regularOnly && !S_ISREG(info.st_mode))) {
    close(file);
    return -1;
  }
  return file;
}

// Reads up to count bytes, continuing after short reads; -1 on a read error.
long ReadBlock(int file, char* buffer, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = read(file, buffer + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long>(done);
}

bool WriteBlock(int file, const char* buffer, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = write(file, buffer + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool CopyBlocks(int source, int target) {
  char block[kCopyBlockSize];
  for (;;) {
    const long got = ReadBlock(source, block, sizeof block);
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteBlock(target, block, static_cast<std::size_t>(got))) return false;
    if (static_cast<std::size_t>(got) < sizeof block) return true;
  }
}

}  // namespace

bool CopyFileContents(const char* sourceName, const char* targetName) {
  const int source = OpenReadableFile(sourceName, true);
  if (source < 0) return false;
  struct stat sourceInfo {};
  fstat(source, &sourceInfo);

  // The target is opened without truncation first: truncating a target that is the
  // source itself (the same name, or a hard link) would destroy the data to be copied.
  const int target = OpenWithoutWaiting(targetName, O_WRONLY | O_CREAT, 0666);
  if (target < 0) {
    close(source);
    return false;
  }
  struct stat targetInfo {};
  fstat(target, &targetInfo);
  if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino) {
    close(target);
    close(source);
    return false;
  }

  // Only a regular file is ever deleted after a failure: a device or pipe given as the
  // target is not ours to remove.
  const bool regularTarget = S_ISREG(targetInfo.st_mode);
  bool copied = (!regularTarget || ftruncate(target, 0) == 0) && CopyBlocks(source, target);
  if (close(target) != 0) copied = false;  // late write errors (a full disk) show up here
  close(source);
  if (!copied && regularTarget) unlink(targetName);
  return copied;
}

double DeleteDiskFile(const BasicString& fileName) { return unlink(fileName.TextPointer()) == 0 ? 1 : 0; }

void CopyDiskFile(const BasicString& sourceName, const BasicString& targetName) {
  CopyFileContents(sourceName.TextPointer(), targetName.TextPointer());
}

double DiskFileExists(const BasicString& fileName) {
  const int file = OpenReadableFile(fileName.TextPointer(), false);
  if (file < 0) return 0;
  close(file);
  return 1;
}

std::string CurrentDirectoryPath() {
  std::string path(256, '\0');
  for (;;) {
    if (getcwd(path.data(), path.size()) != nullptr) {
      path.resize(path.find('\0'));
      return path;
    }
    if (errno != ERANGE) return {};
    path.resize(path.size() * 2);
  }
}

BasicString GetCurrentFolder() {
  std::string path = CurrentDirectoryPath();
  if (path.empty()) return {};
  if (path.back() != '/' && path.back() != '\\') path += '/';
  BasicString folder(path);
  SlashPath(folder);
  return folder;
}

double SetCurrentFolder(const BasicString& path) { return chdir(path.TextPointer()) == 0 ? 1 : 0; }

double SlashPath(BasicString& text) {
  for (std::uint32_t i = 0; i < text.Length(); ++i) {
    if (text.Data()[i] == '\\') text.SetCharAt(i, '/');
  }
  return text.Length();
}
