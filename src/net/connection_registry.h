#pragma once
// The host's record of the connections it accepted, and the limits that keep what a
// hostile peer can make it hold bounded:
//   - at most kMaxConnections connections, and kMaxConnectionsPerAddress from one address,
//     so a flood of connection requests cannot use up the process's descriptors;
//   - a connection that has no registered player kSilentConnectionLimitMs after its
//     handshake is closed (honest peers register their hidden entry at once; the host's own
//     client connection is exempt, since a hosting game may create its first player much
//     later).
// Pure bookkeeping over an explicit clock; the session thread opens and closes the sockets.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "net/socket_layer.h"

// Honest sessions of up to 256 players (one process each, all behind one address at worst)
// stay below every limit.
constexpr std::size_t kMaxConnections = 600;
constexpr std::size_t kMaxConnectionsPerAddress = 300;
constexpr std::int64_t kSilentConnectionLimitMs = 6000;

class ConnectionRegistry {
 public:
  // Records a new connection from address (IPv4, network order) unless a limit is reached;
  // false means the caller closes it. An exempt connection is never closed for silence.
  bool Admit(NLsocket connection, std::uint32_t address, std::int64_t nowMs, bool exempt);
  // The connection registered a player: it is never closed for silence.
  void Heard(NLsocket connection);
  void Forget(NLsocket connection);
  // Connections not heard from since their handshake for longer than the limit.
  std::vector<NLsocket> Silent(std::int64_t nowMs) const;
  std::vector<NLsocket> All() const;
  std::size_t Count() const { return connections_.size(); }

 private:
  struct Connection {
    std::uint32_t address = 0;
    std::int64_t acceptedMs = 0;
    bool heard = false;
  };
  std::unordered_map<NLsocket, Connection> connections_;
  std::unordered_map<std::uint32_t, std::size_t> perAddress_;
};
