// The game thread's side of the session: players, requests to the host, messages.
//
// Nothing here waits on a condition: answers are polled for every 20 ms under the lock,
// at most 250 times, while the session thread fills the lists and queues.

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

std::int32_t NetSession::RegisterLocalEntry(std::string_view name, std::uint8_t hidden) {
  name = name.substr(0, name.find('\0'));
  Lock();
  NetPlayerEntry& entry = localPlayers.emplace_back();
  entry.hidden = hidden;
  std::memcpy(entry.name.data(), name.data(), std::min(name.size(), kPlayerNameBytes - 1));
  Unlock();
  // Only the session thread removes entries, and only abandoned ones, so the reference
  // stays good while this waits.
  for (int poll = 0; poll < kAnswerPolls; ++poll) {
    SleepMs(kAnswerPollMs);
    Lock();
    const std::int32_t id = entry.id;
    Unlock();
    if (id >= 0) return id;
  }
  Lock();
  const std::int32_t id = entry.id;
  if (id < 0) entry.id = kEntryAbandoned;
  Unlock();
  return id >= 0 ? id : -1;
}

bool NetSession::SessionRequest(SessionMessage& message) {
  Lock();
  bool registered = ownId >= 0;
  Unlock();
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
  for (int poll = 0; poll < kAnswerPolls; ++poll) {
    SleepMs(kAnswerPollMs);
    Lock();
    if (!replyQueue.empty()) {
      message = replyQueue.front();
      replyQueue.pop_front();
      Unlock();
      return true;
    }
    Unlock();
  }
  return false;
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
