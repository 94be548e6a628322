#include "net/tcp_stream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool IsWouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

bool SetNonBlocking(int descriptor, bool nonBlocking) {
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0) return false;
  return ::fcntl(descriptor, F_SETFL, nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) == 0;
}

void SetConnectError(int error) {
  if (error == ECONNREFUSED) nlSetError(NL_CON_REFUSED);
  else SetSystemError(error);
}

}  // namespace

NLsocket AcceptTcpConnection(const std::shared_ptr<SocketRecord>& listener) {
  const int descriptor =
      ::accept4(listener->descriptor, nullptr, nullptr, SOCK_CLOEXEC | (listener->blocking ? 0 : SOCK_NONBLOCK));
  if (descriptor < 0) {
    const int error = errno;
    if (IsWouldBlock(error) || error == EINTR || error == ECONNABORTED) nlSetError(NL_NO_PENDING);
    else SetSystemError(error);
    return NL_INVALID;
  }
  auto record = std::make_shared<SocketRecord>(descriptor, NL_RELIABLE, listener->blocking);
  record->state = ConnectionState::kConnected;
  return AddSocket(std::move(record));
}

bool ConnectTcp(SocketRecord& record, const NLaddress& address) {
  const auto* target = reinterpret_cast<const sockaddr*>(&address.address);
  if (!record.blocking) {
    if (::connect(record.descriptor, target, sizeof address.address) != 0 && errno != EINPROGRESS) {
      SetConnectError(errno);
      return false;
    }
    record.state = ConnectionState::kConnected;
    return true;
  }
  // A blocking connect is done without blocking and waited for with a limit, so an
  // address that never answers cannot hold the game forever.
  if (!SetNonBlocking(record.descriptor, true)) {
    SetSystemError(errno);
    return false;
  }
  int error = 0;
  if (::connect(record.descriptor, target, sizeof address.address) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      if (!WaitForDescriptor(record.descriptor, POLLOUT, kBlockingConnectLimitMs)) {
        SetNonBlocking(record.descriptor, false);
        nlSetError(NL_TIMED_OUT);
        return false;
      }
      socklen_t size = sizeof error;
      if (::getsockopt(record.descriptor, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    }
  }
  SetNonBlocking(record.descriptor, false);
  if (error != 0) {
    SetConnectError(error);
    return false;
  }
  record.state = ConnectionState::kConnected;
  return true;
}

NLint ReadTcp(SocketRecord& record, void* buffer, NLint bytes) {
  if (record.streamEnded) {
    nlSetError(NL_MESSAGE_END);
    return NL_INVALID;
  }
  if (bytes == 0) return 0;
  for (;;) {
    if (record.blocking && record.readTimeoutMs >= 0 &&
        !WaitForDescriptor(record.descriptor, POLLIN, record.readTimeoutMs)) {
      nlSetError(NL_TIMED_OUT);
      return NL_INVALID;
    }
    const ssize_t size =
        ::recv(record.descriptor, buffer, static_cast<std::size_t>(bytes), record.blocking ? 0 : MSG_DONTWAIT);
    if (size > 0) return static_cast<NLint>(size);
    if (size == 0) {
      record.streamEnded = true;
      nlSetError(NL_MESSAGE_END);
      return NL_INVALID;
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (IsWouldBlock(error)) return 0;
    if (error == ENOTCONN) {
      nlSetError(NL_CON_PENDING);  // a non-blocking connect still on its way
      return NL_INVALID;
    }
    SetSystemError(error);
    return NL_INVALID;
  }
}

NLint WriteTcp(SocketRecord& record, const void* buffer, NLint bytes) {
  const auto* bytesLeft = static_cast<const char*>(buffer);
  NLint written = 0;
  // Blocking writes hand over everything; non-blocking ones what the socket takes now.
  while (written < bytes) {
    const ssize_t size = ::send(record.descriptor, bytesLeft + written, static_cast<std::size_t>(bytes - written),
                                MSG_NOSIGNAL | (record.blocking ? 0 : MSG_DONTWAIT));
    if (size > 0) {
      written += static_cast<NLint>(size);
      if (!record.blocking) break;
      continue;
    }
    const int error = size < 0 ? errno : EAGAIN;
    if (error == EINTR) continue;
    if (IsWouldBlock(error) && !record.blocking) break;
    if (error == ENOTCONN) {
      nlSetError(NL_CON_PENDING);
      return NL_INVALID;
    }
    SetSystemError(error);
    return NL_INVALID;
  }
  return written;
}
