#include "net/socket_basics.h"

#include <cerrno>

namespace {

thread_local NLenum lastError = NL_NO_ERROR;

}  // namespace

NLenum nlGetError() { return lastError; }

void nlSetError(NLenum error) { lastError = error; }

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
      nlSetError(NL_SOCK_DISCONNECT);
      break;
    // Out of descriptors or buffers: a shortage, not a broken socket. Reported apart so
    // that a flood of connection requests cannot pass for a failed listening socket.
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
      nlSetError(NL_OUT_OF_MEMORY);
      break;
    default:
      nlSetError(NL_SYSTEM_ERROR);
  }
}
