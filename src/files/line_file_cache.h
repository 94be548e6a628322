#pragma once
// The one text file the line-file commands address as an array of up to 256 lines. It is
// read whole when a name is first used and written back, when changed, once another name
// is used or the program ends.

#include <array>
#include <string>
#include <string_view>

class LineFileCache {
 public:
  static constexpr int kLineCount = 256;
  // Each line holds at most this many bytes; longer texts are cut.
  static constexpr std::size_t kLineCapacity = 1023;

  enum class LoadResult { kLoaded, kMissing };

  // Makes name the cached file. The same name (compared exactly) keeps the cache as it
  // is. Otherwise the changed old file is written back, the cache emptied, and the file
  // read through the resource archive; kMissing when it cannot be found or opened, and
  // the cache then stays empty under the new name, so that puts create the file.
  LoadResult Load(std::string_view name);
  // Writes the changed file back and empties the cache (used at program end).
  void WriteBackAndClear();

  // The line as stored; lines past the last one are empty. line must be 0 to 255.
  const std::string& Line(int line) const { return lines_[static_cast<std::size_t>(line)]; }
  // Stores text (cut at kLineCapacity bytes) in line 0 to 255 and marks the file changed.
  void PutLine(int line, std::string_view text);

  const std::string& Name() const { return name_; }
  int LastLine() const { return lastLine_; }
  bool IsDirty() const { return dirty_; }

  // The file as written back: lines 0 to the last one, each followed by "\r\n".
  std::string FormatFile() const;

 private:
  void Clear();
  bool ReadFile(const std::string& path);

  std::string name_;
  std::array<std::string, kLineCount> lines_;
  int lastLine_ = 0;
  bool dirty_ = false;
};
