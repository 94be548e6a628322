// The session's life: reset, hosting, joining, listing addresses and the end of program.

#include "net/net_session.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kAddressListLimit = 4096;
constexpr std::size_t kAddressListMargin = 32;

// Ports above 16 bits name no port at all; 0 or less means the default.
bool SessionPort(int requested, NLushort& port) {
  if (requested > 65535) return false;
  port = static_cast<NLushort>(requested <= 0 ? kDefaultSessionPort : requested);
  return true;
}

}  // namespace

NetSession::NetSession() { nlMutexInit(&lock); }

NetSession::~NetSession() {
  StopThread();
  CloseSockets();
  if (holdsSocketLayer_) nlShutdown();
  nlMutexDestroy(&lock);
}

bool NetSession::StartThread() {
  // The flags are set before the thread exists, so a reset right after the start waits for
  // this thread instead of missing it.
  Lock();
  stopRequest = 0;
  threadRunning = 1;
  Unlock();
  if (nlThreadCreate(SessionThread, this, false)) return true;
  Lock();
  stopRequest = 1;
  threadRunning = 0;
  Unlock();
  return false;
}

void NetSession::StopThread() {
  Lock();
  stopRequest = 1;
  bool running = threadRunning != 0;
  Unlock();
  while (running) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopPollMs));
    Lock();
    running = threadRunning != 0;
    Unlock();
  }
}

void NetSession::CloseSockets() {
  Lock();
  if (listeningSocket != NL_INVALID) nlClose(listeningSocket);
  if (clientSocket != NL_INVALID) nlClose(clientSocket);
  listeningSocket = NL_INVALID;
  clientSocket = NL_INVALID;
  Unlock();
}

NLsocket NetSession::CurrentClientSocket() {
  Lock();
  const NLsocket socket = clientSocket;
  Unlock();
  return socket;
}

void NetSession::ResetSession() {
  StopThread();
  CloseSockets();
  Lock();
  localPlayers.clear();
  hostPlayers.clear();
  playersPerConnection.clear();
  incomingQueue.clear();
  replyQueue.clear();
  networkType = NL_IP;
  socketType = NL_UNRELIABLE;
  nextPlayerId = 101;
  ownId = -1;
  Unlock();
  if (holdsSocketLayer_) nlShutdown();
  holdsSocketLayer_ = nlInit();
  if (holdsSocketLayer_) nlSelectNetwork(NL_IP);
}

bool NetSession::Host(int requestedPort) {
  NLushort port = 0;
  ResetSession();
  if (!SessionPort(requestedPort, port)) return false;
  const NLsocket listening = nlOpen(port, socketType);
  if (listening == NL_INVALID) return false;
  if (!nlListen(listening)) {
    nlClose(listening);
    return false;
  }
  const NLsocket client = nlOpen(0, socketType);
  if (client == NL_INVALID) {
    nlClose(listening);
    return false;
  }
  // The host reaches itself like any client: through its own address and the session port.
  NLaddress self;
  if (!nlGetLocalAddr(client, &self) || !nlSetAddrPort(&self, port) || !nlConnect(client, &self)) {
    nlClose(client);
    nlClose(listening);
    return false;
  }
  Lock();
  listeningSocket = listening;
  clientSocket = client;
  mode = 1;
  Unlock();
  if (StartThread()) return true;
  CloseSockets();
  return false;
}

bool NetSession::Join(std::string_view address, int requestedPort) {
  NLushort port = 0;
  ResetSession();
  if (!SessionPort(requestedPort, port)) return false;
  const NLsocket client = nlOpen(0, socketType);
  if (client == NL_INVALID) return false;
  // An empty address means this machine.
  NLaddress host;
  const std::string name(address.substr(0, address.find('\0')));
  const bool resolved = name.empty() ? nlGetLocalAddr(client, &host) : nlGetAddrFromName(name.c_str(), &host);
  if (!resolved || !nlSetAddrPort(&host, port) || !nlConnect(client, &host)) {
    nlClose(client);
    return false;
  }
  Lock();
  clientSocket = client;
  mode = 0;
  Unlock();
  if (!StartThread()) {
    CloseSockets();
    return false;
  }
  SessionMessage handshake = MakeSessionMessage(kJoinHandshake, kHostId, kHostId);
  if (SessionRequest(handshake)) return true;
  StopThread();
  CloseSockets();
  return false;
}

std::string NetSession::ListAddresses() {
  ResetSession();
  std::string joined;
  for (const NLaddress& address : nlGetAllLocalAddr()) {
    if (!joined.empty()) joined += '|';
    joined += nlAddrToString(&address);
    if (joined.size() + kAddressListMargin > kAddressListLimit) break;
  }
  return joined;
}

void NetSession::EndSession() {
  StopThread();
  std::vector<std::int32_t> leaving;
  Lock();
  for (const NetPlayerEntry& entry : localPlayers) {
    if (entry.id >= 0) leaving.push_back(entry.id);
  }
  const NLsocket client = clientSocket;
  Unlock();
  for (const std::int32_t id : leaving) {
    WriteWholeMessage(client, MakeSessionMessage(kPlayerLeaves, kHostId, id));
  }
  CloseSockets();
}
