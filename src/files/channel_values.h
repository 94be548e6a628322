#pragma once
// How numbers become the bytes of a channel file and back. All values are little-endian.

#include <array>
#include <cstdint>

inline constexpr std::size_t kByteSize = 1;
inline constexpr std::size_t kWordSize = 2;
inline constexpr std::size_t kLongSize = 4;
inline constexpr std::size_t kDoubleSize = 8;

// Truncated toward zero to a 16-bit integer, then its low 8 bits; a value outside
// -32768 to 32767 (or not a number) writes 0, as the 16-bit conversion gives 0x8000.
std::uint8_t ByteToWrite(double value);
// Truncated toward zero to 32 bits, then the low 16 bits.
std::uint16_t WordToWrite(double value);
// Truncated toward zero to 32 bits. Values from -2147483648 to 4294967295 keep their low
// 32 bits, so a long read back (0 to 4294967295) writes the same bytes again; anything
// else gives 0x80000000, the platform's value for an integer out of range.
std::uint32_t LongToWrite(double value);

std::array<unsigned char, kWordSize> EncodeWord(std::uint16_t value);
std::array<unsigned char, kLongSize> EncodeLong(std::uint32_t value);
std::array<unsigned char, kDoubleSize> EncodeDouble(double value);

std::uint16_t DecodeWord(const unsigned char* bytes);
std::uint32_t DecodeLong(const unsigned char* bytes);
double DecodeDouble(const unsigned char* bytes);
