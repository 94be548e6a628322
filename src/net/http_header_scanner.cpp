#include "net/http_header_scanner.h"

std::size_t HttpHeaderScanner::Scan(const char* chunk, std::size_t size) {
  if (headerEnded_) return 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (chunk[i] == '\n') {
      if (++lineEnds_ == 2) {
        headerEnded_ = true;
        return i + 1;
      }
    } else if (chunk[i] != '\r') {
      lineEnds_ = 0;
    }
  }
  return kHeaderContinues;
}
