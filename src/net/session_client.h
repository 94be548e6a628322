#pragma once
// What every process, host or client, does with the messages that reach its client socket
// (the only socket the host itself answers on). These run inside a session-thread pass
// with the session lock held.

#include <deque>

#include "net/net_session.h"

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

// Data messages from the client socket addressed to a local player go into its inbox.
void DeliverToLocalPlayers(NetSession& session);
// The host's replies from the client socket reach the waiting request (types above 99) or
// the oldest entry waiting for its id (registration replies). True when any did, so the
// waiting commands are woken.
bool TakeReplies(NetSession& session);
