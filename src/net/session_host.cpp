#include "net/session_host.h"

#include <algorithm>
#include <cstring>

namespace {

NetPlayerEntry* FindPlayer(std::list<NetPlayerEntry>& players, std::int32_t id) {
  const auto found = std::find_if(players.begin(), players.end(), [id](const NetPlayerEntry& e) { return e.id == id; });
  return found == players.end() ? nullptr : &*found;
}

void Relay(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox) {
  if (message.To() == kAllPlayers) {
    // One copy per player, each addressed to that player, so each process files it in the
    // right inbox; the sender's own players get theirs too.
    for (const NetPlayerEntry& player : session.hostPlayers) {
      if (player.socket == NL_INVALID) continue;
      OutgoingMessage& copy = outbox.emplace_back(OutgoingMessage{player.socket, message});
      copy.message.SetTo(player.id);
    }
    return;
  }
  if (const NetPlayerEntry* player = FindPlayer(session.hostPlayers, message.To())) {
    outbox.push_back(OutgoingMessage{player->socket, message});
  }
}

void Register(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox) {
  const Registration registration = DecodeRegistration(message);
  NetPlayerEntry& player = session.hostPlayers.emplace_back();
  player.socket = message.source;
  player.hidden = registration.hidden;
  player.name = registration.name;
  player.id = session.nextPlayerId++;
  outbox.push_back(OutgoingMessage{message.source, MakeSessionMessage(kRegistrationReply, player.id, kHostId)});
}

SessionMessage AnswerRequest(const NetSession& session, const SessionMessage& request, std::int32_t requester) {
  switch (request.Type()) {
    case kPlayerCountRequest:
      return MakeInt32Message(kPlayerCountRequest, requester, kHostId, VisiblePlayerCount(session.hostPlayers));
    case kPlayerIdRequest:
      return MakeInt32Message(kPlayerIdRequest, requester, kHostId,
                              VisiblePlayerId(session.hostPlayers, request.PayloadInt32(0)));
    case kPlayerNameRequest: {
      const std::int32_t id = request.PayloadInt32(0);
      for (const NetPlayerEntry& player : session.hostPlayers) {
        if (player.id != id) continue;
        const auto length = static_cast<std::int32_t>(strnlen(player.name.data(), player.name.size()));
        return MakeSessionMessage(kPlayerNameRequest, requester, kHostId, player.name.data(), length);
      }
      return MakeSessionMessage(kPlayerNameRequest, requester, kHostId);
    }
    default:  // the join handshake
      return MakeInt32Message(kJoinHandshake, requester, kHostId, 1);
  }
}

}  // namespace

std::int32_t VisiblePlayerCount(const std::list<NetPlayerEntry>& players) {
  return static_cast<std::int32_t>(
      std::count_if(players.begin(), players.end(), [](const NetPlayerEntry& e) { return e.hidden == 0; }));
}

std::int32_t VisiblePlayerId(const std::list<NetPlayerEntry>& players, std::int32_t index) {
  if (index < 0) return 0;
  for (const NetPlayerEntry& player : players) {
    if (player.hidden != 0) continue;
    if (index-- == 0) return player.id;
  }
  return 0;
}

void RemovePlayersOfConnection(NetSession& session, NLsocket connection) {
  session.hostPlayers.remove_if([connection](const NetPlayerEntry& e) { return e.socket == connection; });
}

bool HandleHostMessage(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox) {
  const std::uint8_t type = message.Type();
  if (type == kDataMessage) {
    Relay(session, message, outbox);
    return true;
  }
  if (message.To() != kHostId) return false;
  if (type == kRegisterPlayer) {
    Register(session, message, outbox);
    return true;
  }
  if (type == kPlayerLeaves) {
    const std::int32_t leaving = message.From();
    const auto found = std::find_if(session.hostPlayers.begin(), session.hostPlayers.end(),
                                    [leaving](const NetPlayerEntry& e) { return e.id == leaving; });
    if (found != session.hostPlayers.end()) session.hostPlayers.erase(found);
    return true;
  }
  if (type >= kFirstRequestType && type <= kLastRequestType) {
    // Answered only for a registered requester, and only on the connection that requester
    // came through: a peer cannot have answers sent to somebody else.
    const NetPlayerEntry* requester = FindPlayer(session.hostPlayers, message.From());
    if (requester != nullptr && requester->socket == message.source && requester->socket != NL_INVALID) {
      outbox.push_back(OutgoingMessage{requester->socket, AnswerRequest(session, message, requester->id)});
    }
    return true;
  }
  return false;
}
