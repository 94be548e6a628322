// Addresses of the socket layer: name lookup, the machine's own addresses, text forms.

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/socket_layer.h"
#include "net/socket_table.h"

namespace {

NLaddress MakeAddress(in_addr_t hostOrderAddress, NLushort port) {
  NLaddress address;
  address.address.sin_family = AF_INET;
  address.address.sin_addr.s_addr = htonl(hostOrderAddress);
  address.address.sin_port = htons(port);
  address.valid = true;
  return address;
}

// The IPv4 addresses a host name resolves to, in the resolver's order, each once.
std::vector<in_addr_t> ResolveIpv4(const char* host) {
  std::vector<in_addr_t> found;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* results = nullptr;
  if (::getaddrinfo(host, nullptr, &hints, &results) != 0) return found;
  for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET) continue;
    const in_addr_t address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
    if (std::find(found.begin(), found.end(), address) == found.end()) found.push_back(address);
  }
  ::freeaddrinfo(results);
  return found;
}

}  // namespace

std::vector<NLaddress> nlGetAllLocalAddr() {
  char hostName[256] = {};
  std::vector<NLaddress> addresses;
  if (::gethostname(hostName, sizeof hostName - 1) == 0) {
    for (const in_addr_t address : ResolveIpv4(hostName)) addresses.push_back(MakeAddress(address, 0));
  }
  if (addresses.empty()) addresses.push_back(MakeAddress(INADDR_LOOPBACK, 0));
  return addresses;
}

bool nlGetLocalAddr(NLsocket socket, NLaddress* address) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (::getsockname(record->descriptor, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
    SetSystemError(errno);
    return false;
  }
  // A socket bound to any address answers with the machine's first own address.
  if (local.sin_addr.s_addr == htonl(INADDR_ANY)) local.sin_addr = nlGetAllLocalAddr().front().address.sin_addr;
  address->address = local;
  address->address.sin_family = AF_INET;
  address->valid = true;
  return true;
}

bool nlGetRemoteAddr(NLsocket socket, NLaddress* address) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  sockaddr_in remote{};
  socklen_t size = sizeof remote;
  if (::getpeername(record->descriptor, reinterpret_cast<sockaddr*>(&remote), &size) != 0 ||
      remote.sin_family != AF_INET) {
    nlSetError(NL_BAD_ADDR);  // not connected to anybody
    return false;
  }
  address->address = remote;
  address->valid = true;
  return true;
}

bool nlGetAddrFromName(const char* name, NLaddress* address) {
  if (name == nullptr || address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  address->valid = false;
  // "host:port" is accepted; the port is the digits after the last colon.
  std::string host = name;
  long port = 0;
  const std::size_t colon = host.rfind(':');
  if (colon != std::string::npos) {
    const std::string digits = host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
      nlSetError(NL_BAD_ADDR);
      return false;
    }
    port = std::strtol(digits.c_str(), nullptr, 10);
    if (port > 65535) {
      nlSetError(NL_INVALID_PORT);
      return false;
    }
    host.erase(colon);
  }
  if (host.empty()) {
    nlSetError(NL_BAD_ADDR);
    return false;
  }
  const std::vector<in_addr_t> found = ResolveIpv4(host.c_str());
  if (found.empty()) {
    nlSetError(NL_BAD_ADDR);
    return false;
  }
  *address = MakeAddress(found.front(), static_cast<NLushort>(port));
  return true;
}

bool nlSetAddrPort(NLaddress* address, NLushort port) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  address->address.sin_port = htons(port);
  return true;
}

NLushort nlGetPortFromAddr(const NLaddress* address) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return 0;
  }
  return ntohs(address->address.sin_port);
}

std::string nlAddrToString(const NLaddress* address) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return {};
  }
  const std::uint32_t host = ntohl(address->address.sin_addr.s_addr);
  const NLushort port = ntohs(address->address.sin_port);
  char text[32];
  if (port == 0) {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", host >> 24, (host >> 16) & 0xff, (host >> 8) & 0xff, host & 0xff);
  } else {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", host >> 24, (host >> 16) & 0xff, (host >> 8) & 0xff,
                  host & 0xff, static_cast<unsigned>(port));
  }
  return text;
}
