#pragma once
// Inside the socket layer: the record behind each socket id and the process-wide table.
//
// The socket layer is a library with process-wide state (HawkNL keeps one socket table for
// the whole process), so the table lives in one function-local object, SocketTable().
// Records are shared: a call holds its record while it works, so nlClose on another thread
// never pulls the descriptor from under a read; the descriptor closes with the last holder.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "net/socket_basics.h"

enum class ConnectionState { kUnconnected, kPending, kConnected, kRefused };

struct SocketRecord {
  SocketRecord(int descriptor, NLenum type, bool blocking);
  ~SocketRecord();
  SocketRecord(const SocketRecord&) = delete;
  SocketRecord& operator=(const SocketRecord&) = delete;

  // Ends a pending UDP handshake and waits for its thread; called before the record goes.
  void StopHandshake();

  const int descriptor;
  const NLenum type;
  const bool blocking;
  bool listening = false;
  // The peer is written before the state turns kConnected (release) and read after
  // seeing kConnected (acquire), so readers need no lock.
  std::atomic<ConnectionState> state{ConnectionState::kUnconnected};
  sockaddr_in peer{};
  std::atomic<bool> streamEnded{false};  // TCP: the peer closed; every later read reports it
  std::atomic<int> readTimeoutMs{-1};
  std::thread handshake;                 // the background half of a non-blocking UDP connect
  std::atomic<bool> cancelHandshake{false};
};

struct SocketGroup {
  std::vector<NLsocket> sockets;
};

struct SocketTableState {
  std::mutex mutex;
  int initCount = 0;
  bool blockingIo = false;
  bool socketStats = false;
  NLsocket nextSocketId = 0;
  std::map<NLsocket, std::shared_ptr<SocketRecord>> sockets;
  NLint nextGroupId = 200001;
  std::map<NLint, SocketGroup> groups;
};

constexpr std::size_t kMaxGroups = 128;

SocketTableState& SocketTable();
// The record of a socket id, or null with NL_INVALID_SOCKET set.
std::shared_ptr<SocketRecord> FindSocket(NLsocket socket);
// Enters a new record into the table and returns its id.
NLsocket AddSocket(std::shared_ptr<SocketRecord> record);
// A new non-blocking-or-blocking socket bound to any address on port; -1 with the error set.
int OpenBoundDescriptor(int kind, NLushort port, bool blocking);
// Waits until descriptor is readable (or writable); false on time-out. Negative waits.
bool WaitForDescriptor(int descriptor, short events, int timeoutMs);
