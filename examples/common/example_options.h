#pragma once
// The command line of the example games and the end of a run they play by themselves.
//
// Every example takes "--frames N": it plays itself for N frames, prints "Frames done"
// and waits for a click (or Escape); the smoke tests and the screenshot scripts run them
// that way. Options are words separated by spaces; a value is the word after its option.
// Header only, so that each example folder still builds as a project of its own.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"

namespace example {

using Words = std::vector<std::string>;

inline Words SplitWords(const std::string& line) {
  Words words;
  std::istringstream stream(line);
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// The words of the text after the program name.
inline Words CommandLineWords() { return SplitWords(GetCommandLine().TextPointer()); }

inline bool HasOption(const Words& words, std::string_view option) {
  return std::find(words.begin(), words.end(), option) != words.end();
}

// The word after the first occurrence of option; fallback when the option is missing or
// is the last word.
inline std::string TextOption(const Words& words, std::string_view option, const std::string& fallback) {
  const auto found = std::find(words.begin(), words.end(), option);
  return found == words.end() || found + 1 == words.end() ? fallback : *(found + 1);
}

// The whole number after option, clamped to low .. high; fallback when the option is
// missing or its value is not a whole number.
inline int NumberOption(const Words& words, std::string_view option, int fallback, int low, int high) {
  const std::string text = TextOption(words, option, "");
  if (text.empty()) return fallback;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0') return fallback;
  // strtoll saturates on overflow, so the clamp below also covers ERANGE.
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

// "--frames N": the frames to play unattended (at least 1); 0 when the player plays.
inline int AutopilotFrames(const Words& words) { return NumberOption(words, "--frames", 0, 1, INT_MAX); }

// Tells the watcher the unattended frames are over, then shows the last frame until a
// mouse click (Escape ends the program meanwhile).
inline void FinishAutopilot() {
  std::printf("Frames done\n");
  std::fflush(stdout);
  WaitForMouseButton();
}

}  // namespace example
