#pragma once
// A plain UDP socket on 127.0.0.1 for the tests: it plays the other side of the socket
// layer's handshake and of the session exactly as the library's peers do on the wire,
// written from the protocol's description, not from the engine's code.

#include <cstdint>
#include <optional>
#include <string>

struct Datagram {
  std::string bytes;
  std::uint16_t fromPort = 0;
};

class RawUdpPeer {
 public:
  // Binds 127.0.0.1:port (0: any free port).
  explicit RawUdpPeer(std::uint16_t port = 0);
  ~RawUdpPeer();
  RawUdpPeer(const RawUdpPeer&) = delete;
  RawUdpPeer& operator=(const RawUdpPeer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Room for bursts of answers that arrive faster than the test reads them.
  void SetReceiveBuffer(int bytes) const;
  void SendTo(std::uint16_t port, const std::string& bytes) const;
  // The next datagram within timeoutMs.
  std::optional<Datagram> Receive(int timeoutMs) const;
  // The next datagram from port within timeoutMs, dropping others.
  std::optional<Datagram> ReceiveFrom(std::uint16_t port, int timeoutMs) const;

 private:
  int descriptor_ = -1;
  std::uint16_t port_ = 0;
};

// The library's handshake texts, as they go on the wire.
inline const std::string kRequestDatagram = std::string("HawkNL request connection.") + '\0';
std::string ReplyDatagram(std::uint16_t port);

// Joins a host that listens on hostPort the way the library's client does: request, the
// host's reply with the port of its new socket, that socket's empty datagram, our empty
// greeting. Returns the port of the host's new socket (0 when the host did not answer).
std::uint16_t JoinLikeTheLibrary(const RawUdpPeer& peer, std::uint16_t hostPort);

// Hosts the way the library's listening side does: takes the next datagram on listener
// (stored in request), answers it from listener with connection's port, and greets the
// client from connection with an empty datagram. Returns the client's port (0 when nothing
// came).
std::uint16_t AcceptLikeTheLibrary(const RawUdpPeer& listener, const RawUdpPeer& connection, std::string& request);

// A UDP port that was free a moment ago.
std::uint16_t FreeUdpPort();
