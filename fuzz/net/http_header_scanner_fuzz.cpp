// Fuzzes the HTTP header scanner: the input's first byte seeds the sizes of the chunks
// the rest is cut into, as reads deliver it. Wherever the cuts fall, the body must start
// where a scan of the whole response in one piece says it does.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "net/http_header_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::uint32_t cuts = data[0] * 2654435761u + 1;
  const char* response = reinterpret_cast<const char*>(data + 1);
  const std::size_t length = size - 1;

  HttpHeaderScanner whole;
  const std::size_t wholeStart = whole.Scan(response, length);
  if (wholeStart != HttpHeaderScanner::kHeaderContinues) {
    if (wholeStart < 2 || wholeStart > length || response[wholeStart - 1] != '\n') std::abort();
  }

  HttpHeaderScanner pieces;
  std::size_t bodyStart = HttpHeaderScanner::kHeaderContinues;
  for (std::size_t at = 0; at < length;) {
    cuts = cuts * 1103515245u + 12345u;
    const std::size_t chunk = std::min<std::size_t>(length - at, 1 + (cuts >> 16) % 64);
    const std::size_t found = pieces.Scan(response + at, chunk);
    if (bodyStart == HttpHeaderScanner::kHeaderContinues) {
      if (found != HttpHeaderScanner::kHeaderContinues) {
        if (found > chunk) std::abort();
        bodyStart = at + found;
      }
    } else if (found != 0) {
      std::abort();  // once the header has ended every chunk is body
    }
    at += chunk;
  }
  if (bodyStart != wholeStart || pieces.HeaderEnded() != whole.HeaderEnded()) std::abort();
  return 0;
}
