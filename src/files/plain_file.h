#pragma once
// Opening, reading and replacing plain files by path, the one place where the data-file
// commands touch the file system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Owns one POSIX file descriptor and closes it in its destructor.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
  ~FileHandle() { Close(); }
  FileHandle(FileHandle&& other) noexcept : descriptor_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  // Closes the file; false when the system reported an error on closing.
  bool Close();
  int Release();

 private:
  int descriptor_ = -1;
};

// Opens an existing file for reading. Folders, pipes and sockets are refused (a pipe
// without a writer would block the game forever); the handle is not open then.
FileHandle OpenFileForReading(const std::string& path);
// Creates the file for writing, replacing an existing one.
FileHandle CreateFileForWriting(const std::string& path);
// The size of an open file in bytes, 0 when it cannot be told.
std::uint64_t FileSizeOf(const FileHandle& file);

// Reads up to count bytes, retrying after interruptions; fewer only at the end of the file
// or on an error. Returns the bytes read.
std::size_t ReadFully(int descriptor, char* bytes, std::size_t count);
// Writes all bytes, retrying after interruptions and partial writes; false when the
// system refused some of them (a full disk, a file opened for reading).
bool WriteFully(int descriptor, const char* bytes, std::size_t count);

// The whole contents of a file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file at path by contents without ever leaving a half-written file: the
// bytes go to a new file in the same folder, which is flushed to the disk and then
// renamed over the old one. When anything fails the old file stays as it was, the new
// one is removed and the result is false. A file we may not write to is not replaced.
// A symbolic link is written through to its target; the old file's permission bits are
// kept.
bool ReplaceFileContents(const std::string& path, std::string_view contents);
