// Whole games as hosts and clients in separate processes on this machine, through the
// commands, the engine's start-up and its end of program.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "raw_udp_peer.h"
#include "scripted_game.h"
#include "support/scratch_directory.h"

namespace {

class SessionProgramTest : public ::testing::Test {
 protected:
  std::string Port() const { return std::to_string(port); }

  ScratchDirectory scratch;
  std::uint16_t port = FreeUdpPort();
};

TEST_F(SessionProgramTest, HostsAndClientsInSeparateProcesses) {
  ScriptedGame host(scratch.Path());
  ASSERT_EQ(host.Call("host\t" + Port()), "1");
  EXPECT_TRUE(host.WaitForOutput("{ server thread - UP\n")) << host.Output();
  ASSERT_EQ(host.Call("create\tAnn"), "101");

  ScriptedGame client(scratch.Path());
  ASSERT_EQ(client.Call("join\t\t" + Port()), "1") << "an empty address joins this machine";
  EXPECT_TRUE(client.WaitForOutput("{ client thread - UP\n")) << client.Output();
  EXPECT_EQ(client.Call("create\tCid"), "103") << "the join registered the process's hidden entry as 102";
  EXPECT_EQ(client.Call("create\tDan"), "104");
  EXPECT_EQ(client.Call("count"), "3");
  EXPECT_EQ(host.Call("count"), "3") << "hidden entries are never counted";
  EXPECT_EQ(client.Call("id\t0"), "101");
  EXPECT_EQ(client.Call("id\t2"), "104");
  EXPECT_EQ(client.Call("id\t3"), "0");
  EXPECT_EQ(client.Call("name\t101"), "Ann");
  EXPECT_EQ(host.Call("name\t104"), "Dan");
  EXPECT_EQ(host.Call("name\t999"), "");

  // A message to 0 reaches every player once, the sender's own included.
  ASSERT_EQ(client.Call("send\t103\t0\tfor everyone"), "1");
  EXPECT_EQ(host.Call("recvwait\t101"), "for everyone|103");
  EXPECT_EQ(client.Call("recvwait\t103"), "for everyone|103");
  EXPECT_EQ(client.Call("recvwait\t104"), "for everyone|103");
  EXPECT_EQ(client.Call("recv\t103"), "|103") << "exactly once";
  EXPECT_EQ(host.Call("recv\t101"), "|103");

  // One player's inbox keeps the order of arrival.
  for (const char* text : {"one", "two", "three"}) ASSERT_EQ(host.Call(std::string("send\t101\t104\t") + text), "1");
  EXPECT_EQ(client.Call("recvwait\t104"), "one|101");
  EXPECT_EQ(client.Call("recvwait\t104"), "two|101");
  EXPECT_EQ(client.Call("recvwait\t104"), "three|101");
  EXPECT_EQ(client.Call("recv\t103"), "|101");

  // The client's end of program tells the host that its players leave.
  // (The host reads one message per connection and pass, so the three notices take a
  // few passes.)
  EXPECT_EQ(client.End(), 0);
  std::string count;
  for (int attempt = 0; attempt < 20 && (count = host.Call("count")) != "1"; ++attempt) {
  }
  EXPECT_EQ(count, "1");
  EXPECT_EQ(host.Call("id\t0"), "101");
  EXPECT_EQ(host.End(), 0);
}

TEST_F(SessionProgramTest, WithoutASessionNamesAreNoDataAndAddressesAreListed) {
  ScriptedGame game(scratch.Path());
  EXPECT_EQ(game.Call("name\t101"), "NO_DATA");
  EXPECT_EQ(game.Call("create\tNobody"), "-1");
  const std::string addresses = game.Call("addrs");
  EXPECT_TRUE(std::regex_match(addresses, std::regex(R"(\d+\.\d+\.\d+\.\d+(\|\d+\.\d+\.\d+\.\d+)*)"))) << addresses;
  EXPECT_EQ(game.End(), 0);
}

TEST_F(SessionProgramTest, AGameDownloadsAFile) {
  scratch.WriteFile("site/level.txt", "level data\n");
  ScriptedGame game(scratch.Path());
  // The game is its own small server's client: python's http.server on a free port.
  const std::string serve = "import http.server,functools,sys\n"
                            "h=functools.partial(http.server.SimpleHTTPRequestHandler,directory=sys.argv[1])\n"
                            "s=http.server.HTTPServer(('127.0.0.1',0),h)\n"
                            "print('port',s.server_port,flush=True)\n"
                            "s.handle_request()\n";
  scratch.WriteFile("serve.py", serve);
  FILE* server = popen(("python3 " + scratch.Path() + "/serve.py " + scratch.Path() + "/site").c_str(), "r");
  ASSERT_NE(server, nullptr);
  int serverPort = 0;
  ASSERT_EQ(fscanf(server, "port %d", &serverPort), 1);
  EXPECT_EQ(game.Call("http\t127.0.0.1\t/level.txt\t" + std::to_string(serverPort) + "\t" + scratch.Path() + "/got.txt"),
            "1");
  pclose(server);
  EXPECT_EQ(scratch.ReadFile("got.txt"), "level data\n");
  EXPECT_EQ(game.End(), 0);
}

}  // namespace
