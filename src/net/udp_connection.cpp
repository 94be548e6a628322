#include "net/udp_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace {

bool IsWouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

bool SameEndpoint(const sockaddr_in& left, const sockaddr_in& right) {
  return left.sin_addr.s_addr == right.sin_addr.s_addr && left.sin_port == right.sin_port;
}

// The client half of the handshake: waits for the host's reply, then connects to the socket
// the reply names and greets it with an empty datagram. Other datagrams are dropped and the
// sender of the reply is not checked, as the library does.
bool RunHandshake(SocketRecord* record) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kHandshakeLimitMs);
  while (!record->cancelHandshake) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    // Short waits, so that nlClose can stop the handshake promptly.
    if (!WaitForDescriptor(record->descriptor, POLLIN, static_cast<int>(std::min<long long>(left, 50)))) continue;
    unsigned char datagram[64];
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t size = ::recvfrom(record->descriptor, datagram, sizeof datagram, MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&from), &fromSize);
    NLushort port = 0;
    if (size < 0 || from.sin_family != AF_INET) continue;
    if (!ParseConnectReply(datagram, static_cast<std::size_t>(size), port)) continue;
    sockaddr_in peer = from;
    peer.sin_port = htons(port);
    if (::connect(record->descriptor, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) break;
    (void)::send(record->descriptor, "", 0, MSG_NOSIGNAL | MSG_DONTWAIT);
    record->peer = peer;
    record->state.store(ConnectionState::kConnected, std::memory_order_release);
    return true;
  }
  record->state.store(ConnectionState::kRefused, std::memory_order_release);
  return false;
}

// Reads and writes on a socket whose handshake has not finished fail as the library's do.
bool CheckUsable(const SocketRecord& record) {
  switch (record.state.load(std::memory_order_acquire)) {
    case ConnectionState::kPending:
      nlSetError(NL_CON_PENDING);
      return false;
    case ConnectionState::kRefused:
      nlSetError(NL_CON_REFUSED);
      return false;
    default:
      return true;
  }
}

}  // namespace

bool IsConnectRequest(const unsigned char* datagram, std::size_t size) {
  return size >= kConnectRequestBytes &&
         std::memcmp(datagram, kConnectRequestText.data(), kConnectRequestText.size()) == 0;
}

bool ParseConnectReply(const unsigned char* datagram, std::size_t size, NLushort& port) {
  // Byte 23 (the reply text's zero byte) is not compared.
  if (size < kConnectReplyBytes || std::memcmp(datagram + 2, kConnectReplyText.data(), kConnectReplyText.size()) != 0) {
    return false;
  }
  port = static_cast<NLushort>((datagram[0] << 8) | datagram[1]);
  return true;
}

void BuildConnectReply(NLushort port, unsigned char (&reply)[kConnectReplyBytes]) {
  reply[0] = static_cast<unsigned char>(port >> 8);
  reply[1] = static_cast<unsigned char>(port & 0xff);
  std::memcpy(reply + 2, kConnectReplyText.data(), kConnectReplyText.size());
  reply[kConnectReplyBytes - 1] = 0;
}

NLsocket AcceptUdpConnection(const std::shared_ptr<SocketRecord>& listener) {
  unsigned char datagram[64];
  sockaddr_in client{};
  socklen_t clientSize = sizeof client;
  const ssize_t size = ::recvfrom(listener->descriptor, datagram, sizeof datagram, listener->blocking ? 0 : MSG_DONTWAIT,
                                  reinterpret_cast<sockaddr*>(&client), &clientSize);
  if (size < 0) {
    const int error = errno;
    // Nothing waiting, or an error a remote peer caused: no connection is pending. Only a
    // failure of the listening socket itself is a system error.
    if (IsWouldBlock(error) || error == EINTR || error == ECONNREFUSED || error == EHOSTUNREACH ||
        error == ENETUNREACH) {
      nlSetError(NL_NO_PENDING);
    } else {
      SetSystemError(error);
    }
    return NL_INVALID;
  }
  if (client.sin_family != AF_INET || !IsConnectRequest(datagram, static_cast<std::size_t>(size))) {
    nlSetError(NL_NO_PENDING);
    return NL_INVALID;
  }

  const int descriptor = OpenBoundDescriptor(SOCK_DGRAM, 0, listener->blocking);
  if (descriptor < 0) {
    // A shortage of sockets or ports drops this request; it says nothing about the listener.
    nlSetError(NL_OUT_OF_MEMORY);
    return NL_INVALID;
  }
  // The new socket gets the listening socket's receive buffer before the client can
  // reach it, so a burst right after the handshake finds the room the host asked for.
  int receiveBuffer = 0;
  socklen_t bufferSize = sizeof receiveBuffer;
  if (::getsockopt(listener->descriptor, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, &bufferSize) == 0) {
    receiveBuffer /= 2;  // the system reports twice what was asked for (its bookkeeping share)
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  sockaddr_in local{};
  socklen_t localSize = sizeof local;
  ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &localSize);
  unsigned char reply[kConnectReplyBytes];
  BuildConnectReply(ntohs(local.sin_port), reply);
  const auto* clientAddress = reinterpret_cast<const sockaddr*>(&client);
  // A reply that cannot be sent (the request came from an address we may not answer) drops
  // the request.
  bool answered = ::sendto(listener->descriptor, reply, sizeof reply, MSG_NOSIGNAL, clientAddress, sizeof client) ==
                  static_cast<ssize_t>(sizeof reply);
  if (answered) {
    (void)::sendto(descriptor, "", 0, MSG_NOSIGNAL | MSG_DONTWAIT, clientAddress, sizeof client);
    answered = ::connect(descriptor, clientAddress, sizeof client) == 0;
  }
  if (!answered) {
    ::close(descriptor);
    nlSetError(NL_NO_PENDING);
    return NL_INVALID;
  }
  auto record = std::make_shared<SocketRecord>(descriptor, NL_UNRELIABLE, listener->blocking);
  record->peer = client;
  record->state.store(ConnectionState::kConnected, std::memory_order_release);
  return AddSocket(std::move(record));
}

bool ConnectUdp(const std::shared_ptr<SocketRecord>& record, const NLaddress& host) {
  unsigned char request[kConnectRequestBytes] = {};
  std::memcpy(request, kConnectRequestText.data(), kConnectRequestText.size());
  if (::sendto(record->descriptor, request, sizeof request, MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&host.address), sizeof host.address) < 0) {
    SetSystemError(errno);
    return false;
  }
  record->state = ConnectionState::kPending;
  if (record->blocking) {
    if (RunHandshake(record.get())) return true;
    nlSetError(NL_CON_REFUSED);
    return false;
  }
  try {
    record->handshake = std::thread(RunHandshake, record.get());
  } catch (const std::system_error&) {
    record->state = ConnectionState::kRefused;
    nlSetError(NL_SYSTEM_ERROR);
    return false;
  }
  return true;
}

NLint ReadUdp(SocketRecord& record, void* buffer, NLint bytes) {
  if (!CheckUsable(record)) return NL_INVALID;
  const bool connected = record.state.load(std::memory_order_acquire) == ConnectionState::kConnected;
  for (;;) {
    if (record.blocking && record.readTimeoutMs >= 0 &&
        !WaitForDescriptor(record.descriptor, POLLIN, record.readTimeoutMs)) {
      nlSetError(NL_TIMED_OUT);
      return NL_INVALID;
    }
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t size = ::recvfrom(record.descriptor, buffer, static_cast<std::size_t>(bytes),
                                    record.blocking ? 0 : MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (size < 0) {
      const int error = errno;
      if (error == EINTR) continue;
      if (IsWouldBlock(error)) return 0;
      SetSystemError(error);
      return NL_INVALID;
    }
    // Datagrams that were queued before the socket was connected may come from anywhere;
    // a connected socket only ever reads its peer.
    if (connected && !SameEndpoint(from, record.peer)) continue;
    return static_cast<NLint>(size);
  }
}

NLint WriteUdp(SocketRecord& record, const void* buffer, NLint bytes) {
  if (!CheckUsable(record)) return NL_INVALID;
  if (record.state.load(std::memory_order_acquire) != ConnectionState::kConnected) {
    nlSetError(NL_BAD_ADDR);  // no peer to write to
    return NL_INVALID;
  }
  for (;;) {
    const ssize_t size = ::send(record.descriptor, buffer, static_cast<std::size_t>(bytes),
                                MSG_NOSIGNAL | (record.blocking ? 0 : MSG_DONTWAIT));
    if (size >= 0) return static_cast<NLint>(size);
    const int error = errno;
    if (error == EINTR) continue;
    if (IsWouldBlock(error)) return 0;
    SetSystemError(error);
    return NL_INVALID;
  }
}
