// Wire compatibility: a peer written from the protocol's description with plain sockets
// (as a peer built with the original library behaves) joins our host, and hosts a session
// our client joins. Every datagram either side sends is checked byte for byte.

#include <future>

#include "session_fixture.h"
#include "wire_bytes.h"

namespace {

using SessionWireTest = SessionFixture;

// The next datagram from port, or "<none>".
std::string NextFrom(const RawUdpPeer& peer, std::uint16_t port, int timeoutMs = 3000) {
  const std::optional<Datagram> datagram = peer.ReceiveFrom(port, timeoutMs);
  return datagram ? datagram->bytes : "<none>";
}

TEST_F(SessionWireTest, ALibraryPeerJoinsOurHost) {
  NetSession host;
  ASSERT_TRUE(host.Host(port));
  RawUdpPeer peer;

  peer.SendTo(port, kRequestDatagram);
  const std::optional<Datagram> reply = peer.ReceiveFrom(port, 3000);
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->bytes.size(), 24u);
  const auto connection = static_cast<std::uint16_t>((static_cast<unsigned char>(reply->bytes[0]) << 8) |
                                                     static_cast<unsigned char>(reply->bytes[1]));
  EXPECT_EQ(reply->bytes, ReplyDatagram(connection));
  EXPECT_EQ(NextFrom(peer, connection), "") << "the host's new socket greets first";
  peer.SendTo(connection, "");

  peer.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("Peer", 0)));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(2, 101, 0));
  peer.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("", 1)));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(2, 102, 0));

  peer.SendTo(connection, TrvnDatagram(104, 0, 102));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(104, 102, 0, LittleEndian32(1)));
  peer.SendTo(connection, TrvnDatagram(101, 0, 102));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(101, 102, 0, LittleEndian32(1)));
  peer.SendTo(connection, TrvnDatagram(102, 0, 102, LittleEndian32(0)));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(102, 102, 0, LittleEndian32(101)));
  peer.SendTo(connection, TrvnDatagram(103, 0, 102, LittleEndian32(101)));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(103, 102, 0, "Peer"));
  peer.SendTo(connection, TrvnDatagram(103, 0, 102, LittleEndian32(4242)));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(103, 102, 0));

  const std::int32_t own = host.CreatePlayer("Hostess");
  ASSERT_EQ(own, 103);
  ASSERT_TRUE(host.Send(own, 101, "hello peer"));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(3, 101, 103, "hello peer"));
  peer.SendTo(connection, TrvnDatagram(3, 103, 101, "hello host"));
  EXPECT_EQ(NextMessage(host, own), "hello host");
  EXPECT_EQ(host.LastSender(), 101);

  // A message to all: one copy for each registered entry, addressed to it, in list order.
  ASSERT_TRUE(host.Send(own, 0, "all"));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(3, 101, 103, "all"));
  EXPECT_EQ(NextFrom(peer, connection), TrvnDatagram(3, 102, 103, "all"));
  EXPECT_EQ(NextMessage(host, own), "all");

  peer.SendTo(connection, TrvnDatagram(4, 0, 101));
  LetPassesRun();
  EXPECT_EQ(Count(host), 1) << "only the host's own player is left";
}

TEST_F(SessionWireTest, OurClientJoinsALibraryHost) {
  RawUdpPeer listener;
  RawUdpPeer connection;
  NetSession client;
  auto joined = std::async(std::launch::async, [&] { return client.Join("127.0.0.1", listener.Port()); });

  std::string request;
  const std::uint16_t clientPort = AcceptLikeTheLibrary(listener, connection, request);
  ASSERT_NE(clientPort, 0);
  EXPECT_EQ(request, kRequestDatagram) << "one 27-byte request";
  EXPECT_EQ(NextFrom(connection, clientPort), "") << "the client greets the port our reply named";
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(1, 0, 0, RegistrationPayload("", 1)));
  connection.SendTo(clientPort, TrvnDatagram(2, 101, 0));
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(104, 0, 101));
  connection.SendTo(clientPort, TrvnDatagram(104, 101, 0, LittleEndian32(1)));
  ASSERT_TRUE(joined.get());
  EXPECT_FALSE(listener.Receive(100)) << "the request is never sent again";

  auto created = std::async(std::launch::async, [&] { return client.CreatePlayer("Zed"); });
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(1, 0, 0, RegistrationPayload("Zed", 0)));
  connection.SendTo(clientPort, TrvnDatagram(2, 102, 0));
  ASSERT_EQ(created.get(), 102);

  auto counted = std::async(std::launch::async, [&] {
    std::int32_t count = 0;
    return client.PlayerCount(count) ? count : -1;
  });
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(101, 0, 101));
  connection.SendTo(clientPort, TrvnDatagram(101, 101, 0, LittleEndian32(7)));
  EXPECT_EQ(counted.get(), 7);

  auto named = std::async(std::launch::async, [&] {
    std::string name;
    return client.PlayerName(55, name) ? name : "<failed>";
  });
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(103, 0, 101, LittleEndian32(55)));
  connection.SendTo(clientPort, TrvnDatagram(103, 101, 0, "Zorro"));
  EXPECT_EQ(named.get(), "Zorro");

  connection.SendTo(clientPort, TrvnDatagram(3, 102, 300, "ping"));
  EXPECT_EQ(NextMessage(client, 102), "ping");
  EXPECT_EQ(client.LastSender(), 300);
  ASSERT_TRUE(client.Send(102, 0, "pong"));
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(3, -1, 102, "pong"));
  ASSERT_TRUE(client.Send(102, 300, "direct"));
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(3, 300, 102, "direct"));
  client.SendLeave(102);
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(4, 0, 102));

  // The end of the program: a leave notice for every local entry with an id.
  client.EndSession();
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(4, 0, 101));
  EXPECT_EQ(NextFrom(connection, clientPort), TrvnDatagram(4, 0, 102));
  EXPECT_EQ(NextFrom(connection, clientPort, 200), "<none>");
}

}  // namespace
