#pragma once
// The host's bookkeeping: registering players, relaying data messages and answering
// requests. These run inside a session-thread pass with the session lock held; whatever
// must be written is collected in an outbox and written after the lock is released.
//
// A peer speaks only for the players it registered: a message counts only when its sender
// (a data message's from, a leave notice's player, a request's requester) is a player
// registered through the connection the message came on. What a peer can make the host
// hold is bounded: kMaxPlayersPerConnection players per connection, kMaxHostPlayers in all;
// registrations beyond them get no reply.

#include <memory>
#include <vector>

#include "net/net_session.h"

// Far above what honest sessions hold (up to 256 players), and a burst of 1,000
// registrations from one process still fits; a host player costs a few hundred bytes.
constexpr std::size_t kMaxPlayersPerConnection = 1024;
constexpr std::size_t kMaxHostPlayers = 4096;

// One datagram to write: message addressed to `to`. The copies of a message to all players
// share one message and differ only in `to`, which is filled in as each is written.
struct OutgoingMessage {
  NLsocket socket = NL_INVALID;
  std::int32_t to = 0;
  std::shared_ptr<SessionMessage> message;
};
OutgoingMessage MakeOutgoing(NLsocket socket, SessionMessage message);
// Writes each message of the outbox on its socket and empties it.
void WriteOutbox(std::vector<OutgoingMessage>& outbox);

// Handles one message that reached the host through one of its connections
// (message.source). Returns true when the message was used up; false leaves it queued.
bool HandleHostMessage(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox);

// Removes every host player that came through connection (all of them, not only the first).
void RemovePlayersOfConnection(NetSession& session, NLsocket connection);

// The count of players that are not hidden.
std::int32_t VisiblePlayerCount(const std::list<NetPlayerEntry>& players);
// The id of the index-th player that is not hidden (list order), 0 when there is none.
std::int32_t VisiblePlayerId(const std::list<NetPlayerEntry>& players, std::int32_t index);
