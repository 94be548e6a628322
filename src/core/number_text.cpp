#include "core/number_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/number_truncation.h"

namespace {

// The fixed format's result keeps at most this many characters.
constexpr std::int64_t kMaxFixedLength = 255;
// A double has at most 1074 digits after the point; asking for more only appends zeros,
// so larger decimal counts are clamped here without changing the printed digits.
constexpr int kMaxFixedDecimals = 1100;
// Widest "%.*f" text: sign, 309 integer digits, point, the decimals, terminator.
constexpr std::size_t kFixedDigitsSize = 1 + 309 + 1 + kMaxFixedDecimals + 1;

}  // namespace

double TextLength(const BasicString& text) { return text.Length(); }

double NumberTextLength(double number) { return FormatNumber(number).Length(); }

double CharCode(const BasicString& text) { return text.GetCharAt(0); }

BasicString CharFromCode(double code) {
  const char byte = static_cast<char>(TruncateToInt32(code) & 0xFF);
  if (byte == 0) return BasicString();
  return BasicString(std::string_view(&byte, 1));
}

BasicString NumberToText(double number) { return FormatNumber(number); }

double TextToNumber(const BasicString& text) { return ParseNumber(text.TextPointer()); }

BasicString FormatFixed(double width, double decimals, double value) {
  // The digits are printed without a width, then padded here: the C library would build
  // the whole padded text even for a width of two thousand million, and the result only
  // keeps its first 255 characters anyway.
  const int fractionDigits = std::clamp<int>(TruncateToInt32(decimals), 0, kMaxFixedDecimals);
  char digits[kFixedDigitsSize];
  const int printed = std::snprintf(digits, sizeof digits, "%.*f", fractionDigits, value);
  const std::int64_t digitCount = std::clamp<std::int64_t>(printed, 0, sizeof digits - 1);

  const std::int64_t fieldWidth = TruncateToInt32(width);
  const bool padOnTheRight = fieldWidth < 0;
  const std::int64_t padding = std::max<std::int64_t>((padOnTheRight ? -fieldWidth : fieldWidth) - digitCount, 0);

  BasicString result;
  char* out = result.WritableBuffer(static_cast<std::uint32_t>(kMaxFixedLength + 1));
  std::int64_t length = 0;
  auto put = [&](const char* bytes, std::int64_t count) {
    const std::int64_t room = std::min(count, kMaxFixedLength - length);
    if (room <= 0) return;
    std::memcpy(out + length, bytes, static_cast<std::size_t>(room));
    length += room;
  };
  auto putBlanks = [&](std::int64_t count) {
    const std::int64_t room = std::min(count, kMaxFixedLength - length);
    if (room <= 0) return;
    std::memset(out + length, ' ', static_cast<std::size_t>(room));
    length += room;
  };
  if (!padOnTheRight) putBlanks(padding);
  put(digits, digitCount);
  if (padOnTheRight) putBlanks(padding);
  out[length] = 0;
  result.RecountLength();
  return result;
}
