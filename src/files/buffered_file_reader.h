#pragma once
// Sequential reading of an open file through a buffer, so that games reading a file a
// byte or a word at a time do not pay a system call per value. Reads can be taken back
// (the text-line reader reads ahead in chunks and returns what follows the line end).

#include <cstdint>
#include <memory>

class BufferedFileReader {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  // Starts reading the descriptor at offset 0 (a freshly opened file). Borrowed: the
  // reader never closes it.
  void Attach(int descriptor);
  void Detach();

  // Copies up to count bytes; fewer only at the end of the file or on a read error.
  std::size_t Read(char* bytes, std::size_t count);
  // Moves back over the last count bytes read, so the next Read returns them again.
  // False when the file cannot be positioned (then the reader is unchanged).
  bool Unread(std::size_t count);

 private:
  // One read of the system into the buffer; false at the end of the file or on an error.
  bool Refill();

  int descriptor_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;        // next unread byte in the buffer
  std::size_t end_ = 0;          // bytes held in the buffer
  std::uint64_t fileOffset_ = 0; // the system's offset: just after the buffered bytes
};
