#include "files/file_channel.h"

#include <algorithm>

#include "files/text_line_reader.h"

bool FileChannel::OpenForReading(const std::string& path) {
  Close();
  file_ = OpenFileForReading(path);
  if (!file_.IsOpen()) return false;
  size_ = FileSizeOf(file_);
  reader_.Attach(file_.Descriptor());
  return true;
}

bool FileChannel::OpenForWriting(const std::string& path) {
  Close();
  file_ = CreateFileForWriting(path);
  return file_.IsOpen();
}

void FileChannel::Close() {
  reader_.Detach();
  file_.Close();
  size_ = 0;
  position_ = 0;
}

bool FileChannel::ReadExact(void* bytes, std::size_t count) {
  position_ += count;
  if (!file_.IsOpen()) return false;
  return reader_.Read(static_cast<char*>(bytes), count) == count;
}

bool FileChannel::ReadText(std::uint64_t count, std::string& text) {
  constexpr std::uint64_t kPiece = 1 << 20;
  position_ += count;
  if (!file_.IsOpen()) return false;
  while (count > 0) {
    const std::size_t asked = static_cast<std::size_t>(std::min(count, kPiece));
    const std::size_t before = text.size();
    text.resize(before + asked);
    const std::size_t got = reader_.Read(text.data() + before, asked);
    text.resize(before + got);
    if (got < asked) return false;
    count -= asked;
  }
  return true;
}

bool FileChannel::ReadLine(std::string& line) {
  if (!file_.IsOpen()) return false;
  std::uint64_t consumed = 0;
  const LineReadResult result = ReadTextLine(reader_, line, consumed);
  position_ += consumed;
  return result == LineReadResult::kLine;
}

bool FileChannel::Write(std::string_view bytes) {
  if (!file_.IsOpen()) return false;
  return WriteFully(file_.Descriptor(), bytes.data(), bytes.size());
}
