#include "files/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = other.Release();
  }
  return *this;
}

bool FileHandle::Close() {
  if (descriptor_ < 0) return true;
  const int result = ::close(descriptor_);
  descriptor_ = -1;
  return result == 0;
}

int FileHandle::Release() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}

FileHandle OpenFileForReading(const std::string& path) {
  if (path.empty()) return FileHandle();
  // Non-blocking, so that opening a pipe cannot wait for a writer.
  FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.IsOpen()) return file;
  struct stat info {};
  if (::fstat(file.Descriptor(), &info) != 0 || S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) ||
      S_ISSOCK(info.st_mode)) {
    return FileHandle();
  }
  const int flags = ::fcntl(file.Descriptor(), F_GETFL);
  if (flags < 0 || ::fcntl(file.Descriptor(), F_SETFL, flags & ~O_NONBLOCK) != 0) return FileHandle();
  return file;
}

FileHandle CreateFileForWriting(const std::string& path) {
  if (path.empty()) return FileHandle();
  FileHandle file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!file.IsOpen()) return file;
  struct stat info {};
  if (::fstat(file.Descriptor(), &info) != 0 || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
    return FileHandle();
  }
  const int flags = ::fcntl(file.Descriptor(), F_GETFL);
  if (flags < 0 || ::fcntl(file.Descriptor(), F_SETFL, flags & ~O_NONBLOCK) != 0) return FileHandle();
  return file;
}

std::uint64_t FileSizeOf(const FileHandle& file) {
  struct stat info {};
  if (!file.IsOpen() || ::fstat(file.Descriptor(), &info) != 0 || info.st_size < 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

std::size_t ReadFully(int descriptor, char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(descriptor, bytes + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

bool WriteFully(int descriptor, const char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(descriptor, bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileHandle file = OpenFileForReading(path);
  if (!file.IsOpen()) return std::nullopt;
  std::string contents;
  char chunk[65536];
  for (;;) {
    const std::size_t got = ReadFully(file.Descriptor(), chunk, sizeof chunk);
    contents.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  return contents;
}

namespace {

// The file a write to path really changes: the target of a symbolic link, else path.
std::string WriteTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      std::free(resolved);
      return target;
    }
  }
  return path;
}

std::string FolderPrefix(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new, hidden file beside the target, under a name nobody else uses.
FileHandle CreateSiblingFile(const std::string& folderPrefix, std::string& name) {
  timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folderPrefix + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(now.tv_nsec) + "-" +
           std::to_string(attempt);
    FileHandle file(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.IsOpen() || errno != EEXIST) return file;
  }
  return FileHandle();
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
  if (path.empty()) return false;
  const std::string target = WriteTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return false;
  // Renaming would replace a file we may not write to; such a file stays as it is, as it
  // would when written in place.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;

  std::string temporary;
  FileHandle file = CreateSiblingFile(FolderPrefix(target), temporary);
  if (!file.IsOpen()) return false;
  if (exists) ::fchmod(file.Descriptor(), old.st_mode & 07777);
  bool written = WriteFully(file.Descriptor(), contents.data(), contents.size());
  written = written && ::fsync(file.Descriptor()) == 0;
  written = file.Close() && written;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable.
  const std::string folder = FolderPrefix(target);
  FileHandle directory(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.IsOpen()) ::fsync(directory.Descriptor());
  return true;
}
