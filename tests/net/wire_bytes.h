#pragma once
// Session datagrams written out by hand, byte by byte, so the tests check the engine's wire
// format against an independent writer rather than against the engine's own encoder.

#include <cstdint>
#include <string>

inline std::string LittleEndian32(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((bits >> (8 * i)) & 0xff);
  return bytes;
}

// "TRVN", type, payload length, to, from, payload.
inline std::string TrvnDatagram(std::uint8_t type, std::int32_t to, std::int32_t from, const std::string& payload = {},
                                std::int32_t declaredLength = -1000000) {
  const std::int32_t length = declaredLength == -1000000 ? static_cast<std::int32_t>(payload.size()) : declaredLength;
  return std::string("TRVN") + static_cast<char>(type) + LittleEndian32(length) + LittleEndian32(to) +
         LittleEndian32(from) + payload;
}

// The 152-byte registration payload: socket -1, id -1, hidden flag, 128-byte name, 15 zeros.
inline std::string RegistrationPayload(const std::string& name, std::uint8_t hidden) {
  std::string payload(8, '\xff');
  payload += static_cast<char>(hidden);
  std::string nameField = name.substr(0, 127);
  nameField.resize(128, '\0');
  payload += nameField;
  payload += std::string(15, '\0');
  return payload;
}

inline std::int32_t ReadLittleEndian32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + i));
  return static_cast<std::int32_t>(value);
}
