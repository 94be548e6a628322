#include "net/socket_layer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "net/socket_table.h"
#include "net/tcp_stream.h"
#include "net/udp_connection.h"

namespace {

bool IsInitialised() {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  return table.initCount > 0;
}

// Takes every socket and group out of the table (the last nlShutdown).
void CloseEverything() {
  std::map<NLsocket, std::shared_ptr<SocketRecord>> sockets;
  {
    SocketTableState& table = SocketTable();
    std::lock_guard guard(table.mutex);
    sockets.swap(table.sockets);
    table.groups.clear();
    table.blockingIo = false;
    table.socketStats = false;
  }
  for (auto& [id, record] : sockets) record->StopHandshake();
}

}  // namespace

bool nlInit() {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  ++table.initCount;
  return true;
}

void nlShutdown() {
  {
    SocketTableState& table = SocketTable();
    std::lock_guard guard(table.mutex);
    if (table.initCount == 0) return;
    if (--table.initCount > 0) return;
  }
  CloseEverything();
}

bool nlSelectNetwork(NLenum network) {
  if (!IsInitialised()) {
    nlSetError(NL_NO_NETWORK);
    return false;
  }
  if (network != NL_IP) {
    nlSetError(NL_INVALID_ENUM);
    return false;
  }
  return true;
}

bool nlEnable(NLenum setting) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (setting == NL_BLOCKING_IO) table.blockingIo = true;
  else if (setting == NL_SOCKET_STATS) table.socketStats = true;
  else {
    nlSetError(NL_INVALID_ENUM);
    return false;
  }
  return true;
}

bool nlDisable(NLenum setting) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (setting == NL_BLOCKING_IO) table.blockingIo = false;
  else if (setting == NL_SOCKET_STATS) table.socketStats = false;
  else {
    nlSetError(NL_INVALID_ENUM);
    return false;
  }
  return true;
}

bool nlGetBoolean(NLenum setting) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (setting == NL_BLOCKING_IO) return table.blockingIo;
  if (setting == NL_SOCKET_STATS) return table.socketStats;
  nlSetError(NL_INVALID_ENUM);
  return false;
}

NLsocket nlOpen(NLushort port, NLenum type) {
  if (!IsInitialised()) {
    nlSetError(NL_NO_NETWORK);
    return NL_INVALID;
  }
  if (type != NL_RELIABLE && type != NL_UNRELIABLE) {
    nlSetError(NL_INVALID_TYPE);
    return NL_INVALID;
  }
  const bool blocking = nlGetBoolean(NL_BLOCKING_IO);
  const int descriptor = OpenBoundDescriptor(type == NL_RELIABLE ? SOCK_STREAM : SOCK_DGRAM, port, blocking);
  if (descriptor < 0) return NL_INVALID;
  return AddSocket(std::make_shared<SocketRecord>(descriptor, type, blocking));
}

bool nlListen(NLsocket socket) {
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  if (record->type == NL_RELIABLE && ::listen(record->descriptor, SOMAXCONN) != 0) {
    SetSystemError(errno);
    return false;
  }
  record->listening = true;
  return true;
}

NLsocket nlAcceptConnection(NLsocket socket) {
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return NL_INVALID;
  if (!record->listening) {
    nlSetError(NL_NOT_LISTEN);
    return NL_INVALID;
  }
  return record->type == NL_RELIABLE ? AcceptTcpConnection(record) : AcceptUdpConnection(record);
}

bool nlConnect(NLsocket socket, const NLaddress* address) {
  if (address == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  if (!address->valid) {
    nlSetError(NL_BAD_ADDR);
    return false;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  if (record->listening || record->state != ConnectionState::kUnconnected) {
    nlSetError(NL_WRONG_TYPE);
    return false;
  }
  return record->type == NL_RELIABLE ? ConnectTcp(*record, *address) : ConnectUdp(record, *address);
}

bool nlClose(NLsocket socket) {
  std::shared_ptr<SocketRecord> record;
  {
    SocketTableState& table = SocketTable();
    std::lock_guard guard(table.mutex);
    const auto found = table.sockets.find(socket);
    if (found == table.sockets.end()) {
      nlSetError(NL_INVALID_SOCKET);
      return false;
    }
    record = std::move(found->second);
    table.sockets.erase(found);
    for (auto& [id, group] : table.groups) std::erase(group.sockets, socket);
  }
  record->StopHandshake();
  return true;
}

NLint nlRead(NLsocket socket, void* buffer, NLint bytes) {
  if (buffer == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return NL_INVALID;
  }
  if (bytes < 0) {
    nlSetError(NL_BUFFER_SIZE);
    return NL_INVALID;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return NL_INVALID;
  return record->type == NL_RELIABLE ? ReadTcp(*record, buffer, bytes) : ReadUdp(*record, buffer, bytes);
}

NLint nlWrite(NLsocket socket, const void* buffer, NLint bytes) {
  if (buffer == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return NL_INVALID;
  }
  if (bytes < 0 || bytes > NL_MAX_PACKET_LENGTH) {
    nlSetError(NL_PACKET_SIZE);
    return NL_INVALID;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return NL_INVALID;
  return record->type == NL_RELIABLE ? WriteTcp(*record, buffer, bytes) : WriteUdp(*record, buffer, bytes);
}

bool nlSetReadTimeout(NLsocket socket, NLint milliseconds) {
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  record->readTimeoutMs = milliseconds < 0 ? -1 : milliseconds;
  return true;
}

bool nlSetReceiveBuffer(NLsocket socket, NLint bytes) {
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  const int size = bytes < 0 ? 0 : bytes;
  if (::setsockopt(record->descriptor, SOL_SOCKET, SO_RCVBUF, &size, sizeof size) != 0) {
    SetSystemError(errno);
    return false;
  }
  return true;
}
