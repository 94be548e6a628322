// Fuzzes a client's side of the session: datagrams from the host (the client socket) and,
// on a hosting process, from its connections go through the same decoding, delivery and
// reply handling a pass runs, and the game reads its inboxes and replies the way the
// commands do. Besides memory errors it stops when a message reaches an inbox that is not
// its addressee's, when a datagram from a connection reaches a local player or a waiting
// request, or when an entry gets a negative id.

#include <cstdlib>
#include <string>

#include "net/session_client.h"
#include "session_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NetSession session;
  for (const std::int32_t id : {101, kEntryRegistrationSent, kEntryRegistrationSent, 104}) {
    NetPlayerEntry& entry = session.localPlayers.emplace_back();
    entry.id = id;
    entry.hidden = id == 104 ? 1 : 0;
  }
  FuzzDatagram datagram;
  std::string text;
  while (NextFuzzDatagram(data, size, datagram)) {
    SessionMessage message;
    // Selector: odd values the client socket, even ones a connection of a hosting process.
    message.source = (datagram.selector & 1) != 0 ? NL_INVALID : 7;
    if (!DecodeDatagram(datagram.bytes, datagram.size, message)) continue;
    session.incomingQueue.push_back(message);
    DeliverToLocalPlayers(session);
    TakeReplies(session);
    session.incomingQueue.clear();
    for (const NetPlayerEntry& entry : session.localPlayers) {
      if (entry.id < 0 && entry.id != kEntryRegistrationSent) std::abort();
      for (const SessionMessage& kept : entry.inbox) {
        if (kept.To() != entry.id || kept.Type() != kDataMessage || kept.source != NL_INVALID) std::abort();
      }
    }
    for (const SessionMessage& reply : session.replyQueue) {
      if (reply.source != NL_INVALID || reply.From() != kHostId) std::abort();
    }
    // The game's side: take one message and one reply now and then, as the commands do.
    if ((datagram.selector & 2) != 0) session.Receive(101, text);
    if ((datagram.selector & 4) != 0 && !session.replyQueue.empty()) {
      text = session.replyQueue.front().PayloadText();
      session.replyQueue.pop_front();
    }
  }
  return 0;
}
