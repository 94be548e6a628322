// The session between processes on this machine (here: session objects in one process, each
// with its own sockets and thread): ids, counts, names, delivery, leaving, resets.

#include <gtest/gtest.h>

#include "host/engine_state.h"
#include "net/net_commands.h"
#include "net/session_host.h"
#include "session_fixture.h"

namespace {

using SessionTest = SessionFixture;

TEST_F(SessionTest, TheFirstPlayerOnANewHostGets101AndJoinersHiddenEntriesTakeTheNextId) {
  NetSession host;
  NetSession client;
  ASSERT_TRUE(host.Host(port));
  EXPECT_EQ(host.CreatePlayer("Ann"), 101);
  ASSERT_TRUE(client.Join("127.0.0.1", port));
  EXPECT_EQ(client.CreatePlayer("Cid"), 103) << "the join handshake registered the client's hidden entry as 102";
  EXPECT_EQ(host.CreatePlayer("Bea"), 104) << "creating players registers no hidden entry";
  EXPECT_EQ(Count(host), 3) << "the host's first request registers its hidden entry as 105";
  EXPECT_EQ(host.CreatePlayer("Eve"), 106);
}

TEST_F(SessionTest, CountsIdsAndNamesSkipHiddenEntries) {
  NetSession host;
  NetSession client;
  ASSERT_TRUE(host.Host(port));
  ASSERT_EQ(host.CreatePlayer("Ann"), 101);
  ASSERT_TRUE(client.Join("127.0.0.1", port));
  ASSERT_EQ(client.CreatePlayer("Cid"), 103);
  EXPECT_EQ(Count(client), 2);
  EXPECT_EQ(Count(host), 2);

  std::int32_t id = -1;
  ASSERT_TRUE(client.PlayerId(0, id));
  EXPECT_EQ(id, 101);
  ASSERT_TRUE(client.PlayerId(1, id));
  EXPECT_EQ(id, 103);
  ASSERT_TRUE(client.PlayerId(2, id));
  EXPECT_EQ(id, 0) << "past the visible players";
  ASSERT_TRUE(client.PlayerId(-1, id));
  EXPECT_EQ(id, 0);

  std::string name = "unchanged";
  ASSERT_TRUE(host.PlayerName(103, name));
  EXPECT_EQ(name, "Cid");
  ASSERT_TRUE(host.PlayerName(999, name));
  EXPECT_EQ(name, "") << "an id no player has";
}

TEST_F(SessionTest, NamesAreCutAt127Characters) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  const std::string longName(200, 'L');
  const std::int32_t id = host.CreatePlayer(longName);
  ASSERT_GT(id, 0);
  std::string name;
  ASSERT_TRUE(host.PlayerName(id, name));
  EXPECT_EQ(name, std::string(127, 'L'));
}

TEST_F(SessionTest, AMessageToZeroReachesEveryPlayerExactlyOnceTheSendersOwnIncluded) {
  NetSession host;
  NetSession client;
  ASSERT_TRUE(host.Host(port));
  const std::int32_t ann = host.CreatePlayer("Ann");
  const std::int32_t bea = host.CreatePlayer("Bea");
  ASSERT_TRUE(client.Join("", port));
  const std::int32_t cid = client.CreatePlayer("Cid");
  ASSERT_GT(cid, 0);

  ASSERT_TRUE(host.Send(ann, 0, "to everybody"));
  EXPECT_EQ(NextMessage(host, ann), "to everybody");
  EXPECT_EQ(host.LastSender(), ann);
  EXPECT_EQ(NextMessage(host, bea), "to everybody");
  EXPECT_EQ(NextMessage(client, cid), "to everybody");
  EXPECT_EQ(client.LastSender(), ann);
  LetPassesRun();
  std::string extra;
  EXPECT_FALSE(host.Receive(ann, extra));
  EXPECT_FALSE(host.Receive(bea, extra));
  EXPECT_FALSE(client.Receive(cid, extra));

  ASSERT_TRUE(client.Send(cid, 0, "from the client"));
  EXPECT_EQ(NextMessage(host, ann), "from the client");
  EXPECT_EQ(NextMessage(host, bea), "from the client");
  EXPECT_EQ(NextMessage(client, cid), "from the client");
}

TEST_F(SessionTest, ADirectMessageReachesOnlyItsAddresseeAndInboxesKeepTheirOrder) {
  NetSession host;
  NetSession client;
  ASSERT_TRUE(host.Host(port));
  const std::int32_t ann = host.CreatePlayer("Ann");
  ASSERT_TRUE(client.Join("127.0.0.1", port));
  const std::int32_t cid = client.CreatePlayer("Cid");
  const std::int32_t dan = client.CreatePlayer("Dan");

  for (int i = 1; i <= 5; ++i) ASSERT_TRUE(host.Send(ann, cid, "number " + std::to_string(i)));
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(NextMessage(client, cid), "number " + std::to_string(i));
  EXPECT_EQ(client.LastSender(), ann);
  LetPassesRun();
  std::string text = "unchanged";
  EXPECT_FALSE(client.Receive(cid, text)) << "an empty inbox gives nothing";
  EXPECT_FALSE(client.Receive(dan, text));
  EXPECT_FALSE(host.Receive(ann, text));
  EXPECT_EQ(text, "unchanged");

  ASSERT_TRUE(client.Send(dan, ann, "hello host"));
  EXPECT_EQ(NextMessage(host, ann), "hello host");
  EXPECT_EQ(host.LastSender(), dan);
}

TEST_F(SessionTest, TextsLongerThanOneDatagramAreRefusedNotCut) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  const std::int32_t ann = host.CreatePlayer("Ann");
  EXPECT_FALSE(host.Send(ann, ann, std::string(2049, 'x')));
  ASSERT_TRUE(host.Send(ann, ann, std::string(2048, 'y')));
  EXPECT_EQ(NextMessage(host, ann), std::string(2048, 'y')) << "the longest text arrives whole, nothing before it";
}

TEST_F(SessionTest, APlayerThatLeavesIsNoLongerCounted) {
  NetSession host;
  NetSession client;
  ASSERT_TRUE(host.Host(port));
  const std::int32_t ann = host.CreatePlayer("Ann");
  ASSERT_TRUE(client.Join("127.0.0.1", port));
  const std::int32_t cid = client.CreatePlayer("Cid");
  ASSERT_EQ(Count(host), 2);
  client.SendLeave(-5);  // negative ids send nothing
  client.SendLeave(cid);
  LetPassesRun();
  EXPECT_EQ(Count(host), 1);
  std::int32_t id = 0;
  ASSERT_TRUE(host.PlayerId(0, id));
  EXPECT_EQ(id, ann);
}

TEST_F(SessionTest, TheEndOfProgramTellsTheHostThatEachLocalPlayerLeaves) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  host.CreatePlayer("Ann");
  {
    NetSession client;
    ASSERT_TRUE(client.Join("127.0.0.1", port));
    client.CreatePlayer("Cid");
    client.CreatePlayer("Dan");
    ASSERT_EQ(Count(host), 3);
    client.EndSession();
    EXPECT_EQ(client.threadRunning, 0);
  }
  LetPassesRun();
  EXPECT_EQ(Count(host), 1);
}

TEST_F(SessionTest, HostingAgainStartsOverAt101) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  ASSERT_EQ(host.CreatePlayer("Ann"), 101);
  ASSERT_EQ(host.CreatePlayer("Bea"), 102);
  ASSERT_TRUE(host.Host(port));
  EXPECT_EQ(host.CreatePlayer("Cid"), 101);
  EXPECT_EQ(Count(host), 1);
}

TEST_F(SessionTest, HostingOnAPortInUseFails) {
  RawUdpPeer occupant;
  NetSession host;
  EXPECT_FALSE(host.Host(occupant.Port()));
  EXPECT_EQ(host.threadRunning, 0);
  EXPECT_FALSE(host.Host(70000)) << "a port that does not fit 16 bits is no port";
}

TEST_F(SessionTest, JoiningWhereNobodyHostsFailsAfterTheWait) {
  NetSession client;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Join("127.0.0.1", port));
  // The wait gives up (after about five seconds); the limit only catches one that never does.
  EXPECT_LE(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ(client.threadRunning, 0);
  EXPECT_EQ(client.clientSocket, NL_INVALID);
}

TEST_F(SessionTest, ListingTheAddressesEndsTheSession) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  std::string expected;
  for (const NLaddress& address : nlGetAllLocalAddr()) {
    expected += (expected.empty() ? "" : "|") + nlAddrToString(&address);
  }
  EXPECT_EQ(host.ListAddresses(), expected);
  EXPECT_EQ(host.threadRunning, 0);
  EXPECT_EQ(host.listeningSocket, NL_INVALID);
  RawUdpPeer reuse(port);  // the port is free again
}

TEST_F(SessionTest, AFailingListeningSocketEndsTheHostThread) {
  NetSession host;
  testing::internal::CaptureStdout();
  ASSERT_TRUE(host.Host(port));
  const NLsocket notListening = nlOpen(0, NL_UNRELIABLE);
  host.Lock();
  host.listeningSocket = notListening;  // accepting on it now fails with NL_NOT_LISTEN
  host.Unlock();
  bool running = true;
  for (int i = 0; i < 100 && running; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    host.Lock();
    running = host.threadRunning != 0;
    host.Unlock();
  }
  EXPECT_FALSE(running);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "{ server thread - UP\nCannot Accept connection\n");
  EXPECT_EQ(host.listeningSocket, NL_INVALID);
  EXPECT_EQ(host.clientSocket, NL_INVALID);
  EXPECT_EQ(host.stopRequest, 1);
}

TEST_F(SessionTest, AConnectionThatDropsTakesAllItsPlayers) {
  NetSession session;
  for (const auto& [socket, id] : {std::pair{7, 101}, {8, 102}, {7, 103}, {7, 104}}) {
    NetPlayerEntry& entry = session.hostPlayers.emplace_back();
    entry.socket = socket;
    entry.id = id;
  }
  RemovePlayersOfConnection(session, 7);
  ASSERT_EQ(session.hostPlayers.size(), 1u);
  EXPECT_EQ(session.hostPlayers.front().id, 102);
}

TEST_F(SessionTest, TheVisiblePlayerIndexSkipsHiddenEntries) {
  std::list<NetPlayerEntry> players(4);
  std::int32_t id = 101;
  for (NetPlayerEntry& player : players) player.id = id++;
  players.front().hidden = 1;
  std::next(players.begin(), 2)->hidden = 1;
  EXPECT_EQ(VisiblePlayerCount(players), 2);
  EXPECT_EQ(VisiblePlayerId(players, 0), 102);
  EXPECT_EQ(VisiblePlayerId(players, 1), 104);
  EXPECT_EQ(VisiblePlayerId(players, 2), 0);
}

// The commands, through the engine's session pointer.
class SessionCommandsTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    Subsystems().network = &session;
  }
  void TearDown() override { Subsystems().network = nullptr; }
  NetSession session;
};

TEST_F(SessionCommandsTest, IdsCrossTheCommandsAsText) {
  ASSERT_EQ(HostSession(port), 1);
  const BasicString ann = CreateNetPlayer("Ann");
  EXPECT_EQ(std::string(ann.View()), "101");
  EXPECT_EQ(GetNetPlayerCount(), 1);
  EXPECT_EQ(std::string(GetNetPlayerId(0).View()), "101");
  EXPECT_EQ(std::string(GetNetPlayerId(5).View()), "0");
  EXPECT_EQ(std::string(GetNetPlayerName("101").View()), "Ann");
  EXPECT_EQ(std::string(GetNetPlayerName("777").View()), "");
  EXPECT_EQ(SendNetMessage(ann, "0", "hi all"), 1);
  std::string received;
  for (int i = 0; i < 300 && received.empty(); ++i) {
    received = ReceiveNetMessage(ann).View();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(received, "hi all");
  EXPECT_EQ(std::string(GetNetMessageSender().View()), "101");
  EXPECT_EQ(std::string(ReceiveNetMessage(ann).View()), "");
  EXPECT_EQ(SendNetMessage(ann, "0", BasicString(std::string(2049, 'x'))), 0);
  EXPECT_EQ(SendNetLeave("-1"), 1);
  EXPECT_EQ(SendNetLeave(ann), 1);
}

TEST_F(SessionCommandsTest, WithoutASessionRequestsFailAtOnceAndLeaveNothingBehind) {
  EXPECT_EQ(std::string(GetNetPlayerName("101").View()), "NO_DATA");
  EXPECT_EQ(GetNetPlayerCount(), 0);
  EXPECT_EQ(std::string(GetNetPlayerId(0).View()), "0");
  EXPECT_EQ(std::string(CreateNetPlayer("x").View()), "-1");
  EXPECT_EQ(SendNetMessage("101", "0", "nobody listens"), 0);
  EXPECT_EQ(std::string(ReceiveNetMessage("101").View()), "");
  EXPECT_TRUE(Subsystems().network->localPlayers.empty()) << "no entry was left waiting for a thread";
}

TEST(SessionCommandsWithoutEngine, CommandsBeforeStartUpReportFailure) {
  ASSERT_EQ(Subsystems().network, nullptr);
  EXPECT_EQ(HostSession(0), 0);
  EXPECT_EQ(std::string(CreateNetPlayer("x").View()), "-1");
  EXPECT_EQ(std::string(GetNetPlayerName("1").View()), "NO_DATA");
  EXPECT_EQ(std::string(GetNetPlayerId(0).View()), "0");
  EXPECT_EQ(GetNetPlayerCount(), 0);
  EXPECT_EQ(std::string(ListLocalAddresses().View()), "");
}

}  // namespace
