#pragma once
// Numbers become integers by truncation toward zero, as the language converts them.
//
// A double outside the target range (and NaN) becomes the smallest value of the target
// type, which is what the processor's truncating conversion gives; doing it here keeps
// the conversion defined for every input instead of undefined behaviour in C++.

#include <cstdint>
#include <limits>

// The truncated value, or fallback for NaN and values outside the 32-bit range (commands
// that must not see a huge negative number pass 0).
constexpr std::int32_t TruncateToInt32Or(double value, std::int32_t fallback) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return fallback;
  return static_cast<std::int32_t>(value);
}

constexpr std::int32_t TruncateToInt32(double value) {
  return TruncateToInt32Or(value, std::numeric_limits<std::int32_t>::min());
}

constexpr std::int64_t TruncateToInt64(double value) {
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) {
    return std::numeric_limits<std::int64_t>::min();
  }
  return static_cast<std::int64_t>(value);
}
