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

thread_local NLenum lastError = NL_NO_ERROR;

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

SocketRecord::SocketRecord(int descriptor, NLenum type, bool blocking)
    : descriptor(descriptor), type(type), blocking(blocking) {}

SocketRecord::~SocketRecord() {
  StopHandshake();
  if (descriptor >= 0) ::close(descriptor);
}

void SocketRecord::StopHandshake() {
  cancelHandshake = true;
  if (handshake.joinable() && handshake.get_id() != std::this_thread::get_id()) handshake.join();
}

SocketTableState& SocketTable() {
  static SocketTableState table;
  return table;
}

std::shared_ptr<SocketRecord> FindSocket(NLsocket socket) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  const auto found = table.sockets.find(socket);
  if (found == table.sockets.end()) {
    lastError = NL_INVALID_SOCKET;
    return nullptr;
  }
  return found->second;
}

NLsocket AddSocket(std::shared_ptr<SocketRecord> record) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  // Ids wrap long before 2^31; skip the ones still in use.
  do {
    table.nextSocketId = table.nextSocketId == 0x7fffffff ? 0 : table.nextSocketId + 1;
  } while (table.sockets.count(table.nextSocketId) != 0);
  table.sockets[table.nextSocketId] = std::move(record);
  return table.nextSocketId;
}

void SetSystemError(int error) {
  switch (error) {
    // The errors that mean the connection itself is gone.
    case ENETRESET:
    case EHOSTUNREACH:
    case ECONNABORTED:
    case ECONNRESET:
    case ENETUNREACH:
    case ETIMEDOUT:
    case EPIPE:  // Linux's answer to a write on a stream the peer has reset
      lastError = NL_SOCK_DISCONNECT;
      break;
    // Out of descriptors or buffers: a shortage, not a broken socket. Reported apart so
    // that a flood of connection requests cannot pass for a failed listening socket.
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
      lastError = NL_OUT_OF_MEMORY;
      break;
    default:
      lastError = NL_SYSTEM_ERROR;
  }
}

int OpenBoundDescriptor(int kind, NLushort port, bool blocking) {
  const int descriptor = ::socket(AF_INET, kind | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
  if (descriptor < 0) {
    SetSystemError(errno);
    return -1;
  }
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  any.sin_port = htons(port);
  if (::bind(descriptor, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
    SetSystemError(errno);
    ::close(descriptor);
    return -1;
  }
  return descriptor;
}

bool WaitForDescriptor(int descriptor, short events, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int wait = -1;
    if (timeoutMs >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd watch{descriptor, events, 0};
    const int ready = ::poll(&watch, 1, wait);
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return true;  // let the following call report the problem
  }
}

// ---------------------------------------------------------------------------------------

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
    lastError = NL_NO_NETWORK;
    return false;
  }
  if (network != NL_IP) {
    lastError = NL_INVALID_ENUM;
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
    lastError = NL_INVALID_ENUM;
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
    lastError = NL_INVALID_ENUM;
    return false;
  }
  return true;
}

bool nlGetBoolean(NLenum setting) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (setting == NL_BLOCKING_IO) return table.blockingIo;
  if (setting == NL_SOCKET_STATS) return table.socketStats;
  lastError = NL_INVALID_ENUM;
  return false;
}

NLenum nlGetError() { return lastError; }

void nlSetError(NLenum error) { lastError = error; }

NLsocket nlOpen(NLushort port, NLenum type) {
  if (!IsInitialised()) {
    lastError = NL_NO_NETWORK;
    return NL_INVALID;
  }
  if (type != NL_RELIABLE && type != NL_UNRELIABLE) {
    lastError = NL_INVALID_TYPE;
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
    lastError = NL_NOT_LISTEN;
    return NL_INVALID;
  }
  return record->type == NL_RELIABLE ? AcceptTcpConnection(record) : AcceptUdpConnection(record);
}

bool nlConnect(NLsocket socket, const NLaddress* address) {
  if (address == nullptr) {
    lastError = NL_NULL_POINTER;
    return false;
  }
  if (!address->valid) {
    lastError = NL_BAD_ADDR;
    return false;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return false;
  if (record->listening || record->state != ConnectionState::kUnconnected) {
    lastError = NL_WRONG_TYPE;
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
      lastError = NL_INVALID_SOCKET;
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
    lastError = NL_NULL_POINTER;
    return NL_INVALID;
  }
  if (bytes < 0) {
    lastError = NL_BUFFER_SIZE;
    return NL_INVALID;
  }
  const std::shared_ptr<SocketRecord> record = FindSocket(socket);
  if (!record) return NL_INVALID;
  return record->type == NL_RELIABLE ? ReadTcp(*record, buffer, bytes) : ReadUdp(*record, buffer, bytes);
}

NLint nlWrite(NLsocket socket, const void* buffer, NLint bytes) {
  if (buffer == nullptr) {
    lastError = NL_NULL_POINTER;
    return NL_INVALID;
  }
  if (bytes < 0 || bytes > NL_MAX_PACKET_LENGTH) {
    lastError = NL_PACKET_SIZE;
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
