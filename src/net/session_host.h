#pragma once
// The host's bookkeeping: registering players, relaying data messages and answering
// requests. These run inside a session-thread pass with the session lock held; whatever
// must be written is collected in an outbox and written after the lock is released.

#include <vector>

#include "net/net_session.h"

struct OutgoingMessage {
  NLsocket socket = NL_INVALID;
  SessionMessage message;
};

// Handles one message that reached the host through one of its connections
// (message.source). Returns true when the message was used up; false leaves it queued.
bool HandleHostMessage(NetSession& session, const SessionMessage& message, std::vector<OutgoingMessage>& outbox);

// Removes every host player that came through connection (all of them, not only the first).
void RemovePlayersOfConnection(NetSession& session, NLsocket connection);

// The count of players that are not hidden.
std::int32_t VisiblePlayerCount(const std::list<NetPlayerEntry>& players);
// The id of the index-th player that is not hidden (list order), 0 when there is none.
std::int32_t VisiblePlayerId(const std::list<NetPlayerEntry>& players, std::int32_t index);
