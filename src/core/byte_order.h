#pragma once
// Little-endian numbers in byte buffers. Every file format and wire message the engine
// reads or writes (archives, WAV and BMP files, channel files, session datagrams) stores
// its numbers least significant byte first, whatever the processor's own order.

#include <cstdint>

constexpr std::uint16_t ReadLittleEndian16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

constexpr std::uint32_t ReadLittleEndian32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

constexpr std::uint64_t ReadLittleEndian64(const unsigned char* bytes) {
  return static_cast<std::uint64_t>(ReadLittleEndian32(bytes)) |
         static_cast<std::uint64_t>(ReadLittleEndian32(bytes + 4)) << 32;
}

constexpr void WriteLittleEndian16(unsigned char* bytes, std::uint16_t value) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
}

constexpr void WriteLittleEndian32(unsigned char* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

constexpr void WriteLittleEndian64(unsigned char* bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}
