#include "files/wildcard_match.h"

#include <cstddef>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesOne(char patternChar, char nameChar) {
  if (patternChar == '?') return nameChar != '.';
  return LowerAscii(patternChar) == LowerAscii(nameChar);
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
  constexpr std::size_t kNoStar = std::string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  // Where matching resumes after the most recent "*", and the name position it was tried at.
  std::size_t afterStar = kNoStar;
  std::size_t starName = 0;

  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      if (p == pattern.size()) return true;  // a trailing "*" takes whatever remains
      afterStar = p;
      starName = n;
    } else if (p < pattern.size() && MatchesOne(pattern[p], name[n])) {
      ++p;
      ++n;
    } else if (afterStar != kNoStar) {
      n = ++starName;
      p = afterStar;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
