#include "raw_udp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

}  // namespace

RawUdpPeer::RawUdpPeer(std::uint16_t port) {
  descriptor_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(port);
  if (descriptor_ < 0 || ::bind(descriptor_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot bind the test peer");
  }
  socklen_t size = sizeof address;
  ::getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
}

RawUdpPeer::~RawUdpPeer() { ::close(descriptor_); }

void RawUdpPeer::SetReceiveBuffer(int bytes) const {
  ::setsockopt(descriptor_, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

void RawUdpPeer::SendTo(std::uint16_t port, const std::string& bytes) const {
  const sockaddr_in address = Loopback(port);
  ::sendto(descriptor_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

std::optional<Datagram> RawUdpPeer::Receive(int timeoutMs) const {
  pollfd watch{descriptor_, POLLIN, 0};
  if (::poll(&watch, 1, timeoutMs) <= 0) return std::nullopt;
  char buffer[70000];
  sockaddr_in from{};
  socklen_t size = sizeof from;
  const ssize_t count = ::recvfrom(descriptor_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
  if (count < 0) return std::nullopt;
  return Datagram{std::string(buffer, static_cast<std::size_t>(count)), ntohs(from.sin_port)};
}

std::optional<Datagram> RawUdpPeer::ReceiveFrom(std::uint16_t port, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return std::nullopt;
    std::optional<Datagram> datagram = Receive(static_cast<int>(left));
    if (datagram && datagram->fromPort == port) return datagram;
  }
}

std::string ReplyDatagram(std::uint16_t port) {
  std::string reply;
  reply += static_cast<char>(port >> 8);
  reply += static_cast<char>(port & 0xff);
  reply += "HawkNL connection OK.";
  reply += '\0';
  return reply;
}

std::uint16_t JoinLikeTheLibrary(const RawUdpPeer& peer, std::uint16_t hostPort) {
  peer.SendTo(hostPort, kRequestDatagram);
  const std::optional<Datagram> reply = peer.ReceiveFrom(hostPort, 3000);
  if (!reply || reply->bytes.size() < 24 || reply->bytes.substr(2, 21) != "HawkNL connection OK.") return 0;
  const auto port = static_cast<std::uint16_t>((static_cast<unsigned char>(reply->bytes[0]) << 8) |
                                               static_cast<unsigned char>(reply->bytes[1]));
  peer.SendTo(port, "");
  return port;
}

std::uint16_t AcceptLikeTheLibrary(const RawUdpPeer& listener, const RawUdpPeer& connection, std::string& request) {
  const std::optional<Datagram> received = listener.Receive(3000);
  if (!received) return 0;
  request = received->bytes;
  listener.SendTo(received->fromPort, ReplyDatagram(connection.Port()));
  connection.SendTo(received->fromPort, "");
  return received->fromPort;
}

std::uint16_t FreeUdpPort() {
  RawUdpPeer probe;
  return probe.Port();
}
