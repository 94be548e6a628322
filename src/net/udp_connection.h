#pragma once
// HawkNL's connection emulation over UDP, byte for byte as the library puts it on the wire.
//
//   client -> host's listening socket   27 bytes  "HawkNL request connection." 0
//   host listening socket -> client      24 bytes  port of a new host socket (16-bit big-endian),
//                                                   "HawkNL connection OK." 0
//   host's new socket -> client           0 bytes
//   client -> host's new socket           0 bytes   (after connecting to it)
// After that each nlWrite is one datagram with no header of the layer's own. Nothing is
// retransmitted and nlClose tells the peer nothing.

#include <cstddef>
#include <memory>
#include <string_view>

#include "net/socket_table.h"

constexpr std::string_view kConnectRequestText = "HawkNL request connection.";
constexpr std::size_t kConnectRequestBytes = 27;  // the text and its zero byte
constexpr std::string_view kConnectReplyText = "HawkNL connection OK.";
constexpr std::size_t kConnectReplyBytes = 24;    // 2 port bytes, the text, a zero byte
// The client waits this long for the host's reply before the connection counts as refused.
constexpr int kHandshakeLimitMs = 5500;

NLsocket AcceptUdpConnection(const std::shared_ptr<SocketRecord>& listener);
bool ConnectUdp(const std::shared_ptr<SocketRecord>& record, const NLaddress& host);
NLint ReadUdp(SocketRecord& record, void* buffer, NLint bytes);
NLint WriteUdp(SocketRecord& record, const void* buffer, NLint bytes);

// The pure parts of the handshake, shared with tests.
// True when datagram is a connection request (at least 27 bytes, the text in the first 26).
bool IsConnectRequest(const unsigned char* datagram, std::size_t size);
// When datagram is a connection reply returns true and the port it names.
bool ParseConnectReply(const unsigned char* datagram, std::size_t size, NLushort& port);
// Writes the 24-byte reply naming port into reply.
void BuildConnectReply(NLushort port, unsigned char (&reply)[kConnectReplyBytes]);
