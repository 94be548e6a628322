#pragma once
// The network session: a small host/client message relay between game instances over UDP.
//
// One process hosts on a port; others join it by address. Every process, the host included,
// talks to the host through one client socket; the host also accepts connections on a
// listening socket. A background session thread (session_thread.cpp) does all reading,
// relaying and bookkeeping in passes run whenever a socket has something to read (and at
// least every 10 ms); the game thread hands it work through the lists and queues below,
// under one lock, and waits for answers in looks 20 ms apart, each ended early when the
// thread signals that an answer came.

#include <array>
#include <cstdint>
#include <deque>
#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <string_view>

#include "net/session_message.h"
#include "net/socket_layer.h"

constexpr int kDefaultSessionPort = 26000;
// Waiting for an answer: 250 polls 20 ms apart (5 seconds).
constexpr int kAnswerPollMs = 20;
constexpr int kAnswerPolls = 250;
// Stopping the thread: the stop flag is re-checked every 50 ms.
constexpr int kStopPollMs = 50;

// States of a local entry's id before the host has given it one (ids given are >= 0).
constexpr std::int32_t kEntryNew = -1;               // registration not yet sent
constexpr std::int32_t kEntryAbandoned = -2;         // its creator gave up; the thread removes it
constexpr std::int32_t kEntryRegistrationSent = -3;  // waiting for the host's reply

struct NetPlayerEntry {
  NLsocket socket = NL_INVALID;    // on the host: the connection the player came from
  std::int32_t id = kEntryNew;
  std::uint8_t hidden = 0;         // 1 for a process's own session entry
  std::array<char, kPlayerNameBytes> name{};
  // A list, not a deque: an empty list holds no memory, and the host keeps one entry per
  // registered player whose inbox stays empty.
  std::list<SessionMessage> inbox;
};

class NetSession {
 public:
  NetSession();
  ~NetSession();
  NetSession(const NetSession&) = delete;
  NetSession& operator=(const NetSession&) = delete;

  // The work of the session commands. A port of 0 or less means 26000.
  bool Host(int port);
  bool Join(std::string_view address, int port);
  // Ends any session; the machine's addresses joined by "|".
  std::string ListAddresses();
  // The new player's id, or -1 when the host did not answer.
  std::int32_t CreatePlayer(std::string_view name);
  bool PlayerCount(std::int32_t& count);
  bool PlayerId(std::int32_t index, std::int32_t& id);
  bool PlayerName(std::int32_t id, std::string& name);
  // Writes a data message from the calling thread; to 0 means every player.
  bool Send(std::int32_t from, std::int32_t to, std::string_view text);
  void SendLeave(std::int32_t id);
  // The oldest message in the inbox of local player id; false when there is none.
  bool Receive(std::int32_t id, std::string& text);
  std::int32_t LastSender() const { return lastSender; }
  // At program end: stops the thread, tells the host that each local player leaves, closes
  // the sockets.
  void EndSession();

  // Stops the thread, closes the sockets, frees both lists, restarts ids at 101 and
  // restarts the socket layer.
  void ResetSession();
  // Sends a request (type, length and payload filled in) and waits for the host's reply,
  // which is copied over message. Registers this process's hidden entry first if needed.
  bool SessionRequest(SessionMessage& message);

  // Locking helpers for the session thread and the commands.
  void Lock() { nlMutexLock(&lock); }
  void Unlock() { nlMutexUnlock(&lock); }

  // The session record; every field but the lock is guarded by the lock.
  std::int32_t nextPlayerId = 101;
  std::int32_t ownId = -1;
  std::int32_t mode = 0;  // 1 host, 0 client
  NLsocket listeningSocket = NL_INVALID;
  NLsocket clientSocket = NL_INVALID;
  std::list<NetPlayerEntry> localPlayers;
  std::list<NetPlayerEntry> hostPlayers;
  std::int32_t networkType = NL_IP;
  std::int32_t socketType = NL_UNRELIABLE;
  std::uint8_t stopRequest = 1;
  std::uint8_t threadRunning = 0;
  NLmutex lock = nullptr;
  std::deque<SessionMessage> incomingQueue;
  std::deque<SessionMessage> replyQueue;
  std::int32_t lastSender = 0;  // from field of the last message Receive returned
  // On the host: how many host players came through each connection.
  std::map<NLsocket, std::size_t> playersPerConnection;
  // Signalled by the thread when a reply or an id came, and when it ends; waited on with
  // the lock.
  std::condition_variable_any answerSignal;

 private:
  bool StartThread();
  void StopThread();
  void CloseSockets();
  // Adds a local entry and waits for the host to give it an id; -1 (entry abandoned) when
  // no id came within the polls.
  std::int32_t RegisterLocalEntry(std::string_view name, std::uint8_t hidden);
  NLsocket CurrentClientSocket();
  // With the lock held: waits until ready() holds, looking at most kAnswerPolls times
  // kAnswerPollMs apart, each wait ended early by the thread's signal. False when the
  // looks ran out or the session thread is not running.
  bool AwaitAnswer(const std::function<bool()>& ready);

  bool holdsSocketLayer_ = false;
};

// Writes the whole message on a socket: nlWrite again until every byte is out or a call
// fails. A socket that keeps refusing (0 bytes) for a while counts as failed.
bool WriteWholeMessage(NLsocket socket, const SessionMessage& message);

// The session thread's entry (session_thread.cpp); data is the NetSession.
void* SessionThread(void* data);
