#pragma once
// Finds where the body of an HTTP response starts, chunk by chunk as the reads deliver it.
//
// The header ends at the first blank line: a counter of consecutive line ends goes up at
// each line feed, ignores carriage returns and drops to 0 at any other byte; at 2 the body
// starts after that line feed. "\r\n\r\n" and "\n\n" both end the header, and the counter
// survives from one chunk to the next, so a blank line split across reads is found too.

#include <cstddef>

class HttpHeaderScanner {
 public:
  static constexpr std::size_t kHeaderContinues = static_cast<std::size_t>(-1);

  // The offset in chunk where the body starts (size when it starts right after the chunk),
  // or kHeaderContinues. Once the header has ended every chunk is body: returns 0.
  std::size_t Scan(const char* chunk, std::size_t size);
  bool HeaderEnded() const { return headerEnded_; }

 private:
  int lineEnds_ = 0;
  bool headerEnded_ = false;
};
