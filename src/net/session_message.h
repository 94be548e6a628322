#pragma once
// The session's messages, one per datagram, little-endian and packed:
//
//   offset 0  4 bytes  magic "TRVN"
//          4  1 byte   type (unsigned)
//          5  4 bytes  payload length (int32), 0 to 2048
//          9  4 bytes  to: 0 the host, -1 all players, else a player id
//         13  4 bytes  from: 0 the host, else a player id
//         17  length   payload, not zero-terminated on the wire
//
// A received message keeps a zero byte after its payload (text payloads read as strings) and
// zeros up to the end of its buffer, so a request whose payload is shorter than its type
// needs reads as if the missing bytes were 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/socket_layer.h"

constexpr std::size_t kMessageHeaderBytes = 17;
constexpr std::int32_t kMaxPayloadBytes = 2048;
constexpr std::size_t kMaxMessageBytes = kMessageHeaderBytes + kMaxPayloadBytes;  // 2065
constexpr std::string_view kMessageMagic = "TRVN";

// Message types.
constexpr std::uint8_t kRegisterPlayer = 1;      // client to host: the registration payload below
constexpr std::uint8_t kRegistrationReply = 2;   // host to client: to = the new id
constexpr std::uint8_t kDataMessage = 3;         // player to player through the host: the text
constexpr std::uint8_t kPlayerLeaves = 4;        // client to host: from = the leaving player
constexpr std::uint8_t kPlayerCountRequest = 101;  // reply: int32 count of non-hidden players
constexpr std::uint8_t kPlayerIdRequest = 102;     // int32 index; reply: int32 id or 0
constexpr std::uint8_t kPlayerNameRequest = 103;   // int32 id; reply: the name
constexpr std::uint8_t kJoinHandshake = 104;       // reply: int32 1
constexpr std::uint8_t kFirstRequestType = 101;
constexpr std::uint8_t kLastRequestType = 104;

// Addresses in the to and from fields.
constexpr std::int32_t kHostId = 0;
constexpr std::int32_t kAllPlayers = -1;

// Registration payload (152 bytes): int32 socket (-1), int32 id (-1), uint8 hidden flag,
// 128-byte zero-terminated name, 15 bytes the host ignores (sent as zeros).
constexpr std::int32_t kRegistrationPayloadBytes = 152;
constexpr std::size_t kPlayerNameBytes = 128;
constexpr std::size_t kRegistrationHiddenOffset = 8;
constexpr std::size_t kRegistrationNameOffset = 9;

struct SessionMessage {
  // Header, payload, the zero byte after the payload.
  std::array<unsigned char, kMaxMessageBytes + 1> bytes{};
  // The connection the host read the message from; NL_INVALID for the client socket.
  NLsocket source = NL_INVALID;

  std::uint8_t Type() const { return bytes[4]; }
  std::int32_t PayloadLength() const { return ReadInt32(5); }
  std::int32_t To() const { return ReadInt32(9); }
  std::int32_t From() const { return ReadInt32(13); }
  const unsigned char* Payload() const { return bytes.data() + kMessageHeaderBytes; }
  // The payload as text, up to its first zero byte.
  const char* PayloadText() const { return reinterpret_cast<const char*>(Payload()); }
  // The int32 at offset in the payload; bytes past the payload read as 0.
  std::int32_t PayloadInt32(std::size_t offset) const { return ReadInt32(kMessageHeaderBytes + offset); }
  // Header plus payload: the bytes that go on the wire.
  std::size_t WireSize() const { return kMessageHeaderBytes + static_cast<std::size_t>(PayloadLength()); }

  void SetTo(std::int32_t to) { WriteInt32(9, to); }
  void SetFrom(std::int32_t from) { WriteInt32(13, from); }

  std::int32_t ReadInt32(std::size_t offset) const;
  void WriteInt32(std::size_t offset, std::int32_t value);
};

// A message of the given type with payload (length bytes, at most 2048) and a zero byte after it.
SessionMessage MakeSessionMessage(std::uint8_t type, std::int32_t to, std::int32_t from,
                                  const void* payload = nullptr, std::int32_t length = 0);
// A message carrying one int32 payload.
SessionMessage MakeInt32Message(std::uint8_t type, std::int32_t to, std::int32_t from, std::int32_t value);

// Checks a received datagram and copies it into message. Not a message (false): fewer than 17
// bytes, a wrong magic, a payload length below 0, above 2048 or different from the bytes that
// actually arrived.
bool DecodeDatagram(const unsigned char* datagram, std::size_t size, SessionMessage& message);

// The registration payload for a player: name cut at 127 characters.
SessionMessage MakeRegistration(std::string_view name, std::uint8_t hidden);
// The hidden flag and name of a received registration; the name is always terminated
// within 128 bytes, whatever the payload held.
struct Registration {
  std::uint8_t hidden = 0;
  std::array<char, kPlayerNameBytes> name{};
};
Registration DecodeRegistration(const SessionMessage& message);
