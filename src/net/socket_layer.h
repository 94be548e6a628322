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

#include <pthread.h>

#include <string>
#include <vector>

#include "net/socket_basics.h"

// Start-up and settings. nlInit counts; each nlInit needs one nlShutdown.
bool nlInit();
void nlShutdown();
bool nlSelectNetwork(NLenum network);
bool nlEnable(NLenum setting);
bool nlDisable(NLenum setting);
bool nlGetBoolean(NLenum setting);

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
