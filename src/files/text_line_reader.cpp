#include "files/text_line_reader.h"

#include <algorithm>
#include <cstring>

#include "files/buffered_file_reader.h"

namespace {

void TakeLine(const char* buffer, std::size_t length, std::string& line) {
  if (length > 0 && buffer[length - 1] == '\r') --length;
  line.assign(buffer, length);
}

}  // namespace

LineReadResult ReadTextLine(BufferedFileReader& reader, std::string& line, std::uint64_t& consumed) {
  char buffer[kLineBufferSize];
  std::size_t used = 0;
  consumed = 0;
  while (used < kLineBufferSize) {
    const std::size_t asked = std::min(kLineChunkSize, kLineBufferSize - used);
    const std::size_t got = reader.Read(buffer + used, asked);
    consumed += got;
    if (got == 0) {
      // The end of the file right after a full chunk ends the line like a short chunk
      // does; only a line that has not started is a read past the end.
      if (used == 0) {
        line.clear();
        return LineReadResult::kPastEnd;
      }
      break;
    }
    const char* lineFeed = static_cast<const char*>(std::memchr(buffer + used, '\n', got));
    if (lineFeed != nullptr) {
      const std::size_t lineEnd = static_cast<std::size_t>(lineFeed - buffer);
      const std::size_t readAhead = used + got - (lineEnd + 1);
      if (reader.Unread(readAhead)) consumed -= readAhead;
      TakeLine(buffer, lineEnd, line);
      return LineReadResult::kLine;
    }
    used += got;
    if (got < asked) break;  // end of the file: a line feed is assumed after the chunk
  }
  if (used == kLineBufferSize) {
    line.assign(buffer, used);
  } else {
    TakeLine(buffer, used, line);
  }
  return LineReadResult::kLine;
}
