#pragma once
// The socket layer's vocabulary: its number types, settings, error codes and address record,
// and the calling thread's last error, which every part of the layer sets.

#include <netinet/in.h>

#include <cstdint>

using NLint = std::int32_t;
using NLenum = std::int32_t;
using NLushort = std::uint16_t;
using NLsocket = std::int32_t;

// Network type and socket types.
constexpr NLenum NL_IP = 3;
constexpr NLenum NL_RELIABLE = 0x10;    // TCP stream
constexpr NLenum NL_UNRELIABLE = 0x11;  // UDP with HawkNL's connection emulation
// Settings for nlEnable/nlDisable and the poll kind for nlPollGroup.
constexpr NLenum NL_BLOCKING_IO = 0x40;
constexpr NLenum NL_SOCKET_STATS = 0x41;
constexpr NLenum NL_READ_STATUS = 0x50;

constexpr NLint NL_INVALID = -1;
constexpr NLint NL_MAX_PACKET_LENGTH = 16384;
constexpr NLint NL_MAX_GROUP_SOCKETS = 8192;

// Error codes, as nlGetError reports them.
constexpr NLenum NL_NO_ERROR = 0x000;
constexpr NLenum NL_NO_NETWORK = 0x100;
constexpr NLenum NL_OUT_OF_MEMORY = 0x101;
constexpr NLenum NL_INVALID_ENUM = 0x102;
constexpr NLenum NL_INVALID_SOCKET = 0x103;
constexpr NLenum NL_INVALID_PORT = 0x104;
constexpr NLenum NL_INVALID_TYPE = 0x105;
constexpr NLenum NL_SYSTEM_ERROR = 0x106;
constexpr NLenum NL_SOCK_DISCONNECT = 0x107;
constexpr NLenum NL_NOT_LISTEN = 0x108;
constexpr NLenum NL_CON_REFUSED = 0x109;
constexpr NLenum NL_NO_PENDING = 0x10A;
constexpr NLenum NL_BAD_ADDR = 0x10B;
constexpr NLenum NL_MESSAGE_END = 0x10C;
constexpr NLenum NL_NULL_POINTER = 0x10D;
constexpr NLenum NL_INVALID_GROUP = 0x10E;
constexpr NLenum NL_OUT_OF_GROUPS = 0x10F;
constexpr NLenum NL_OUT_OF_GROUP_SOCKETS = 0x110;
constexpr NLenum NL_BUFFER_SIZE = 0x111;
constexpr NLenum NL_PACKET_SIZE = 0x112;
constexpr NLenum NL_WRONG_TYPE = 0x113;
constexpr NLenum NL_CON_PENDING = 0x114;
constexpr NLenum NL_TIMED_OUT = 0x118;

// A blocking TCP connect gives up after this long (NL_TIMED_OUT).
constexpr NLint kBlockingConnectLimitMs = 30000;

// An IPv4 address with its port, as the layer hands addresses around.
struct NLaddress {
  sockaddr_in address{};
  bool valid = false;
};

// The last error of the calling thread; successful calls leave it unchanged.
NLenum nlGetError();
void nlSetError(NLenum error);
// Maps errno after a failed system call to the layer's error code and records it.
void SetSystemError(int error);
