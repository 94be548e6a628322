#include "net/connection_registry.h"

bool ConnectionRegistry::Admit(NLsocket connection, std::uint32_t address, std::int64_t nowMs, bool exempt) {
  if (connections_.count(connection) != 0) return true;
  std::size_t& fromAddress = perAddress_[address];
  if (connections_.size() >= kMaxConnections || fromAddress >= kMaxConnectionsPerAddress) {
    if (fromAddress == 0) perAddress_.erase(address);
    return false;
  }
  ++fromAddress;
  connections_[connection] = Connection{address, nowMs, exempt};
  return true;
}

void ConnectionRegistry::Heard(NLsocket connection) {
  const auto found = connections_.find(connection);
  if (found != connections_.end()) found->second.heard = true;
}

void ConnectionRegistry::Forget(NLsocket connection) {
  const auto found = connections_.find(connection);
  if (found == connections_.end()) return;
  const auto address = perAddress_.find(found->second.address);
  if (address != perAddress_.end() && --address->second == 0) perAddress_.erase(address);
  connections_.erase(found);
}

std::vector<NLsocket> ConnectionRegistry::Silent(std::int64_t nowMs) const {
  std::vector<NLsocket> silent;
  for (const auto& [socket, connection] : connections_) {
    if (!connection.heard && nowMs - connection.acceptedMs > kSilentConnectionLimitMs) silent.push_back(socket);
  }
  return silent;
}

std::vector<NLsocket> ConnectionRegistry::All() const {
  std::vector<NLsocket> all;
  all.reserve(connections_.size());
  for (const auto& [socket, connection] : connections_) all.push_back(socket);
  return all;
}
