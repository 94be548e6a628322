#include "files/buffered_file_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/plain_file.h"

void BufferedFileReader::Attach(int descriptor) {
  descriptor_ = descriptor;
  begin_ = end_ = 0;
  fileOffset_ = 0;
}

void BufferedFileReader::Detach() {
  descriptor_ = -1;
  begin_ = end_ = 0;
  fileOffset_ = 0;
  buffer_.reset();
}

bool BufferedFileReader::Refill() {
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  begin_ = end_ = 0;
  ssize_t got;
  do {
    got = ::read(descriptor_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) return false;
  end_ = static_cast<std::size_t>(got);
  fileOffset_ += end_;
  return true;
}

std::size_t BufferedFileReader::Read(char* bytes, std::size_t count) {
  if (descriptor_ < 0) return 0;
  std::size_t done = 0;
  while (done < count) {
    if (begin_ < end_) {
      const std::size_t take = std::min(end_ - begin_, count - done);
      std::memcpy(bytes + done, buffer_.get() + begin_, take);
      begin_ += take;
      done += take;
      continue;
    }
    if (count - done >= kBufferSize) {
      // Large reads go straight into the caller's memory.
      begin_ = end_ = 0;
      const std::size_t got = ReadFully(descriptor_, bytes + done, count - done);
      fileOffset_ += got;
      done += got;
      break;
    }
    if (!Refill()) break;
  }
  return done;
}

bool BufferedFileReader::Unread(std::size_t count) {
  if (count <= begin_) {
    begin_ -= count;
    return true;
  }
  const std::uint64_t logicalOffset = fileOffset_ - (end_ - begin_);
  if (descriptor_ < 0 || count > logicalOffset) return false;
  const std::uint64_t target = logicalOffset - count;
  if (::lseek(descriptor_, static_cast<off_t>(target), SEEK_SET) < 0) return false;
  fileOffset_ = target;
  begin_ = end_ = 0;
  return true;
}
