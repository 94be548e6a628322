#include "files/line_file_cache.h"

#include <algorithm>

#include "files/buffered_file_reader.h"
#include "files/archive.h"
#include "files/plain_file.h"
#include "files/text_line_reader.h"

LineFileCache::LoadResult LineFileCache::Load(std::string_view name) {
  if (!name.empty() && name == name_) return LoadResult::kLoaded;
  WriteBackAndClear();
  if (name.empty()) return LoadResult::kLoaded;
  name_.assign(name);
  std::string path;
  if (!ResolveLoaderPath(name_.c_str(), path) || !ReadFile(path)) return LoadResult::kMissing;
  return LoadResult::kLoaded;
}

bool LineFileCache::ReadFile(const std::string& path) {
  FileHandle file = OpenFileForReading(path);
  if (!file.IsOpen()) return false;
  BufferedFileReader reader;
  reader.Attach(file.Descriptor());
  std::string line;
  std::uint64_t consumed = 0;
  for (int index = 0; index < kLineCount; ++index) {
    if (ReadTextLine(reader, line, consumed) != LineReadResult::kLine) break;
    lines_[static_cast<std::size_t>(index)].assign(line, 0, kLineCapacity);
    lastLine_ = index;
  }
  return true;
}

void LineFileCache::WriteBackAndClear() {
  // A file that cannot be written is left as it was; nothing is reported.
  if (!name_.empty() && dirty_) ReplaceFileContents(name_, FormatFile());
  Clear();
}

void LineFileCache::Clear() {
  name_.clear();
  for (std::string& line : lines_) line.clear();
  lastLine_ = 0;
  dirty_ = false;
}

void LineFileCache::PutLine(int line, std::string_view text) {
  lines_[static_cast<std::size_t>(line)].assign(text.substr(0, kLineCapacity));
  lastLine_ = std::max(lastLine_, line);
  dirty_ = true;
}

std::string LineFileCache::FormatFile() const {
  std::string text;
  for (int index = 0; index <= lastLine_; ++index) {
    text += lines_[static_cast<std::size_t>(index)];
    text += "\r\n";
  }
  return text;
}
