// Fuzzes the reads of a file channel: the text-line reader and the value reads. The
// input's first byte gives a count n (0 to 15) of operation bytes that follow; the rest
// is the file. The operations run in order until one fails (where the game would end),
// each checked against the file's bytes; then a fresh channel reads the whole file as
// lines, which must give back exactly its bytes.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "files/file_channel.h"
#include "files/text_line_reader.h"
#include "fuzz_input_file.h"

namespace {

// What a game asks for: a value of 1, 2, 4 or 8 bytes, a text of a length read from the
// operation byte (or a huge one, as a damaged length prefix would give), or a line.
bool RunOperation(FileChannel& channel, std::uint8_t operation, std::string_view file) {
  const std::uint64_t before = channel.Position();
  const int kind = operation % 6;
  if (kind < 4) {
    const std::size_t count = std::size_t{1} << kind;
    unsigned char bytes[8];
    if (!channel.ReadExact(bytes, count)) return false;
    if (channel.Position() != before + count || file.substr(before, count) != std::string_view(
        reinterpret_cast<const char*>(bytes), count)) {
      std::abort();
    }
  } else if (kind == 4) {
    const std::uint64_t count = operation >= 0xF0 ? 0xFFFFFFFFu : (operation / 6) * 37u;
    std::string text = "x";
    if (!channel.ReadText(count, text)) return false;
    if (text.size() != count + 1 || file.substr(before, count) != std::string_view(text).substr(1)) std::abort();
  } else {
    std::string line;
    if (!channel.ReadLine(line)) return false;
    if (line.size() > kLineBufferSize || file.substr(before, line.size()) != line) std::abort();
  }
  return true;
}

// Every line is the file's next bytes, followed by what ended it: nothing (a full
// buffer or the end of the file), a line feed, a carriage return and line feed, or a
// carriage return at the very end.
void CheckLinesCoverFile(FileChannel& channel, std::string_view file) {
  std::string line;
  std::uint64_t before = 0;
  while (channel.ReadLine(line)) {
    const std::uint64_t end = channel.Position();
    if (end <= before || end > file.size() || end - before < line.size()) std::abort();
    if (line.size() > kLineBufferSize || file.substr(before, line.size()) != line) std::abort();
    const std::string_view ending = file.substr(before + line.size(), end - before - line.size());
    const bool atEnd = end == file.size();
    if (!(ending == "\n" || ending == "\r\n" || (ending == "\r" && atEnd) ||
          (ending.empty() && (atEnd || line.size() == kLineBufferSize)))) {
      std::abort();
    }
    before = end;
  }
  if (before != file.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzInputFile input("channel.dat");
  if (size == 0) return 0;
  const std::size_t operations = std::min<std::size_t>(data[0] % 16, size - 1);
  const std::uint8_t* script = data + 1;
  const std::string_view file(reinterpret_cast<const char*>(script + operations), size - 1 - operations);
  const char* path = input.Write(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());

  FileChannel channel;
  if (!channel.OpenForReading(path) || channel.Size() != file.size()) std::abort();
  for (std::size_t i = 0; i < operations; ++i) {
    if (!RunOperation(channel, script[i], file)) break;
  }

  FileChannel lines;
  if (!lines.OpenForReading(path)) std::abort();
  CheckLinesCoverFile(lines, file);
  return 0;
}
