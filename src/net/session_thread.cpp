// The session thread: one pass whenever a socket has something to read, and at least every
// 10 ms, until the stop flag is set.
//
//   1. new local players are registered with the host; abandoned ones are removed
//   2. the thread waits (at most 10 ms) until one of its sockets can be read
//   3. what waits on the client socket is read
//   4. host only: pending connections are accepted, within the connection limits, and what
//      waits on each connection is read, a bounded number per connection and per pass,
//      starting each pass where the last one stopped, so a flooding peer cannot starve the
//      others; connections that registered no player within a few seconds of their
//      handshake are closed
//   5. data messages for local players go into their inboxes
//   6. host only: the messages from connections are relayed, registered or answered
//   7. replies from the host reach the waiting requests and entries, which are woken
//   8. whatever is left is dropped
// The lock is held for every list, queue and flag operation and never while a socket is
// read or written.

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "net/connection_registry.h"
#include "net/net_session.h"
#include "net/session_client.h"
#include "net/session_host.h"

namespace {

// The longest wait for a socket; also how often new local players are looked for.
constexpr int kPassIntervalMs = 10;
// Datagrams read per pass: from the client socket, from one connection, from all of them.
constexpr int kClientReadsPerPass = 512;
constexpr int kConnectionReadsPerPass = 64;
constexpr int kAllConnectionReadsPerPass = 512;
// Datagrams looked at on the listening socket per pass, at most.
constexpr int kListenDatagramsPerPass = 64;
// Bursts wait in the sockets' receive buffers while a pass runs; the system may grant less.
// Accepted connections take the listening socket's size.
constexpr NLint kReceiveBufferBytes = 4 << 20;
// Relayed copies written out, with the lock released, once this many are waiting, so one
// pass of messages to all players never holds more than this many at once.
constexpr std::size_t kOutboxFlushSize = 256;
// How often connections are checked for silence.
constexpr std::int64_t kSilenceCheckMs = 100;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool IsLoopback(const NLaddress& address) { return (ntohl(address.address.sin_addr.s_addr) >> 24) == 127; }

class SessionPass {
 public:
  explicit SessionPass(NetSession& session) : session_(session), watched_(nlGroupCreate()) {
    // The sockets are set before the thread starts and change only on this thread (or
    // after it ended); the listening socket is looked up again every pass all the same.
    session_.Lock();
    client_ = session_.clientSocket;
    listening_ = session_.listeningSocket;
    session_.Unlock();
    // The client socket is watched once its connection is made: until then a refused
    // request's error would end every wait at once while the handshake runs.
    if (client_ != NL_INVALID) nlSetReceiveBuffer(client_, kReceiveBufferBytes);
    clientGone_ = client_ == NL_INVALID;
    Watch(listening_);
    if (listening_ != NL_INVALID) {
      listenGroup_ = nlGroupCreate();
      if (listenGroup_ != NL_INVALID) nlGroupAddSocket(listenGroup_, listening_);
      NLaddress own;
      if (nlGetLocalAddr(client_, &own)) {
        ownClientPort_ = nlGetPortFromAddr(&own);
        ownAddress_ = own.address.sin_addr.s_addr;
      }
    }
    ready_.resize(NL_MAX_GROUP_SOCKETS);
  }
  ~SessionPass() { CloseConnections(); }

  // One pass; false when the listening socket failed and the thread must end.
  bool Run() {
    RegisterNewPlayers();
    arrived_.clear();
    readyConnections_.clear();
    if (!clientWatched_) ReadClientSocket();
    const NLint count = watched_ == NL_INVALID
                            ? 0
                            : nlPollGroup(watched_, NL_READ_STATUS, ready_.data(), static_cast<NLint>(ready_.size()),
                                          kPassIntervalMs);
    for (NLint i = 0; i < count; ++i) {
      if (ready_[i] == client_) ReadClientSocket();
      else if (ready_[i] != listening_) readyConnections_.push_back(ready_[i]);
    }
    session_.Lock();
    listening_ = session_.listeningSocket;
    session_.Unlock();
    if (listening_ != NL_INVALID) {
      if (!AcceptConnections()) return false;
      ReadConnections();
      CloseSilentConnections();
    }
    session_.Lock();
    for (SessionMessage& message : arrived_) session_.incomingQueue.push_back(message);
    DeliverToLocalPlayers(session_);
    if (listening_ != NL_INVALID) HandleAsHost();
    const bool answered = TakeReplies(session_);
    session_.incomingQueue.clear();
    session_.Unlock();
    if (answered) session_.answerSignal.notify_all();
    WriteOutbox(outbox_);
    return true;
  }

 private:
  void Watch(NLsocket socket) {
    if (socket != NL_INVALID && watched_ != NL_INVALID) nlGroupAddSocket(watched_, socket);
    if (socket != NL_INVALID) nlSetReceiveBuffer(socket, kReceiveBufferBytes);
  }

  void RegisterNewPlayers() {
    std::vector<NetPlayerEntry*> waiting;
    std::vector<SessionMessage> registrations;
    session_.Lock();
    for (auto entry = session_.localPlayers.begin(); entry != session_.localPlayers.end();) {
      if (entry->id == kEntryAbandoned) {
        entry = session_.localPlayers.erase(entry);
        continue;
      }
      if (entry->id == kEntryNew) {
        waiting.push_back(&*entry);
        registrations.push_back(MakeRegistration(entry->name.data(), entry->hidden));
      }
      ++entry;
    }
    session_.Unlock();
    if (waiting.empty()) return;
    std::vector<bool> sent(waiting.size());
    for (std::size_t i = 0; i < waiting.size(); ++i) sent[i] = WriteWholeMessage(client_, registrations[i]);
    // A registration that could not be written (the connection to the host is still being
    // made) stays new and goes out in a later pass. Entries only this thread removes, so
    // the pointers are still good.
    session_.Lock();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      if (sent[i] && waiting[i]->id == kEntryNew) waiting[i]->id = kEntryRegistrationSent;
    }
    session_.Unlock();
  }

  // Reads one datagram into the arrived messages when it is a session message. The result
  // of the read: 0 when nothing more waits, negative on failure.
  NLint ReadInto(NLsocket socket, NLsocket source, bool& decoded) {
    // One byte more than the largest message, so an oversized datagram shows as such.
    const NLint result = nlRead(socket, buffer_, sizeof buffer_);
    decoded = false;
    if (result <= 0) return result;
    SessionMessage& message = arrived_.emplace_back();
    message.source = source;
    decoded = DecodeDatagram(buffer_, static_cast<std::size_t>(result), message);
    if (!decoded) arrived_.pop_back();
    return result;
  }

  void ReadClientSocket() {
    if (clientGone_) return;
    bool decoded = false;
    for (int read = 0; read < kClientReadsPerPass; ++read) {
      const NLint result = ReadInto(client_, NL_INVALID, decoded);
      if (result > 0) continue;
      if (result < 0) {
        const NLenum error = nlGetError();
        if (error == NL_CON_PENDING) return;  // looked at again next pass
        // A handshake that failed leaves a socket that can never be read.
        if (error == NL_CON_REFUSED) {
          clientGone_ = true;
          nlGroupDeleteSocket(watched_, client_);
          return;
        }
      }
      break;
    }
    if (!clientWatched_ && watched_ != NL_INVALID) clientWatched_ = nlGroupAddSocket(watched_, client_);
  }

  bool AcceptConnections() {
    // A datagram that is not a connection request must not cost a whole pass, or a stream
    // of junk would keep real requests waiting until their senders give up. So while more
    // datagrams wait, up to a bound, look at the next.
    for (int looked = 0; looked < kListenDatagramsPerPass; ++looked) {
      const NLsocket accepted = nlAcceptConnection(listening_);
      if (accepted != NL_INVALID) {
        Admit(accepted);
        continue;
      }
      const NLenum error = nlGetError();
      if (error == NL_SYSTEM_ERROR || error == NL_NOT_LISTEN) return EndOnFailedListener();
      if (!ListenerHasMore()) return true;
    }
    return true;
  }

  void Admit(NLsocket accepted) {
    NLaddress remote;
    if (!nlGetRemoteAddr(accepted, &remote)) {
      nlClose(accepted);
      return;
    }
    // The host's own client socket reaches the listening socket from this machine; it may
    // stay silent as long as the hosting game creates no player.
    const bool own = IsLoopback(remote) || remote.address.sin_addr.s_addr == ownAddress_;
    const bool exempt = own && nlGetPortFromAddr(&remote) == ownClientPort_;
    if (!connections_.Admit(accepted, remote.address.sin_addr.s_addr, NowMs(), exempt) ||
        !nlGroupAddSocket(watched_, accepted)) {
      connections_.Forget(accepted);
      nlClose(accepted);
      return;
    }
  }

  bool ListenerHasMore() {
    NLsocket ready = NL_INVALID;
    return listenGroup_ != NL_INVALID && nlPollGroup(listenGroup_, NL_READ_STATUS, &ready, 1, 0) > 0;
  }

  bool EndOnFailedListener() {
    session_.Lock();
    session_.stopRequest = 1;
    nlClose(session_.listeningSocket);
    nlClose(session_.clientSocket);
    session_.listeningSocket = NL_INVALID;
    session_.clientSocket = NL_INVALID;
    session_.Unlock();
    std::printf("Cannot Accept connection\n");
    std::fflush(stdout);
    return false;
  }

  void ReadConnections() {
    const std::size_t count = readyConnections_.size();
    if (count == 0) return;
    int budget = kAllConnectionReadsPerPass;
    const std::size_t first = rotation_ % count;
    std::size_t served = 0;
    for (; served < count && budget > 0; ++served) {
      const NLsocket connection = readyConnections_[(first + served) % count];
      for (int read = 0; read < kConnectionReadsPerPass && budget > 0; ++read, --budget) {
        bool decoded = false;
        const NLint result = ReadInto(connection, connection, decoded);
        if (result > 0) continue;
        // A peer that is gone: the stream ended, the connection broke, or the system
        // reports that nobody listens on its port any more.
        const NLenum error = nlGetError();
        if (result < 0 && (error == NL_MESSAGE_END || error == NL_SOCK_DISCONNECT || error == NL_SYSTEM_ERROR)) {
          DropConnection(connection);
        }
        break;
      }
    }
    rotation_ = first + served;
  }

  void CloseSilentConnections() {
    const std::int64_t now = NowMs();
    if (now - lastSilenceCheck_ < kSilenceCheckMs) return;
    lastSilenceCheck_ = now;
    // A connection whose registrations all went unanswered (the limits) counts as silent:
    // it can do nothing but hold a socket.
    for (const NLsocket connection : connections_.Silent(now)) {
      session_.Lock();
      const bool registered = session_.playersPerConnection.count(connection) != 0;
      session_.Unlock();
      if (registered) connections_.Heard(connection);
      else DropConnection(connection);
    }
  }

  void DropConnection(NLsocket connection) {
    nlClose(connection);
    connections_.Forget(connection);
    session_.Lock();
    RemovePlayersOfConnection(session_, connection);
    session_.Unlock();
  }

  void HandleAsHost() {
    ConsumeQueued(session_.incomingQueue, [&](const SessionMessage& message) {
      if (message.source == NL_INVALID) return false;
      const bool used = HandleHostMessage(session_, message, outbox_);
      if (outbox_.size() >= kOutboxFlushSize) {
        // Only this thread touches the queue and the host's players, so they stay as they
        // are while the lock is released for the writes.
        session_.Unlock();
        WriteOutbox(outbox_);
        session_.Lock();
      }
      return used;
    });
  }

  void CloseConnections() {
    if (listenGroup_ != NL_INVALID) nlGroupDestroy(listenGroup_);
    if (watched_ != NL_INVALID) nlGroupDestroy(watched_);
    for (const NLsocket connection : connections_.All()) nlClose(connection);
  }

  NetSession& session_;
  NLint watched_;  // the client socket, the listening socket and every accepted connection
  NLint listenGroup_ = NL_INVALID;
  NLsocket client_ = NL_INVALID;
  NLsocket listening_ = NL_INVALID;
  bool clientWatched_ = false;
  bool clientGone_ = false;
  NLushort ownClientPort_ = 0;
  std::uint32_t ownAddress_ = 0;
  ConnectionRegistry connections_;
  std::vector<NLsocket> ready_;
  std::vector<NLsocket> readyConnections_;
  std::vector<SessionMessage> arrived_;
  std::vector<OutgoingMessage> outbox_;
  std::size_t rotation_ = 0;
  std::int64_t lastSilenceCheck_ = 0;
  unsigned char buffer_[kMaxMessageBytes + 1];
};

}  // namespace

void* SessionThread(void* data) {
  NetSession& session = *static_cast<NetSession*>(data);
  session.Lock();
  const bool host = session.mode == 1;
  session.Unlock();
  std::printf("{ %s thread - UP\n", host ? "server" : "client");
  std::fflush(stdout);
  {
    SessionPass pass(session);
    for (;;) {
      session.Lock();
      const bool stop = session.stopRequest != 0;
      session.Unlock();
      if (stop || !pass.Run()) break;
    }
  }
  // The last touch of the session: once the flag is down the session may be freed. The
  // waiting commands are told, so they fail now instead of at the end of their limit.
  session.Lock();
  session.threadRunning = 0;
  session.stopRequest = 1;
  session.answerSignal.notify_all();
  session.Unlock();
  return nullptr;
}
