#include "net/session_message.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"

std::int32_t SessionMessage::ReadInt32(std::size_t offset) const {
  return static_cast<std::int32_t>(ReadLittleEndian32(bytes.data() + offset));
}

void SessionMessage::WriteInt32(std::size_t offset, std::int32_t value) {
  WriteLittleEndian32(bytes.data() + offset, static_cast<std::uint32_t>(value));
}

SessionMessage MakeSessionMessage(std::uint8_t type, std::int32_t to, std::int32_t from, const void* payload,
                                  std::int32_t length) {
  SessionMessage message;
  length = std::clamp(length, 0, kMaxPayloadBytes);
  std::memcpy(message.bytes.data(), kMessageMagic.data(), kMessageMagic.size());
  message.bytes[4] = type;
  message.WriteInt32(5, length);
  message.SetTo(to);
  message.SetFrom(from);
  if (payload != nullptr && length > 0) std::memcpy(message.bytes.data() + kMessageHeaderBytes, payload, length);
  return message;
}

SessionMessage MakeInt32Message(std::uint8_t type, std::int32_t to, std::int32_t from, std::int32_t value) {
  SessionMessage message = MakeSessionMessage(type, to, from);
  message.WriteInt32(5, 4);
  message.WriteInt32(kMessageHeaderBytes, value);
  return message;
}

bool DecodeDatagram(const unsigned char* datagram, std::size_t size, SessionMessage& message) {
  if (size < kMessageHeaderBytes || size > kMaxMessageBytes) return false;
  if (std::memcmp(datagram, kMessageMagic.data(), kMessageMagic.size()) != 0) return false;
  SessionMessage decoded;
  std::memcpy(decoded.bytes.data(), datagram, size);
  const std::int32_t length = decoded.PayloadLength();
  if (length < 0 || length > kMaxPayloadBytes) return false;
  if (static_cast<std::size_t>(length) != size - kMessageHeaderBytes) return false;
  decoded.source = message.source;
  message = decoded;
  return true;
}

SessionMessage MakeRegistration(std::string_view name, std::uint8_t hidden) {
  unsigned char payload[kRegistrationPayloadBytes] = {};
  std::memset(payload, 0xff, 8);  // socket and id: both -1, not known to the client
  payload[kRegistrationHiddenOffset] = hidden;
  name = name.substr(0, name.find('\0'));
  const std::size_t nameLength = std::min(name.size(), kPlayerNameBytes - 1);
  std::memcpy(payload + kRegistrationNameOffset, name.data(), nameLength);
  return MakeSessionMessage(kRegisterPlayer, kHostId, kHostId, payload, kRegistrationPayloadBytes);
}

Registration DecodeRegistration(const SessionMessage& message) {
  Registration registration;
  registration.hidden = message.Payload()[kRegistrationHiddenOffset];
  std::memcpy(registration.name.data(), message.Payload() + kRegistrationNameOffset, kPlayerNameBytes - 1);
  registration.name[kPlayerNameBytes - 1] = 0;
  return registration;
}
