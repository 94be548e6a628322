// Fuzzes the host's side of the session: datagrams from three connections go through the
// same decoding and bookkeeping a host pass runs (registrations, relays, leave notices,
// requests), with the honest player of connection 7 and the host's own player on
// connection 9 in place. Besides memory errors it stops on a broken rule: a message relayed
// for a sender its connection did not register, a player removed through another
// connection, or more players than the limits allow.

#include <cstdlib>
#include <vector>

#include "net/session_client.h"
#include "net/session_host.h"
#include "session_fuzz_input.h"

namespace {

constexpr NLsocket kHonest = 7;
constexpr NLsocket kOwn = 9;

void AddPlayer(NetSession& session, NLsocket socket, std::uint8_t hidden) {
  NetPlayerEntry& player = session.hostPlayers.emplace_back();
  player.socket = socket;
  player.hidden = hidden;
  player.id = session.nextPlayerId++;
  ++session.playersPerConnection[socket];
}

bool HasPlayer(NetSession& session, std::int32_t id, NLsocket socket) {
  for (const NetPlayerEntry& player : session.hostPlayers) {
    if (player.id == id) return player.socket == socket;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NetSession session;
  session.listeningSocket = 1;
  AddPlayer(session, kHonest, 0);  // 101
  AddPlayer(session, kHonest, 1);  // 102
  AddPlayer(session, kOwn, 0);     // 103
  NetPlayerEntry& local = session.localPlayers.emplace_back();
  local.id = 103;
  bool honestSpoke = false;
  std::vector<OutgoingMessage> outbox;
  FuzzDatagram datagram;
  while (NextFuzzDatagram(data, size, datagram)) {
    SessionMessage message;
    // Selector: 0..2 one of the connections 7, 8, 9; 3 the host's client socket.
    const int pick = datagram.selector % 4;
    message.source = pick == 3 ? NL_INVALID : kHonest + pick;
    if (!DecodeDatagram(datagram.bytes, datagram.size, message)) continue;
    honestSpoke = honestSpoke || message.source == kHonest;
    const bool mayRelay = message.Type() != kDataMessage || HasPlayer(session, message.From(), message.source);
    session.incomingQueue.push_back(message);
    DeliverToLocalPlayers(session);
    ConsumeQueued(session.incomingQueue, [&](const SessionMessage& queued) {
      return queued.source != NL_INVALID && HandleHostMessage(session, queued, outbox);
    });
    TakeReplies(session);
    session.incomingQueue.clear();
    if (!mayRelay && !outbox.empty()) std::abort();
    if (!honestSpoke && !HasPlayer(session, 101, kHonest)) std::abort();
    if (session.hostPlayers.size() > kMaxHostPlayers) std::abort();
    for (const auto& [socket, count] : session.playersPerConnection) {
      if (count > kMaxPlayersPerConnection) std::abort();
    }
    outbox.clear();
  }
  std::string text;
  while (session.Receive(103, text)) {
  }
  session.listeningSocket = NL_INVALID;
  return 0;
}
