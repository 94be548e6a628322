#pragma once
// One numbered file channel: an open file read sequentially or written, with the byte
// count consumed by reads so far.

#include <cstdint>
#include <string>
#include <string_view>

#include "files/buffered_file_reader.h"
#include "files/plain_file.h"

class FileChannel {
 public:
  FileChannel() = default;
  FileChannel(const FileChannel&) = delete;
  FileChannel& operator=(const FileChannel&) = delete;

  // Both close what the channel holds first; false (and an empty channel) when the file
  // cannot be opened.
  bool OpenForReading(const std::string& path);
  // Creates the file, replacing an existing one.
  bool OpenForWriting(const std::string& path);
  void Close();

  bool IsOpen() const { return file_.IsOpen(); }
  // Size at open time for reading; 0 for writing.
  std::uint64_t Size() const { return size_; }
  // Bytes consumed by reads so far; writes leave it alone.
  std::uint64_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= size_; }

  // Each read or write is false when the channel is empty or the file gave or took
  // fewer bytes than asked: the caller ends the program.
  bool ReadExact(void* bytes, std::size_t count);
  // count bytes appended to text, read in pieces so that a huge count only takes memory
  // for bytes that really arrive.
  bool ReadText(std::uint64_t count, std::string& text);
  bool ReadLine(std::string& line);
  bool Write(std::string_view bytes);

 private:
  FileHandle file_;
  BufferedFileReader reader_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};
