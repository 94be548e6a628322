// The socket layer against plain sockets: the library's UDP handshake byte for byte, its
// read and write rules, streams, addresses, groups and the per-thread error.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "net/socket_layer.h"
#include "raw_udp_peer.h"

namespace {

using Clock = std::chrono::steady_clock;

class SocketLayerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(nlInit()); }
  void TearDown() override { nlShutdown(); }

  // A listening UDP socket on a free port.
  NLsocket Listener(NLushort& port) {
    port = FreeUdpPort();
    const NLsocket listener = nlOpen(port, NL_UNRELIABLE);
    EXPECT_NE(listener, NL_INVALID);
    EXPECT_TRUE(nlListen(listener));
    return listener;
  }

  // Calls nlAcceptConnection until it gives a socket or the time is up.
  static NLsocket AcceptWithin(NLsocket listener, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
      const NLsocket accepted = nlAcceptConnection(listener);
      if (accepted != NL_INVALID) return accepted;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return NL_INVALID;
  }

  // Reads until something other than "nothing waiting" comes, or the time is up.
  static NLint ReadWithin(NLsocket socket, std::string& bytes, int timeoutMs, NLint size = 4096) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string buffer(static_cast<std::size_t>(size), '\0');
    for (;;) {
      const NLint count = nlRead(socket, buffer.data(), size);
      // The handshake thread greets the host just before it marks the socket connected.
      const bool stillConnecting = count == NL_INVALID && nlGetError() == NL_CON_PENDING;
      if ((count != 0 && !stillConnecting) || Clock::now() > deadline) {
        bytes = count > 0 ? buffer.substr(0, static_cast<std::size_t>(count)) : std::string();
        return count;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  static NLaddress LoopbackAddress(NLushort port) {
    NLaddress address;
    EXPECT_TRUE(nlGetAddrFromName("127.0.0.1", &address));
    nlSetAddrPort(&address, port);
    return address;
  }
};

TEST_F(SocketLayerTest, AcceptAnswersALibraryRequestByteForByte) {
  NLushort port = 0;
  const NLsocket listener = Listener(port);
  RawUdpPeer client;
  client.SendTo(port, kRequestDatagram);
  const NLsocket accepted = AcceptWithin(listener, 2000);
  ASSERT_NE(accepted, NL_INVALID);

  const std::optional<Datagram> reply = client.Receive(2000);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->fromPort, port) << "the reply comes from the listening socket";
  ASSERT_EQ(reply->bytes.size(), 24u);
  const auto newPort = static_cast<std::uint16_t>((static_cast<unsigned char>(reply->bytes[0]) << 8) |
                                                  static_cast<unsigned char>(reply->bytes[1]));
  EXPECT_EQ(reply->bytes, ReplyDatagram(newPort));
  const std::optional<Datagram> greeting = client.Receive(2000);
  ASSERT_TRUE(greeting);
  EXPECT_EQ(greeting->fromPort, newPort);
  EXPECT_EQ(greeting->bytes, "") << "the new socket greets with an empty datagram";

  client.SendTo(newPort, "");
  std::string bytes;
  EXPECT_EQ(ReadWithin(accepted, bytes, 1000), 0) << "the client's empty greeting reads as 0 bytes";
  client.SendTo(newPort, "abc");
  ASSERT_EQ(ReadWithin(accepted, bytes, 2000), 3);
  EXPECT_EQ(bytes, "abc");
  // Data carries no header of the layer's own.
  ASSERT_EQ(nlWrite(accepted, "xyz", 3), 3);
  const std::optional<Datagram> data = client.Receive(2000);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->bytes, "xyz");
  EXPECT_EQ(data->fromPort, newPort);
}

TEST_F(SocketLayerTest, AcceptedSocketsOnlyReadTheirPeer) {
  NLushort port = 0;
  const NLsocket listener = Listener(port);
  RawUdpPeer client;
  RawUdpPeer stranger;
  client.SendTo(port, kRequestDatagram);
  const NLsocket accepted = AcceptWithin(listener, 2000);
  ASSERT_NE(accepted, NL_INVALID);
  NLaddress local;
  ASSERT_TRUE(nlGetLocalAddr(accepted, &local));
  stranger.SendTo(nlGetPortFromAddr(&local), "intruder");
  client.SendTo(nlGetPortFromAddr(&local), "friend");
  std::string bytes;
  ASSERT_GT(ReadWithin(accepted, bytes, 2000), 0);
  EXPECT_EQ(bytes, "friend");
}

TEST_F(SocketLayerTest, AcceptDropsWhatIsNotAConnectionRequest) {
  NLushort port = 0;
  const NLsocket listener = Listener(port);
  EXPECT_EQ(nlAcceptConnection(listener), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_NO_PENDING) << "nothing waiting";

  RawUdpPeer client;
  client.SendTo(port, kRequestDatagram.substr(0, 26));   // the text without its zero byte
  client.SendTo(port, "HawkNL request connectioN.!");     // 27 bytes, wrong text
  client.SendTo(port, "");
  for (int i = 0; i < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(nlAcceptConnection(listener), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_NO_PENDING);
  }
  EXPECT_FALSE(client.Receive(100)) << "dropped requests get no reply";

  client.SendTo(port, kRequestDatagram + "trailing bytes are fine");
  EXPECT_NE(AcceptWithin(listener, 2000), NL_INVALID);

  const NLsocket notListening = nlOpen(0, NL_UNRELIABLE);
  EXPECT_EQ(nlAcceptConnection(notListening), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_NOT_LISTEN);
}

TEST_F(SocketLayerTest, ConnectPerformsTheLibraryHandshakeInTheBackground) {
  RawUdpPeer host;
  RawUdpPeer hostConnection;
  const NLsocket client = nlOpen(0, NL_UNRELIABLE);
  ASSERT_NE(client, NL_INVALID);
  const NLaddress hostAddress = LoopbackAddress(host.Port());
  ASSERT_TRUE(nlConnect(client, &hostAddress)) << "a non-blocking connect returns at once";

  const std::optional<Datagram> request = host.Receive(2000);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->bytes, kRequestDatagram);
  char buffer[64];
  EXPECT_EQ(nlRead(client, buffer, sizeof buffer), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_CON_PENDING);
  EXPECT_EQ(nlWrite(client, "x", 1), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_CON_PENDING);

  // Junk first, then a reply whose last byte is not zero: only bytes 2 to 22 are compared.
  host.SendTo(request->fromPort, "junk that is dropped");
  std::string reply = ReplyDatagram(hostConnection.Port());
  reply[23] = '!';
  host.SendTo(request->fromPort, reply);
  hostConnection.SendTo(request->fromPort, "");

  const std::optional<Datagram> greeting = hostConnection.Receive(2000);
  ASSERT_TRUE(greeting) << "the client greets the port the reply named";
  EXPECT_EQ(greeting->bytes, "");
  std::string bytes;
  EXPECT_EQ(ReadWithin(client, bytes, 1000), 0) << "the host's empty datagram reads as 0 bytes";
  host.SendTo(request->fromPort, "stray from the listening port");
  hostConnection.SendTo(request->fromPort, "data");
  ASSERT_EQ(ReadWithin(client, bytes, 2000), 4);
  EXPECT_EQ(bytes, "data");
  ASSERT_EQ(nlWrite(client, "back", 4), 4);
  const std::optional<Datagram> back = hostConnection.Receive(2000);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->bytes, "back");
}

TEST_F(SocketLayerTest, AConnectNobodyAnswersEndsRefusedAfterAboutFiveSeconds) {
  RawUdpPeer silentHost;
  const NLsocket client = nlOpen(0, NL_UNRELIABLE);
  const NLaddress hostAddress = LoopbackAddress(silentHost.Port());
  const auto start = Clock::now();
  ASSERT_TRUE(nlConnect(client, &hostAddress));
  char buffer[16];
  while (nlRead(client, buffer, sizeof buffer) == NL_INVALID && nlGetError() == NL_CON_PENDING &&
         Clock::now() - start < std::chrono::seconds(60)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const auto waited = Clock::now() - start;
  EXPECT_EQ(nlGetError(), NL_CON_REFUSED);
  // Not before the five seconds; the upper limit only catches a handshake that never
  // gives up, with room for a busy machine.
  EXPECT_GE(waited, std::chrono::milliseconds(4900));
  EXPECT_LE(waited, std::chrono::seconds(30));
  EXPECT_EQ(nlWrite(client, "x", 1), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_CON_REFUSED);
}

TEST_F(SocketLayerTest, ABlockingConnectNeverWaitsForever) {
  ASSERT_TRUE(nlEnable(NL_BLOCKING_IO));
  RawUdpPeer silentHost;
  const NLsocket client = nlOpen(0, NL_UNRELIABLE);
  ASSERT_TRUE(nlDisable(NL_BLOCKING_IO));
  const NLaddress hostAddress = LoopbackAddress(silentHost.Port());
  const auto start = Clock::now();
  EXPECT_FALSE(nlConnect(client, &hostAddress));
  EXPECT_EQ(nlGetError(), NL_CON_REFUSED);
  EXPECT_LE(Clock::now() - start, std::chrono::seconds(30));
}

TEST_F(SocketLayerTest, ClosingASocketWithAPendingHandshakeReturnsPromptly) {
  RawUdpPeer silentHost;
  const NLsocket client = nlOpen(0, NL_UNRELIABLE);
  const NLaddress hostAddress = LoopbackAddress(silentHost.Port());
  ASSERT_TRUE(nlConnect(client, &hostAddress));
  const auto start = Clock::now();
  EXPECT_TRUE(nlClose(client));
  // Well before the handshake's five seconds would have run out.
  EXPECT_LE(Clock::now() - start, std::chrono::milliseconds(4000));
  char buffer[4];
  EXPECT_EQ(nlRead(client, buffer, 4), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_INVALID_SOCKET);
}

TEST_F(SocketLayerTest, LongWritesFailAndLongDatagramsAreCutToTheBuffer) {
  NLushort port = 0;
  const NLsocket listener = Listener(port);
  RawUdpPeer client;
  client.SendTo(port, kRequestDatagram);
  const NLsocket accepted = AcceptWithin(listener, 2000);
  ASSERT_NE(accepted, NL_INVALID);
  const std::optional<Datagram> reply = client.Receive(2000);
  ASSERT_TRUE(reply);
  const auto newPort = static_cast<std::uint16_t>((static_cast<unsigned char>(reply->bytes[0]) << 8) |
                                                  static_cast<unsigned char>(reply->bytes[1]));

  const std::string big(NL_MAX_PACKET_LENGTH + 1, 'b');
  EXPECT_EQ(nlWrite(accepted, big.data(), static_cast<NLint>(big.size())), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_PACKET_SIZE);
  EXPECT_EQ(nlWrite(accepted, big.data(), NL_MAX_PACKET_LENGTH), NL_MAX_PACKET_LENGTH);

  client.SendTo(newPort, "0123456789");
  std::string bytes;
  ASSERT_EQ(ReadWithin(accepted, bytes, 2000, 4), 4);
  EXPECT_EQ(bytes, "0123");
  client.SendTo(newPort, "next");
  ASSERT_EQ(ReadWithin(accepted, bytes, 2000), 4) << "the rest of a cut datagram is gone";
  EXPECT_EQ(bytes, "next");
}

TEST_F(SocketLayerTest, APeerThatVanishedShowsAsASystemErrorOnUdp) {
  NLushort port = 0;
  const NLsocket listener = Listener(port);
  NLsocket accepted = NL_INVALID;
  {
    RawUdpPeer client;
    client.SendTo(port, kRequestDatagram);
    accepted = AcceptWithin(listener, 2000);
  }
  ASSERT_NE(accepted, NL_INVALID);
  // The peer's port is closed now: the write draws a "port unreachable" answer.
  ASSERT_EQ(nlWrite(accepted, "anyone?", 7), 7);
  std::string bytes;
  const NLint result = ReadWithin(accepted, bytes, 1000);
  if (result == 0) GTEST_SKIP() << "this network stack does not report unreachable ports";
  EXPECT_EQ(result, NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_SYSTEM_ERROR);
}

// ---------------------------------------------------------------------------------------
// Streams.

class PlainTcpServer {
 public:
  PlainTcpServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~PlainTcpServer() {
    if (connection_ >= 0) ::close(connection_);
    ::close(listener_);
  }
  std::uint16_t Port() const { return port_; }
  int Accept() { return connection_ = ::accept(listener_, nullptr, nullptr); }
  void Close() {
    ::close(connection_);
    connection_ = -1;
  }
  void Reset() {
    linger hard{1, 0};
    ::setsockopt(connection_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    Close();
  }

 private:
  int listener_ = -1;
  int connection_ = -1;
  std::uint16_t port_ = 0;
};

TEST_F(SocketLayerTest, AClosedStreamReadsAsMessageEndEveryTime) {
  PlainTcpServer server;
  const NLsocket stream = nlOpen(0, NL_RELIABLE);
  const NLaddress address = LoopbackAddress(server.Port());
  ASSERT_TRUE(nlConnect(stream, &address));
  const int connection = server.Accept();
  char buffer[16];
  EXPECT_EQ(nlRead(stream, buffer, sizeof buffer), 0) << "nothing waiting on a non-blocking stream";
  ASSERT_EQ(::send(connection, "hello", 5, 0), 5);
  server.Close();
  std::string bytes;
  ASSERT_EQ(ReadWithin(stream, bytes, 2000), 5);
  EXPECT_EQ(bytes, "hello");
  EXPECT_EQ(ReadWithin(stream, bytes, 2000), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_MESSAGE_END);
  nlSetError(NL_NO_ERROR);
  EXPECT_EQ(nlRead(stream, buffer, sizeof buffer), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_MESSAGE_END);
}

TEST_F(SocketLayerTest, AResetStreamReadsAsDisconnected) {
  PlainTcpServer server;
  ASSERT_TRUE(nlEnable(NL_BLOCKING_IO));
  const NLsocket stream = nlOpen(0, NL_RELIABLE);
  nlDisable(NL_BLOCKING_IO);
  const NLaddress address = LoopbackAddress(server.Port());
  ASSERT_TRUE(nlConnect(stream, &address));
  server.Accept();
  server.Reset();
  char buffer[16];
  EXPECT_EQ(nlRead(stream, buffer, sizeof buffer), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_SOCK_DISCONNECT);
}

TEST_F(SocketLayerTest, BlockingStreamReadsCanBeGivenATimeLimit) {
  PlainTcpServer server;
  ASSERT_TRUE(nlEnable(NL_BLOCKING_IO));
  const NLsocket stream = nlOpen(0, NL_RELIABLE);
  nlDisable(NL_BLOCKING_IO);
  const NLaddress address = LoopbackAddress(server.Port());
  ASSERT_TRUE(nlConnect(stream, &address));
  server.Accept();
  ASSERT_TRUE(nlSetReadTimeout(stream, 200));
  char buffer[16];
  const auto start = Clock::now();
  EXPECT_EQ(nlRead(stream, buffer, sizeof buffer), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_TIMED_OUT);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));
}

TEST_F(SocketLayerTest, AStreamConnectToAClosedPortIsRefused) {
  ASSERT_TRUE(nlEnable(NL_BLOCKING_IO));
  const NLsocket stream = nlOpen(0, NL_RELIABLE);
  nlDisable(NL_BLOCKING_IO);
  std::uint16_t closedPort = 0;
  { PlainTcpServer gone; closedPort = gone.Port(); }
  const NLaddress address = LoopbackAddress(closedPort);
  EXPECT_FALSE(nlConnect(stream, &address));
  EXPECT_EQ(nlGetError(), NL_CON_REFUSED);
}

// ---------------------------------------------------------------------------------------
// Addresses.

TEST_F(SocketLayerTest, AddressTextsLeaveOutAZeroPort) {
  NLaddress address;
  ASSERT_TRUE(nlGetAddrFromName("127.0.0.1", &address));
  EXPECT_EQ(nlAddrToString(&address), "127.0.0.1");
  nlSetAddrPort(&address, 26000);
  EXPECT_EQ(nlAddrToString(&address), "127.0.0.1:26000");
  ASSERT_TRUE(nlGetAddrFromName("10.1.2.3:8080", &address));
  EXPECT_EQ(nlAddrToString(&address), "10.1.2.3:8080");
  EXPECT_EQ(nlGetPortFromAddr(&address), 8080);
  ASSERT_TRUE(nlGetAddrFromName("localhost", &address));
  EXPECT_EQ(nlAddrToString(&address), "127.0.0.1");
}

TEST_F(SocketLayerTest, UnresolvableNamesFail) {
  NLaddress address;
  EXPECT_FALSE(nlGetAddrFromName("", &address));
  EXPECT_FALSE(nlGetAddrFromName("127.0.0.1:", &address));
  EXPECT_FALSE(nlGetAddrFromName("127.0.0.1:99999", &address));
  EXPECT_FALSE(nlGetAddrFromName("no-such-host.invalid", &address));
  EXPECT_FALSE(address.valid);
  const NLsocket socket = nlOpen(0, NL_UNRELIABLE);
  EXPECT_FALSE(nlConnect(socket, &address)) << "an invalid address is refused before anything is sent";
  EXPECT_EQ(nlGetError(), NL_BAD_ADDR);
}

TEST_F(SocketLayerTest, LocalAddressesCarryPortZeroAndSocketsTheirPort) {
  const std::vector<NLaddress> all = nlGetAllLocalAddr();
  ASSERT_FALSE(all.empty());
  for (const NLaddress& address : all) EXPECT_EQ(nlGetPortFromAddr(&address), 0);
  const NLsocket socket = nlOpen(0, NL_UNRELIABLE);
  NLaddress local;
  ASSERT_TRUE(nlGetLocalAddr(socket, &local));
  EXPECT_NE(nlGetPortFromAddr(&local), 0);
  NLaddress expected = all.front();
  nlSetAddrPort(&expected, nlGetPortFromAddr(&local));
  EXPECT_EQ(nlAddrToString(&local), nlAddrToString(&expected)) << "a socket bound to any address reports the first";
}

// ---------------------------------------------------------------------------------------
// Groups, start-up counting, errors, threads.

TEST_F(SocketLayerTest, PollingAGroupReportsReadySocketsOrTooMany) {
  const NLint group = nlGroupCreate();
  ASSERT_GE(group, 200001);
  RawUdpPeer writer;
  std::vector<NLsocket> sockets;
  std::vector<std::uint16_t> ports;
  for (int i = 0; i < 3; ++i) {
    const NLsocket socket = nlOpen(0, NL_UNRELIABLE);
    NLaddress local;
    nlGetLocalAddr(socket, &local);
    sockets.push_back(socket);
    ports.push_back(nlGetPortFromAddr(&local));
    ASSERT_TRUE(nlGroupAddSocket(group, socket));
  }
  NLsocket ready[3];
  EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), 0) << "nothing waiting";
  const auto start = Clock::now();
  EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 100), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(90));

  writer.SendTo(ports[0], "a");
  writer.SendTo(ports[2], "c");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), 2);
  EXPECT_EQ(ready[0], sockets[0]);
  EXPECT_EQ(ready[1], sockets[2]);
  EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 1, 0), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_BUFFER_SIZE);

  ASSERT_TRUE(nlGroupDeleteSocket(group, sockets[0]));
  ASSERT_TRUE(nlClose(sockets[2]));
  EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), 0) << "deleted and closed sockets are not polled";
  EXPECT_EQ(nlPollGroup(group + 1000, NL_READ_STATUS, ready, 3, 0), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_INVALID_GROUP);
  EXPECT_TRUE(nlGroupDestroy(group));
}

TEST_F(SocketLayerTest, OnlyTheLastShutdownClosesTheSockets) {
  ASSERT_TRUE(nlInit());
  const NLsocket socket = nlOpen(0, NL_UNRELIABLE);
  ASSERT_NE(socket, NL_INVALID);
  nlShutdown();
  NLaddress local;
  EXPECT_TRUE(nlGetLocalAddr(socket, &local)) << "the fixture's start-up still holds the layer";
  nlShutdown();
  EXPECT_FALSE(nlGetLocalAddr(socket, &local));
  EXPECT_EQ(nlOpen(0, NL_UNRELIABLE), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_NO_NETWORK);
  ASSERT_TRUE(nlInit());  // for the fixture's shutdown
}

TEST_F(SocketLayerTest, ErrorsBelongToTheirThreadAndSurviveSuccess) {
  nlSetError(NL_NO_ERROR);
  std::thread other([] {
    char buffer[4];
    EXPECT_EQ(nlRead(123456789, buffer, 4), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_INVALID_SOCKET);
  });
  other.join();
  EXPECT_EQ(nlGetError(), NL_NO_ERROR);
  EXPECT_EQ(nlOpen(0, 0x77), NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_INVALID_TYPE);
  const NLsocket socket = nlOpen(0, NL_UNRELIABLE);
  EXPECT_NE(socket, NL_INVALID);
  EXPECT_EQ(nlGetError(), NL_INVALID_TYPE) << "a successful call leaves the error alone";
  EXPECT_FALSE(nlSelectNetwork(7));
  EXPECT_EQ(nlGetError(), NL_INVALID_ENUM);
}

TEST_F(SocketLayerTest, ThreadsRunAndMutexesExclude) {
  struct Shared {
    NLmutex mutex = nullptr;
    int counter = 0;
  } shared;
  ASSERT_TRUE(nlMutexInit(&shared.mutex));
  auto work = [](void* data) -> void* {
    auto* state = static_cast<Shared*>(data);
    for (int i = 0; i < 10000; ++i) {
      nlMutexLock(&state->mutex);
      ++state->counter;
      nlMutexUnlock(&state->mutex);
    }
    return nullptr;
  };
  NLthreadID first{};
  NLthreadID second{};
  ASSERT_TRUE(nlThreadCreate(work, &shared, true, &first));
  ASSERT_TRUE(nlThreadCreate(work, &shared, true, &second));
  EXPECT_TRUE(nlThreadJoin(first));
  EXPECT_TRUE(nlThreadJoin(second));
  EXPECT_EQ(shared.counter, 20000);
  EXPECT_TRUE(nlMutexDestroy(&shared.mutex));
}

}  // namespace
