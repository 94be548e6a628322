#include "net/session_client.h"

// Only what came through the client socket was sent by the host: a peer writing to one of
// the host's connections can neither deliver to the host's own players directly (it would
// skip the relay's check of the sender) nor pose as the host's replies.
void DeliverToLocalPlayers(NetSession& session) {
  ConsumeQueued(session.incomingQueue, [&](SessionMessage& message) {
    if (message.source != NL_INVALID || message.Type() != kDataMessage) return false;
    for (NetPlayerEntry& entry : session.localPlayers) {
      if (entry.id < 0 || entry.id != message.To()) continue;
      // A process's own hidden entry never reads its inbox; copies of messages to all
      // players addressed to it are dropped instead of piling up.
      if (entry.hidden == 0) entry.inbox.push_back(std::move(message));
      return true;
    }
    return false;
  });
}

bool TakeReplies(NetSession& session) {
  bool answered = false;
  ConsumeQueued(session.incomingQueue, [&](SessionMessage& message) {
    if (message.source != NL_INVALID || message.From() != kHostId) return false;
    if (message.Type() > 99) {
      session.replyQueue.push_back(std::move(message));
      answered = true;
      return true;
    }
    if (message.Type() == kRegistrationReply) {
      if (message.To() < 0) return true;
      for (NetPlayerEntry& entry : session.localPlayers) {
        if (entry.id != kEntryRegistrationSent) continue;
        entry.id = message.To();
        answered = true;
        break;
      }
      return true;
    }
    return false;
  });
  return answered;
}
