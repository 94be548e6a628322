#include "net/session_host.h"

#include <algorithm>
#include <cstring>

namespace {

std::list<NetPlayerEntry>::iterator FindPlayer(std::list<NetPlayerEntry>& players, std::int32_t id) {
  return std::find_if(players.begin(), players.end(), [id](const NetPlayerEntry& e) { return e.id == id; });
}

// The player id registered through connection, or null: the only players a message that
// came on connection may speak for.
const NetPlayerEntry* PlayerOfConnection(NetSession& session, std::int32_t id, NLsocket connection) {
  const auto found = FindPlayer(session.hostPlayers, id);
  if (found == session.hostPlayers.end() || found->socket != connection || connection == NL_INVALID) return nullptr;
  return &*found;
}

void ErasePlayer(NetSession& session, std::list<NetPlayerEntry>::iterator player) {
  const auto counted = session.playersPerConnection.find(player->socket);
  if (counted != session.playersPerConnection.end() && --counted->second == 0) {
    session.playersPerConnection.erase(counted);
  }
  session.hostPlayers.erase(player);
}

void Relay(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox) {
  if (PlayerOfConnection(session, message.From(), message.source) == nullptr) return;  // a forged sender
  if (message.To() == kAllPlayers) {
    // One copy per player, each addressed to that player, so each process files it in the
    // right inbox; the sender's own players get theirs too.
    const auto shared = std::make_shared<SessionMessage>(message);
    for (const NetPlayerEntry& player : session.hostPlayers) {
      if (player.socket == NL_INVALID) continue;
      outbox.push_back(OutgoingMessage{player.socket, player.id, shared});
    }
    return;
  }
  const auto player = FindPlayer(session.hostPlayers, message.To());
  if (player != session.hostPlayers.end()) outbox.push_back(MakeOutgoing(player->socket, message));
}

void Register(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox) {
  std::size_t& ofConnection = session.playersPerConnection[message.source];
  if (ofConnection >= kMaxPlayersPerConnection || session.hostPlayers.size() >= kMaxHostPlayers) {
    if (ofConnection == 0) session.playersPerConnection.erase(message.source);
    return;
  }
  ++ofConnection;
  const Registration registration = DecodeRegistration(message);
  NetPlayerEntry& player = session.hostPlayers.emplace_back();
  player.socket = message.source;
  player.hidden = registration.hidden;
  player.name = registration.name;
  player.id = session.nextPlayerId++;
  outbox.push_back(MakeOutgoing(message.source, MakeSessionMessage(kRegistrationReply, player.id, kHostId)));
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

OutgoingMessage MakeOutgoing(NLsocket socket, SessionMessage message) {
  const std::int32_t to = message.To();
  return OutgoingMessage{socket, to, std::make_shared<SessionMessage>(std::move(message))};
}

void WriteOutbox(std::vector<OutgoingMessage>& outbox) {
  for (OutgoingMessage& outgoing : outbox) {
    outgoing.message->SetTo(outgoing.to);
    WriteWholeMessage(outgoing.socket, *outgoing.message);
  }
  outbox.clear();
}

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
  session.playersPerConnection.erase(connection);
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
    // Only a player's own connection can say that it leaves.
    if (PlayerOfConnection(session, message.From(), message.source) != nullptr) {
      ErasePlayer(session, FindPlayer(session.hostPlayers, message.From()));
    }
    return true;
  }
  if (type >= kFirstRequestType && type <= kLastRequestType) {
    // Answered only for a registered requester, and only on the connection that requester
    // came through: a peer cannot have answers sent to somebody else.
    if (const NetPlayerEntry* requester = PlayerOfConnection(session, message.From(), message.source)) {
      outbox.push_back(MakeOutgoing(requester->socket, AnswerRequest(session, message, requester->id)));
    }
    return true;
  }
  return false;
}
