#include "files/channel_values.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/byte_order.h"

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
  std::array<unsigned char, kWordSize> bytes{};
  WriteLittleEndian16(bytes.data(), value);
  return bytes;
}

std::array<unsigned char, kLongSize> EncodeLong(std::uint32_t value) {
  std::array<unsigned char, kLongSize> bytes{};
  WriteLittleEndian32(bytes.data(), value);
  return bytes;
}

std::array<unsigned char, kDoubleSize> EncodeDouble(double value) {
  std::array<unsigned char, kDoubleSize> bytes{};
  WriteLittleEndian64(bytes.data(), std::bit_cast<std::uint64_t>(value));
  return bytes;
}

std::uint16_t DecodeWord(const unsigned char* bytes) { return ReadLittleEndian16(bytes); }

std::uint32_t DecodeLong(const unsigned char* bytes) { return ReadLittleEndian32(bytes); }

double DecodeDouble(const unsigned char* bytes) {
  return std::bit_cast<double>(ReadLittleEndian64(bytes));
}
