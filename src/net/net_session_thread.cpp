// The session thread: one pass every 10 ms until the stop flag is set.
//
//   1. new local players are registered with the host; abandoned ones are removed
//   2. everything waiting on the client socket is read
//   3. host only: one pending connection is accepted, then one message is read from each
//      connection that has one
//   4. data messages for local players go into their inboxes
//   5. host only: the messages from connections are relayed, registered or answered
//   6. replies from the host reach the waiting requests and entries
//   7. whatever is left is dropped
// The lock is held for every list, queue and flag operation and never while a socket is
// read or written.

#include <chrono>
#include <cstdio>
#include <deque>
#include <thread>
#include <vector>

#include "net/net_session.h"
#include "net/session_host.h"

namespace {

constexpr int kPassIntervalMs = 10;
// Connections read per pass (one message each).
constexpr std::size_t kConnectionsPerPass = 100;
// Messages read from the client socket per pass; a host that floods us cannot hold the
// thread in one pass forever.
constexpr int kClientReadsPerPass = 1000;
// Datagrams looked at on the listening socket per pass, at most.
constexpr int kListenDatagramsPerPass = 64;

// Offers every queued message to consume, which returns true when it used the message up
// (it may move from it); the others stay queued in their order.
template <typename Consume>
void ConsumeQueued(std::deque<SessionMessage>& queue, Consume consume) {
  std::deque<SessionMessage> remaining;
  for (SessionMessage& message : queue) {
    if (!consume(message)) remaining.push_back(std::move(message));
  }
  queue.swap(remaining);
}

class SessionPass {
 public:
  explicit SessionPass(NetSession& session) : session_(session), group_(nlGroupCreate()) {}
  ~SessionPass() { CloseConnections(); }

  // One pass; false when the listening socket failed and the thread must end.
  bool Run() {
    RegisterNewPlayers();
    std::vector<SessionMessage> arrived;
    ReadClientSocket(arrived);
    if (HostListening()) {
      if (!AcceptConnection()) return false;
      ReadConnections(arrived);
    }
    std::vector<OutgoingMessage> outbox;
    session_.Lock();
    for (SessionMessage& message : arrived) session_.incomingQueue.push_back(std::move(message));
    DeliverToLocalPlayers();
    if (session_.listeningSocket != NL_INVALID) HandleAsHost(outbox);
    TakeReplies();
    session_.incomingQueue.clear();
    session_.Unlock();
    for (const OutgoingMessage& outgoing : outbox) WriteWholeMessage(outgoing.socket, outgoing.message);
    return true;
  }

 private:
  bool HostListening() {
    session_.Lock();
    const bool listening = session_.listeningSocket != NL_INVALID;
    session_.Unlock();
    return listening;
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
    const NLsocket client = session_.clientSocket;
    session_.Unlock();
    if (waiting.empty()) return;
    std::vector<bool> sent(waiting.size());
    for (std::size_t i = 0; i < waiting.size(); ++i) sent[i] = WriteWholeMessage(client, registrations[i]);
    // A registration that could not be written (the connection to the host is still being
    // made) stays new and goes out in a later pass. Entries only this thread removes, so
    // the pointers are still good.
    session_.Lock();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      if (sent[i] && waiting[i]->id == kEntryNew) waiting[i]->id = kEntryRegistrationSent;
    }
    session_.Unlock();
  }

  // Reads one datagram; true with message filled when it is a session message.
  bool ReadMessage(NLsocket socket, SessionMessage& message, NLint& result) {
    // One byte more than the largest message, so an oversized datagram shows as such.
    result = nlRead(socket, buffer_, sizeof buffer_);
    return result > 0 && DecodeDatagram(buffer_, static_cast<std::size_t>(result), message);
  }

  void ReadClientSocket(std::vector<SessionMessage>& arrived) {
    session_.Lock();
    const NLsocket client = session_.clientSocket;
    session_.Unlock();
    if (client == NL_INVALID) return;
    SessionMessage message;
    NLint result = 0;
    for (int read = 0; read < kClientReadsPerPass; ++read) {
      message.source = NL_INVALID;
      if (!ReadMessage(client, message, result)) break;
      arrived.push_back(message);
    }
  }

  bool AcceptConnection() {
    session_.Lock();
    const NLsocket listening = session_.listeningSocket;
    session_.Unlock();
    if (listenGroup_ == NL_INVALID) {
      listenGroup_ = nlGroupCreate();
      if (listenGroup_ != NL_INVALID) nlGroupAddSocket(listenGroup_, listening);
    }
    // One connection per pass; but a datagram that is not a connection request must not
    // cost a whole pass, or a stream of junk would keep real requests waiting until their
    // senders give up. So while more datagrams wait, up to a bound, look at the next.
    for (int looked = 0; looked < kListenDatagramsPerPass; ++looked) {
      const NLsocket accepted = nlAcceptConnection(listening);
      if (accepted != NL_INVALID) {
        if (group_ == NL_INVALID || !nlGroupAddSocket(group_, accepted)) nlClose(accepted);
        return true;
      }
      const NLenum error = nlGetError();
      if (error == NL_SYSTEM_ERROR || error == NL_NOT_LISTEN) return EndOnFailedListener();
      if (!ListenerHasMore()) return true;
    }
    return true;
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

  void ReadConnections(std::vector<SessionMessage>& arrived) {
    if (group_ == NL_INVALID) return;
    // The whole group is polled, so more ready connections than one pass serves cannot make
    // the poll fail; the pass starts where the last one stopped, so every one gets its turn.
    ready_.resize(NL_MAX_GROUP_SOCKETS);
    const NLint count = nlPollGroup(group_, NL_READ_STATUS, ready_.data(), static_cast<NLint>(ready_.size()), 0);
    if (count <= 0) return;
    const std::size_t served = std::min<std::size_t>(static_cast<std::size_t>(count), kConnectionsPerPass);
    const std::size_t first = rotation_ % static_cast<std::size_t>(count);
    rotation_ += served;
    for (std::size_t i = 0; i < served; ++i) {
      const NLsocket connection = ready_[(first + i) % static_cast<std::size_t>(count)];
      SessionMessage message;
      NLint result = 0;
      if (ReadMessage(connection, message, result)) {
        message.source = connection;
        arrived.push_back(message);
        continue;
      }
      const NLenum error = nlGetError();
      if (result < 0 && (error == NL_MESSAGE_END || error == NL_SOCK_DISCONNECT)) DropConnection(connection);
    }
  }

  void DropConnection(NLsocket connection) {
    nlGroupDeleteSocket(group_, connection);
    nlClose(connection);
    session_.Lock();
    RemovePlayersOfConnection(session_, connection);
    session_.Unlock();
  }

  void DeliverToLocalPlayers() {
    ConsumeQueued(session_.incomingQueue, [&](SessionMessage& message) {
      if (message.Type() != kDataMessage) return false;
      for (NetPlayerEntry& entry : session_.localPlayers) {
        if (entry.id < 0 || entry.id != message.To()) continue;
        // A process's own hidden entry never reads its inbox; copies of messages to all
        // players addressed to it are dropped instead of piling up.
        if (entry.hidden == 0) entry.inbox.push_back(std::move(message));
        return true;
      }
      return false;
    });
  }

  void HandleAsHost(std::vector<OutgoingMessage>& outbox) {
    ConsumeQueued(session_.incomingQueue, [&](const SessionMessage& message) {
      return message.source != NL_INVALID && HandleHostMessage(session_, message, outbox);
    });
  }

  // Only what came through the client socket comes from the host; a peer writing to the
  // host's connections cannot pose as the host's replies.
  void TakeReplies() {
    ConsumeQueued(session_.incomingQueue, [&](SessionMessage& message) {
      if (message.source != NL_INVALID || message.From() != kHostId) return false;
      if (message.Type() > 99) {
        session_.replyQueue.push_back(std::move(message));
        return true;
      }
      if (message.Type() == kRegistrationReply) {
        if (message.To() < 0) return true;
        for (NetPlayerEntry& entry : session_.localPlayers) {
          if (entry.id != kEntryRegistrationSent) continue;
          entry.id = message.To();
          break;
        }
        return true;
      }
      return false;
    });
  }

  void CloseConnections() {
    if (listenGroup_ != NL_INVALID) nlGroupDestroy(listenGroup_);
    listenGroup_ = NL_INVALID;
    if (group_ == NL_INVALID) return;
    for (const NLsocket connection : nlGroupGetSockets(group_)) nlClose(connection);
    nlGroupDestroy(group_);
    group_ = NL_INVALID;
  }

  NetSession& session_;
  NLint group_;
  NLint listenGroup_ = NL_INVALID;
  std::vector<NLsocket> ready_;
  std::size_t rotation_ = 0;
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
      std::this_thread::sleep_for(std::chrono::milliseconds(kPassIntervalMs));
    }
  }
  // The last touch of the session: once the flag is down the session may be freed.
  session.Lock();
  session.threadRunning = 0;
  session.stopRequest = 1;
  session.Unlock();
  return nullptr;
}
