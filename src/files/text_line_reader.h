#pragma once
// Reading one text line from a file the way channels and line files do: in chunks of 64
// bytes into a 1024-byte line buffer, stopping at the first line feed.

#include <cstdint>
#include <string>

class BufferedFileReader;

inline constexpr std::size_t kLineChunkSize = 64;
inline constexpr std::size_t kLineBufferSize = 1024;

enum class LineReadResult {
  kLine,     // line holds the next line
  kPastEnd,  // nothing was left to read
};

// Reads the next line into line, without its line feed and one carriage return before
// it. The file's end counts as a line end, so a last line without one is still read. A
// line of 1024 bytes without a line feed is returned as it is and the file stays right
// after it. consumed receives the bytes the file advanced by.
LineReadResult ReadTextLine(BufferedFileReader& reader, std::string& line, std::uint64_t& consumed);
