#include "core/text_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/debugger_check.h"

BasicString MidText(const BasicString& text, double start, double count) {
  if (std::isnan(start) || std::isnan(count)) return BasicString();
  const double length = text.Length();
  if (std::trunc(start + count) > length) count = length - start;
  if (count <= 0 || start > length || start < 0) return BasicString();
  const std::uint32_t first = static_cast<std::uint32_t>(start);
  const std::uint32_t taken = static_cast<std::uint32_t>(std::min<double>(std::trunc(count), text.Length() - first));
  return BasicString(text.View().substr(first, taken));
}

namespace {

// Position of the first occurrence of needle in haystack, or npos.
std::size_t FindBytes(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  const void* found = memmem(haystack.data(), haystack.size(), needle.data(), needle.size());
  return found ? static_cast<std::size_t>(static_cast<const char*>(found) - haystack.data()) : std::string_view::npos;
}

}  // namespace

BasicString ReplaceText(const BasicString& text, const BasicString& search, const BasicString& replacement) {
  const std::string_view searched = search.View();
  const std::string_view replacing = replacement.View();
  if (searched.empty()) return text;
  const std::size_t s = searched.size();

  // The working text is done + rest: done holds what lies before the search position's
  // neighbourhood, rest the untouched tail of the original. After a replacement the next
  // search may start up to s - 1 bytes before the end of done, so a match can straddle
  // the two; that window is searched first, then rest alone. Every step does work in
  // proportion to what it moves, so long texts with many occurrences stay linear.
  std::string done;
  std::string_view rest = text.View();
  std::size_t searchFrom = 0;  // position in done + rest
  for (;;) {
    std::size_t matchInDone = std::string_view::npos;
    if (searchFrom < done.size()) {
      std::string window = done.substr(searchFrom);
      window.append(rest.substr(0, s - 1));
      const std::size_t found = FindBytes(window, searched);
      if (found != std::string_view::npos && searchFrom + found < done.size()) matchInDone = searchFrom + found;
    }
    std::size_t matchAt;  // the occurrence's position in done + rest
    if (matchInDone != std::string_view::npos) {
      matchAt = matchInDone;
      const std::size_t fromRest = s - (done.size() - matchAt);
      done.resize(matchAt);
      rest.remove_prefix(fromRest);
    } else {
      const std::size_t offset = searchFrom > done.size() ? searchFrom - done.size() : 0;
      const std::size_t found = FindBytes(rest.substr(std::min(offset, rest.size())), searched);
      if (found == std::string_view::npos) break;
      done.append(rest.substr(0, offset + found));
      rest.remove_prefix(offset + found + s);
      matchAt = done.size();
    }
    done.append(replacing);
    if (replacing.size() == s) {
      searchFrom = matchAt + s;
    } else {
      // m + r - s + 1, or the start of the text when that falls before it.
      const std::int64_t next = static_cast<std::int64_t>(matchAt) + static_cast<std::int64_t>(replacing.size()) -
                                static_cast<std::int64_t>(s) + 1;
      searchFrom = next > 0 ? static_cast<std::size_t>(next) : 0;
    }
  }
  done.append(rest);
  return BasicString(std::string_view(done));
}

double SplitText(const BasicString& text, StringArray& tokens, const BasicString& delimiters) {
  // The text may be an element of the array being filled, which dimensioning clears.
  const BasicString copy(text);
  bool isDelimiter[256] = {};
  for (const char c : delimiters.View()) isDelimiter[static_cast<unsigned char>(c)] = true;
  const auto delimiter = [&](char c) { return isDelimiter[static_cast<unsigned char>(c)]; };

  const std::string_view whole = copy.View();
  std::vector<std::string_view> pieces;
  pieces.reserve(512);
  std::size_t cursor = 0;
  while (cursor < whole.size()) {
    // Skip a run of delimiters, unless nothing but delimiters is left.
    std::size_t next = cursor;
    while (next < whole.size() && delimiter(whole[next])) ++next;
    if (next < whole.size()) cursor = next;

    std::size_t end = cursor;
    while (end < whole.size() && !delimiter(whole[end])) ++end;
    if (end == whole.size()) {
      pieces.push_back(whole.substr(cursor));
      break;
    }
    pieces.push_back(whole.substr(cursor, end - cursor));
    cursor = end + 1;
  }

  const std::int32_t count = static_cast<std::int32_t>(pieces.size());
  DimStringArray(tokens, count);
  for (std::int32_t i = 0; i < count; ++i) {
    // Dimensioning left every entry empty, keeping its buffer for the new token.
    if (!pieces[i].empty()) tokens.data[i].AppendBytes(pieces[i].data(), static_cast<std::uint32_t>(pieces[i].size()));
  }
  return count;
}

void WriteDebugText(const BasicString& text, std::FILE* channel) {
  // The debugger's output channel is standard error, one line per message.
  std::fputs("TX", channel);
  std::fwrite(text.Data(), 1, text.Length(), channel);
  std::fputc('\n', channel);
  std::fflush(channel);
}

void DebugText(const BasicString& text) {
  if (IsDebuggerAttached()) WriteDebugText(text, stderr);
}
