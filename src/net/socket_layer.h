#pragma once
// The engine's socket layer: a small set of HawkNL-compatible operations over POSIX sockets.
//
// The network session and the HTTP fetch are written against HawkNL's interface, and peers
// built with that library (on Windows or Linux) must be able to host and join our sessions.
// So this layer keeps HawkNL's names, codes and observable behaviour, including its UDP
// "connection" handshake on the wire (see udp_connection.h). Differences on purpose:
//   - nlInit/nlShutdown are counted: only the last nlShutdown closes every socket, so an HTTP
//     fetch (which initialises and shuts the layer down itself) leaves a running session alone.
//   - a blocking connect never waits forever, and a blocking read can be given a time limit
//     (nlSetReadTimeout, our own addition).
//   - accepted sockets take the blocking mode of the listening socket, not the current setting,
//     and (UDP) its receive buffer size.

#include <netinet/in.h>
#include <pthread.h>

#include <cstdint>
#include <string>
#include <vector>

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

// Start-up and settings. nlInit counts; each nlInit needs one nlShutdown.
bool nlInit();
void nlShutdown();
bool nlSelectNetwork(NLenum network);
bool nlEnable(NLenum setting);
bool nlDisable(NLenum setting);
bool nlGetBoolean(NLenum setting);
// The last error of the calling thread; successful calls leave it unchanged.
NLenum nlGetError();
void nlSetError(NLenum error);

// Sockets. Socket ids are small non-negative numbers; NL_INVALID marks failure.
NLsocket nlOpen(NLushort port, NLenum type);
bool nlListen(NLsocket socket);
NLsocket nlAcceptConnection(NLsocket socket);
bool nlConnect(NLsocket socket, const NLaddress* address);
bool nlClose(NLsocket socket);
// Bytes read (0 when nothing is waiting), or NL_INVALID.
NLint nlRead(NLsocket socket, void* buffer, NLint bytes);
// Bytes written (0 when the socket cannot take them now), or NL_INVALID.
NLint nlWrite(NLsocket socket, const void* buffer, NLint bytes);
// Our addition: a blocking read on this socket waits at most milliseconds, then fails with
// NL_TIMED_OUT; a negative value waits without limit (the default).
bool nlSetReadTimeout(NLsocket socket, NLint milliseconds);
// Our addition: asks the system for a receive buffer of bytes on the socket (it may grant
// less; the system's maximum applies), so bursts wait in the buffer instead of being dropped.
bool nlSetReceiveBuffer(NLsocket socket, NLint bytes);

// Addresses.
bool nlGetLocalAddr(NLsocket socket, NLaddress* address);
// The peer of a connected socket (for an accepted UDP connection: the client's address).
bool nlGetRemoteAddr(NLsocket socket, NLaddress* address);
std::vector<NLaddress> nlGetAllLocalAddr();
bool nlGetAddrFromName(const char* name, NLaddress* address);
bool nlSetAddrPort(NLaddress* address, NLushort port);
NLushort nlGetPortFromAddr(const NLaddress* address);
// "a.b.c.d:port", or "a.b.c.d" when the port is 0.
std::string nlAddrToString(const NLaddress* address);

// Socket groups.
NLint nlGroupCreate();
bool nlGroupDestroy(NLint group);
bool nlGroupAddSocket(NLint group, NLsocket socket);
bool nlGroupDeleteSocket(NLint group, NLsocket socket);
// The sockets of the group, in the order they were added.
std::vector<NLsocket> nlGroupGetSockets(NLint group);
// Number of sockets ready (written into sockets), 0 on time-out, NL_INVALID on error
// (NL_BUFFER_SIZE when more than number are ready). timeout 0 only polls, negative waits.
NLint nlPollGroup(NLint group, NLenum name, NLsocket* sockets, NLint number, NLint timeout);

// Threads and mutexes.
using NLthreadID = pthread_t;
using NLThreadFunction = void* (*)(void* data);
struct NLmutexRecord;
using NLmutex = NLmutexRecord*;

// Starts function(data) on a new thread, detached unless joinable.
bool nlThreadCreate(NLThreadFunction function, void* data, bool joinable, NLthreadID* thread = nullptr);
bool nlThreadJoin(NLthreadID thread, void** result = nullptr);
bool nlMutexInit(NLmutex* mutex);
bool nlMutexLock(NLmutex* mutex);
bool nlMutexUnlock(NLmutex* mutex);
bool nlMutexDestroy(NLmutex* mutex);
