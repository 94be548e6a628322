#include "files/channel_values.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t kIntegerIndefinite = 0x80000000u;

}  // namespace

std::uint8_t ByteToWrite(double value) {
  if (!(value > -32769.0 && value < 32768.0)) return 0;
  const auto small = static_cast<std::int16_t>(std::trunc(value));
  return static_cast<std::uint8_t>(static_cast<std::uint16_t>(small) & 0xFF);
}

std::uint32_t LongToWrite(double value) {
  if (!(value > -2147483649.0 && value < 4294967296.0)) return kIntegerIndefinite;
  const auto wide = static_cast<std::int64_t>(std::trunc(value));
  return static_cast<std::uint32_t>(wide);
}

std::uint16_t WordToWrite(double value) { return static_cast<std::uint16_t>(LongToWrite(value) & 0xFFFF); }

std::array<unsigned char, kWordSize> EncodeWord(std::uint16_t value) {
  return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
}

std::array<unsigned char, kLongSize> EncodeLong(std::uint32_t value) {
  return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

std::array<unsigned char, kDoubleSize> EncodeDouble(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  std::array<unsigned char, kDoubleSize> bytes{};
  for (std::size_t i = 0; i < kDoubleSize; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  return bytes;
}

std::uint16_t DecodeWord(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t DecodeLong(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

double DecodeDouble(const unsigned char* bytes) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kDoubleSize; ++i) bits |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}
