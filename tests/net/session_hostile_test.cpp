// Hostile input: raw sockets send what no honest peer sends. The host (and a client facing a
// hostile host) must keep serving, never read or write outside a buffer (run these in the
// sanitizer build too) and never let one peer speak for another.

#include <dirent.h>

#include <fstream>
#include <future>
#include <random>
#include <set>

#include "net/connection_registry.h"
#include "net/session_host.h"
#include "session_fixture.h"
#include "wire_bytes.h"

namespace {

// A host with one honest client process and one raw attacker that joined like a peer.
class HostileTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    ASSERT_TRUE(host.Host(port));
    hostPlayer = host.CreatePlayer("Ann");
    ASSERT_TRUE(client.Join("127.0.0.1", port));
    clientPlayer = client.CreatePlayer("Cid");
    ASSERT_GT(clientPlayer, 0);
    connection = JoinLikeTheLibrary(attacker, port);
    ASSERT_NE(connection, 0);
    ASSERT_EQ(attacker.ReceiveFrom(connection, 2000)->bytes, "");
  }

  // The honest pair still talks both ways and the host still answers requests.
  void ExpectStillServing(std::int32_t expectedCount) {
    ASSERT_TRUE(client.Send(clientPlayer, hostPlayer, "still there?"));
    EXPECT_EQ(NextMessage(host, hostPlayer), "still there?");
    ASSERT_TRUE(host.Send(hostPlayer, clientPlayer, "yes"));
    EXPECT_EQ(NextMessage(client, clientPlayer), "yes");
    if (expectedCount >= 0) {
      EXPECT_EQ(Count(client), expectedCount);
    }
    host.Lock();
    EXPECT_EQ(host.threadRunning, 1);
    host.Unlock();
  }

  void DrainAttacker() {
    while (attacker.Receive(50)) {
    }
  }

  // The attacker registers a player of its own through its connection.
  std::int32_t RegisterAttacker() {
    attacker.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("Mallory", 0)));
    return ReadLittleEndian32(attacker.ReceiveFrom(connection, 3000).value().bytes, 9);
  }

  NetSession host;
  NetSession client;
  RawUdpPeer attacker;
  std::uint16_t connection = 0;
  std::int32_t hostPlayer = 0;
  std::int32_t clientPlayer = 0;
};

TEST_F(HostileTest, MalformedDatagramsAreNotMessages) {
  const std::string good = TrvnDatagram(3, -1, 999, "spoofed broadcast");
  for (std::size_t size = 0; size < 17; ++size) attacker.SendTo(connection, good.substr(0, size));
  attacker.SendTo(connection, "XRVN" + good.substr(4));
  attacker.SendTo(connection, TrvnDatagram(3, -1, 999, "negative", -8));
  attacker.SendTo(connection, TrvnDatagram(3, -1, 999, "huge", 5000));
  attacker.SendTo(connection, TrvnDatagram(3, -1, 999, "lies", 400));
  attacker.SendTo(connection, TrvnDatagram(3, -1, 999, "lies", 1));
  attacker.SendTo(connection, TrvnDatagram(3, -1, 999, std::string(3000, 'o'), 2048));
  attacker.SendTo(connection, std::string(16384, '\xff'));
  LetPassesRun();
  LetPassesRun();
  std::string text;
  EXPECT_FALSE(host.Receive(hostPlayer, text)) << "none of them was relayed: " << text;
  EXPECT_FALSE(client.Receive(clientPlayer, text)) << text;
  ExpectStillServing(2);
}

TEST_F(HostileTest, ShortPayloadsReadAsZeros) {
  // A registration without a payload registers a nameless visible player.
  attacker.SendTo(connection, TrvnDatagram(1, 0, 0));
  const std::optional<Datagram> registered = attacker.ReceiveFrom(connection, 2000);
  ASSERT_TRUE(registered);
  ASSERT_EQ(registered->bytes.size(), 17u);
  const std::int32_t attackerId = ReadLittleEndian32(registered->bytes, 9);
  // Requests whose payload is missing or short: index 0, id 0.
  attacker.SendTo(connection, TrvnDatagram(102, 0, attackerId));
  EXPECT_EQ(attacker.ReceiveFrom(connection, 2000)->bytes, TrvnDatagram(102, attackerId, 0, LittleEndian32(hostPlayer)));
  attacker.SendTo(connection, TrvnDatagram(102, 0, attackerId, std::string("\x01", 1)));
  EXPECT_EQ(attacker.ReceiveFrom(connection, 2000)->bytes, TrvnDatagram(102, attackerId, 0, LittleEndian32(clientPlayer)));
  attacker.SendTo(connection, TrvnDatagram(103, 0, attackerId, std::string("\x00\x00", 2)));
  EXPECT_EQ(attacker.ReceiveFrom(connection, 2000)->bytes, TrvnDatagram(103, attackerId, 0));
  std::string name = "unchanged";
  ASSERT_TRUE(client.PlayerName(attackerId, name));
  EXPECT_EQ(name, "");
  ExpectStillServing(3);
}

TEST_F(HostileTest, NobodyCanPoseAsTheHostOrSpeakForAnotherConnection) {
  attacker.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("Mallory", 0)));
  const std::int32_t attackerId = ReadLittleEndian32(attacker.ReceiveFrom(connection, 2000)->bytes, 9);
  std::int32_t clientOwnId = 0;
  client.Lock();
  clientOwnId = client.ownId;
  client.Unlock();

  // Forged replies written to the host's connection must not answer the host's requests,
  // and forged registration replies must not hand out ids.
  auto counted = std::async(std::launch::async, [&] { return Count(host); });
  for (int i = 0; i < 40; ++i) {
    attacker.SendTo(connection, TrvnDatagram(101, 104, 0, LittleEndian32(999)));
    attacker.SendTo(connection, TrvnDatagram(2, 4444, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(counted.get(), 3);
  auto created = std::async(std::launch::async, [&] { return host.CreatePlayer("Bea"); });
  for (int i = 0; i < 20; ++i) attacker.SendTo(connection, TrvnDatagram(2, 4444, 0));
  EXPECT_NE(created.get(), 4444);

  // Requests in another player's name are not answered to that player's connection.
  attacker.SendTo(connection, TrvnDatagram(101, 0, clientOwnId));
  attacker.SendTo(connection, TrvnDatagram(101, 0, 31337));
  EXPECT_FALSE(attacker.ReceiveFrom(connection, 300)) << "nothing is answered to an unknown or foreign requester";
  (void)attackerId;
  ExpectStillServing(-1);
}

TEST_F(HostileTest, FloodsOfRegistrationsAndMessagesLeaveTheHostServing) {
  for (int i = 0; i < 3000; ++i) {
    attacker.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("bot" + std::to_string(i), 0)));
    attacker.SendTo(connection, TrvnDatagram(3, 31337, 0, std::string(2048, 'f')));
  }
  ExpectStillServing(-1);
  DrainAttacker();
  std::int32_t count = 0;
  ASSERT_TRUE(client.PlayerCount(count));
  EXPECT_GE(count, 3);
  host.Lock();
  EXPECT_EQ(host.nextPlayerId - 101, static_cast<std::int32_t>(host.hostPlayers.size()))
      << "each registration that got through holds one id, and nothing else took one";
  host.Unlock();
}

TEST_F(HostileTest, GarbageAndFloodsOfConnectionRequestsAtTheListeningSocket) {
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    std::string noise(random() % 64, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    attacker.SendTo(port, noise);
  }
  RawUdpPeer requester;
  for (int i = 0; i < 100; ++i) requester.SendTo(port, kRequestDatagram);
  ExpectStillServing(2);
  NetSession latecomer;
  EXPECT_TRUE(latecomer.Join("127.0.0.1", port)) << "a real join still gets through after the flood";
}

TEST_F(HostileTest, NobodyCanSendAsOrRemoveAnotherConnectionsPlayers) {
  const std::int32_t attackerId = RegisterAttacker();
  client.Lock();
  const std::int32_t clientOwnId = client.ownId;
  client.Unlock();
  for (const std::int32_t victim : {clientPlayer, clientOwnId, hostPlayer}) {
    attacker.SendTo(connection, TrvnDatagram(4, 0, victim));
  }
  // Forged senders, to one player and to all: the host's own players are reached through the
  // same check as everybody else's.
  for (const std::int32_t forged : {clientPlayer, hostPlayer, 0, 31337}) {
    for (const std::int32_t to : {hostPlayer, clientPlayer, -1}) {
      attacker.SendTo(connection, TrvnDatagram(3, to, forged, "forged"));
    }
  }
  attacker.SendTo(connection, TrvnDatagram(3, hostPlayer, attackerId, "honestly from Mallory"));
  EXPECT_EQ(NextMessage(host, hostPlayer, 5000), "honestly from Mallory");
  std::string text;
  EXPECT_FALSE(host.Receive(hostPlayer, text)) << text;
  EXPECT_FALSE(client.Receive(clientPlayer, text)) << text;
  ExpectStillServing(3);
  std::string name;
  ASSERT_TRUE(client.PlayerName(clientPlayer, name));
  EXPECT_EQ(name, "Cid");
}

TEST_F(HostileTest, RegistrationsAreBoundedPerConnection) {
  // Sent in chunks that any receive buffer holds, each answered before the next.
  std::size_t answered = 0;
  for (std::size_t sent = 0; sent < kMaxPlayersPerConnection + 200; sent += 100) {
    for (int i = 0; i < 100; ++i) attacker.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("bot", 0)));
    while (answered < std::min(sent + 100, kMaxPlayersPerConnection) && attacker.ReceiveFrom(connection, 5000)) {
      ++answered;
    }
  }
  LetPassesRun();
  EXPECT_EQ(answered, kMaxPlayersPerConnection);
  host.Lock();
  EXPECT_EQ(host.hostPlayers.size(), kMaxPlayersPerConnection + 3) << "and Ann, Cid and Cid's hidden entry";
  host.Unlock();
  EXPECT_FALSE(attacker.ReceiveFrom(connection, 300)) << "registrations past the limit get no answer";
  ExpectStillServing(-1);
}

TEST_F(HostileTest, ABurstOfRegistrationsIsAnsweredWhileOthersKeepPlaying) {
  // The burst waits in the host's receive buffer; the system caps its size.
  std::ifstream limit("/proc/sys/net/core/rmem_max");
  long maximum = 0;
  if (!(limit >> maximum) || maximum < (1 << 20)) GTEST_SKIP() << "receive buffers are capped at " << maximum;
  attacker.SetReceiveBuffer(8 << 20);
  auto talking = std::async(std::launch::async, [&] {
    int arrived = 0;
    for (int i = 0; i < 50; ++i) {
      client.Send(clientPlayer, hostPlayer, "m" + std::to_string(i));
      if (NextMessage(host, hostPlayer, 10000) == "m" + std::to_string(i)) ++arrived;
    }
    return arrived;
  });
  constexpr int kBurst = 1000;
  for (int i = 0; i < kBurst; ++i) attacker.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("b", 0)));
  std::set<std::int32_t> ids;
  while (std::optional<Datagram> reply = attacker.ReceiveFrom(connection, 10000)) {
    if (reply->bytes.size() == 17 && reply->bytes[4] == 2) ids.insert(ReadLittleEndian32(reply->bytes, 9));
    if (ids.size() == kBurst) break;
  }
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(kBurst));
  EXPECT_EQ(talking.get(), 50);
}

std::size_t OpenDescriptors() {
  std::size_t count = 0;
  if (DIR* folder = opendir("/proc/self/fd")) {
    while (readdir(folder) != nullptr) ++count;
    closedir(folder);
  }
  return count;
}

TEST_F(HostileTest, FloodedConnectionRequestsAreBoundedAndSilentOnesClosed) {
  const std::size_t before = OpenDescriptors();
  RawUdpPeer requester;
  requester.SetReceiveBuffer(8 << 20);
  for (std::size_t i = 0; i < kMaxConnectionsPerAddress + 100; ++i) {
    requester.SendTo(port, kRequestDatagram);
    if (i % 64 == 63) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ExpectStillServing(2);
  EXPECT_LE(OpenDescriptors(), before + kMaxConnectionsPerAddress);
  // None of them says anything: they are closed after the silence limit.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (OpenDescriptors() > before + 4 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_LE(OpenDescriptors(), before + 4);
  ExpectStillServing(2);
}

TEST_F(HostileTest, AClientSurvivesAHostileHost) {
  RawUdpPeer listener;
  RawUdpPeer hostConnection;
  NetSession victim;
  auto joined = std::async(std::launch::async, [&] { return victim.Join("127.0.0.1", listener.Port()); });
  std::string request;
  const std::uint16_t victimPort = AcceptLikeTheLibrary(listener, hostConnection, request);
  ASSERT_NE(victimPort, 0);
  ASSERT_TRUE(hostConnection.ReceiveFrom(victimPort, 2000));  // greeting
  ASSERT_TRUE(hostConnection.ReceiveFrom(victimPort, 2000));  // hidden registration
  // Junk of every kind before the real answers.
  const std::string reply = TrvnDatagram(2, 101, 0);
  for (std::size_t size = 0; size < 17; ++size) hostConnection.SendTo(victimPort, reply.substr(0, size));
  hostConnection.SendTo(victimPort, TrvnDatagram(2, 101, 0, "xx", 9999));
  hostConnection.SendTo(victimPort, TrvnDatagram(2, -2, 0));
  hostConnection.SendTo(victimPort, TrvnDatagram(3, 101, 7, std::string(5000, 'z'), 2048));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  hostConnection.SendTo(victimPort, reply);
  EXPECT_EQ(hostConnection.ReceiveFrom(victimPort, 3000)->bytes, TrvnDatagram(104, 0, 101));
  hostConnection.SendTo(victimPort, TrvnDatagram(104, 101, 0));  // a reply with no payload at all
  EXPECT_TRUE(joined.get());

  auto counted = std::async(std::launch::async, [&] {
    std::int32_t count = -1;
    return victim.PlayerCount(count) ? count : -1;
  });
  ASSERT_TRUE(hostConnection.ReceiveFrom(victimPort, 3000));
  hostConnection.SendTo(victimPort, TrvnDatagram(101, 101, 0, "\x02"));
  EXPECT_EQ(counted.get(), 2) << "a short reply reads as if the missing bytes were 0";
  auto named = std::async(std::launch::async, [&] {
    std::string name;
    return victim.PlayerName(1, name) ? name : "<failed>";
  });
  ASSERT_TRUE(hostConnection.ReceiveFrom(victimPort, 3000));
  hostConnection.SendTo(victimPort, TrvnDatagram(103, 101, 0, std::string(2048, 'N')));
  EXPECT_EQ(named.get(), std::string(2048, 'N')) << "an unterminated longest name still ends";
}

}  // namespace
