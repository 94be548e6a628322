#include "net/socket_table.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

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
    nlSetError(NL_INVALID_SOCKET);
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
      // Rounded up: poll counts whole milliseconds, and a wait must not end before its limit.
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd watch{descriptor, events, 0};
    const int ready = ::poll(&watch, 1, wait);
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return true;  // let the following call report the problem
  }
}
