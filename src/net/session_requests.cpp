// The game thread's side of the session: players, requests to the host, messages.
//
// Answers are waited for under the lock in at most 250 looks 20 ms apart (5 seconds); the
// session thread signals when it fills the lists and queues, so a look ends as soon as the
// answer is there.

#include <chrono>
#include <cstring>
#include <thread>

#include "net/net_session.h"

namespace {

void SleepMs(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Attempts at a write that takes nothing before it counts as failed (1 ms apart).
constexpr int kStalledWriteAttempts = 200;

}  // namespace

bool WriteWholeMessage(NLsocket socket, const SessionMessage& message) {
  const std::size_t size = message.WireSize();
  std::size_t written = 0;
  int stalled = 0;
  while (written < size) {
    const NLint count = nlWrite(socket, message.bytes.data() + written, static_cast<NLint>(size - written));
    if (count < 0) return false;
    if (count == 0) {
      if (++stalled >= kStalledWriteAttempts) return false;
      SleepMs(1);
      continue;
    }
    written += static_cast<std::size_t>(count);
  }
  return true;
}

namespace {

// The session lock as a lockable for the condition variable.
struct SessionLockable {
  NetSession& session;
  void lock() { session.Lock(); }
  void unlock() { session.Unlock(); }
};

}  // namespace

bool NetSession::AwaitAnswer(const std::function<bool()>& ready) {
  SessionLockable lockable{*this};
  for (int poll = 0; poll < kAnswerPolls; ++poll) {
    if (ready()) return true;
    if (threadRunning == 0) return false;  // nobody is left to answer
    answerSignal.wait_for(lockable, std::chrono::milliseconds(kAnswerPollMs),
                          [&] { return ready() || threadRunning == 0; });
  }
  return ready();
}

std::int32_t NetSession::RegisterLocalEntry(std::string_view name, std::uint8_t hidden) {
  name = name.substr(0, name.find('\0'));
  Lock();
  // Without a session thread nothing would ever register the entry: fail at once, and
  // leave no entry behind.
  if (threadRunning == 0) {
    Unlock();
    return -1;
  }
  NetPlayerEntry& entry = localPlayers.emplace_back();
  entry.hidden = hidden;
  std::memcpy(entry.name.data(), name.data(), std::min(name.size(), kPlayerNameBytes - 1));
  // Only the session thread removes entries, and only abandoned ones, so the reference
  // stays good while this waits.
  AwaitAnswer([&] { return entry.id >= 0; });
  const std::int32_t id = entry.id;
  if (id < 0) entry.id = kEntryAbandoned;
  Unlock();
  return id >= 0 ? id : -1;
}

bool NetSession::SessionRequest(SessionMessage& message) {
  Lock();
  bool registered = ownId >= 0;
  const bool running = threadRunning != 0;
  Unlock();
  if (!running) return false;  // no session: nobody to answer
  if (!registered) {
    const std::int32_t id = RegisterLocalEntry("", 1);
    Lock();
    if (id >= 0) ownId = id;
    registered = ownId >= 0;
    Unlock();
  }
  if (!registered) return false;

  Lock();
  message.SetTo(kHostId);
  message.SetFrom(ownId);
  replyQueue.clear();
  const NLsocket client = clientSocket;
  Unlock();
  // A request that never left cannot be answered; fail now rather than after the polls.
  if (!WriteWholeMessage(client, message)) return false;
  Lock();
  const bool answered = AwaitAnswer([&] { return !replyQueue.empty(); });
  if (answered) {
    message = replyQueue.front();
    replyQueue.pop_front();
  }
  Unlock();
  return answered;
}

std::int32_t NetSession::CreatePlayer(std::string_view name) { return RegisterLocalEntry(name, 0); }

bool NetSession::PlayerCount(std::int32_t& count) {
  SessionMessage request = MakeSessionMessage(kPlayerCountRequest, kHostId, kHostId);
  if (!SessionRequest(request)) return false;
  count = request.PayloadInt32(0);
  return true;
}

bool NetSession::PlayerId(std::int32_t index, std::int32_t& id) {
  SessionMessage request = MakeInt32Message(kPlayerIdRequest, kHostId, kHostId, index);
  if (!SessionRequest(request)) return false;
  id = request.PayloadInt32(0);
  return true;
}

bool NetSession::PlayerName(std::int32_t id, std::string& name) {
  SessionMessage request = MakeInt32Message(kPlayerNameRequest, kHostId, kHostId, id);
  if (!SessionRequest(request)) return false;
  name = request.PayloadText();
  return true;
}

bool NetSession::Send(std::int32_t from, std::int32_t to, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  // A message must fit one datagram of the session; a longer text is not cut, it is refused.
  if (text.size() > static_cast<std::size_t>(kMaxPayloadBytes)) return false;
  const SessionMessage message = MakeSessionMessage(kDataMessage, to == kHostId ? kAllPlayers : to, from,
                                                    text.data(), static_cast<std::int32_t>(text.size()));
  return WriteWholeMessage(CurrentClientSocket(), message);
}

void NetSession::SendLeave(std::int32_t id) {
  if (id < 0) return;
  WriteWholeMessage(CurrentClientSocket(), MakeSessionMessage(kPlayerLeaves, kHostId, id));
}

bool NetSession::Receive(std::int32_t id, std::string& text) {
  Lock();
  for (NetPlayerEntry& entry : localPlayers) {
    if (entry.id != id) continue;
    if (entry.inbox.empty()) break;
    const SessionMessage& oldest = entry.inbox.front();
    text = oldest.PayloadText();
    lastSender = oldest.From();
    entry.inbox.pop_front();
    Unlock();
    return true;
  }
  Unlock();
  return false;
}
