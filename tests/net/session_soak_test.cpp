// A hostile-peer soak of the session host, loopback only, for a fixed time
// (SESSION_SOAK_SECONDS, 3 by default; run it by hand with 60 or more): random and malformed
// datagrams, registration floods from new connections and clients that vanish, all at a
// fixed rate, while two honest clients exchange messages. Every honest message must arrive
// in order, and the host (a process of its own, so its memory can be read) must stay flat.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <vector>

#include "session_fixture.h"
#include "wire_bytes.h"

namespace {

constexpr int kTickMs = 10;

int SoakSeconds() {
  const char* text = std::getenv("SESSION_SOAK_SECONDS");
  const int seconds = text != nullptr ? std::atoi(text) : 0;
  return seconds > 0 ? seconds : 3;
}

// A field of /proc/<pid>/status in kB (VmRSS, VmHWM), 0 when it cannot be read.
long StatusKilobytes(pid_t process, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
  }
  return 0;
}

// The host, forked before this process starts any thread; it hosts until the pipe closes.
pid_t ForkHost(std::uint16_t port, int& control) {
  int toHost[2];
  int ready[2];
  if (pipe(toHost) != 0 || pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(toHost[1]);
    close(ready[0]);
    NetSession host;
    char byte = host.Host(port) ? 1 : 0;
    (void)!write(ready[1], &byte, 1);
    if (byte != 0) (void)!read(toHost[0], &byte, 1);
    _exit(0);
  }
  close(toHost[0]);
  close(ready[1]);
  char started = 0;
  const bool up = read(ready[0], &started, 1) == 1 && started != 0;
  close(ready[0]);
  control = toHost[1];
  return up ? child : -1;
}

// Registers a player through a raw connection; its id, or 0.
std::int32_t RegisterRaw(const RawUdpPeer& peer, std::uint16_t connection, const std::string& name) {
  peer.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload(name, 0)));
  while (const std::optional<Datagram> reply = peer.ReceiveFrom(connection, 3000)) {
    if (reply->bytes.size() == 17) return ReadLittleEndian32(reply->bytes, 9);  // not the greeting
  }
  return 0;
}

// Honest traffic: each side sends numbered messages to the other and checks their order.
struct HonestSide {
  NetSession session;
  std::int32_t player = -1;
  int sent = 0;
  int received = 0;
  bool inOrder = true;

  void Drain(const std::string& expectedPrefix) {
    std::string text;
    while (session.Receive(player, text)) {
      inOrder = inOrder && text == expectedPrefix + std::to_string(received);
      ++received;
    }
  }
};

TEST(SessionSoak, HonestMessagesAllArriveAndTheHostStaysFlat) {
  const std::uint16_t port = FreeUdpPort();
  int control = -1;
  const pid_t host = ForkHost(port, control);
  ASSERT_GT(host, 0);
  HonestSide a;
  HonestSide b;
  ASSERT_TRUE(a.session.Join("127.0.0.1", port));
  ASSERT_TRUE(b.session.Join("127.0.0.1", port));
  a.player = a.session.CreatePlayer("Ann");
  b.player = b.session.CreatePlayer("Bo");
  ASSERT_GT(a.player, 0);
  ASSERT_GT(b.player, 0);
  RawUdpPeer attacker;
  const std::uint16_t attackerConnection = JoinLikeTheLibrary(attacker, port);
  ASSERT_NE(attackerConnection, 0);
  const std::int32_t attackerPlayer = RegisterRaw(attacker, attackerConnection, "Mallory");
  ASSERT_GT(attackerPlayer, 0);

  std::mt19937 random(23);
  std::unique_ptr<RawUdpPeer> flooder;
  std::uint16_t floodConnection = 0;
  const int ticks = SoakSeconds() * 1000 / kTickMs;
  long settledKb = 0;
  long peakAfterSettlingKb = 0;
  auto next = std::chrono::steady_clock::now();
  for (int tick = 0; tick < ticks; ++tick) {
    // Honest messages, one each way per tick.
    a.session.Send(a.player, b.player, "a" + std::to_string(a.sent++));
    b.session.Send(b.player, a.player, "b" + std::to_string(b.sent++));
    a.Drain("b");
    b.Drain("a");
    // Random bytes at the listening socket and at a connection; malformed headers.
    for (int i = 0; i < 10; ++i) {
      std::string noise(random() % 96, '\0');
      for (char& byte : noise) byte = static_cast<char>(random());
      attacker.SendTo(i % 2 == 0 ? port : attackerConnection, noise);
      attacker.SendTo(attackerConnection, TrvnDatagram(static_cast<std::uint8_t>(random()), random() % 4 - 1,
                                                       a.player, noise, static_cast<std::int32_t>(random() % 5000) - 100));
    }
    // A new connection floods registrations every second.
    if (tick % 100 == 0) {
      flooder = std::make_unique<RawUdpPeer>();
      floodConnection = JoinLikeTheLibrary(*flooder, port);
    }
    for (int i = 0; floodConnection != 0 && i < 50; ++i) {
      flooder->SendTo(floodConnection, TrvnDatagram(1, 0, 0, RegistrationPayload("bot", 0)));
    }
    // A client that registers and vanishes without waiting for the answer.
    if (tick % 10 == 5) {
      RawUdpPeer ghost;
      const std::uint16_t connection = JoinLikeTheLibrary(ghost, port);
      if (connection != 0) ghost.SendTo(connection, TrvnDatagram(1, 0, 0, RegistrationPayload("ghost", 0)));
    }
    if (tick % 10 == 0) {
      const long rss = StatusKilobytes(host, "VmRSS");
      if (settledKb == 0 && tick >= ticks / 4) settledKb = rss;
      else if (settledKb != 0) peakAfterSettlingKb = std::max(peakAfterSettlingKb, rss);
    }
    next += std::chrono::milliseconds(kTickMs);
    std::this_thread::sleep_until(next);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((a.received < b.sent || b.received < a.sent) && std::chrono::steady_clock::now() < deadline) {
    a.Drain("b");
    b.Drain("a");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const long peakKb = StatusKilobytes(host, "VmHWM");
  std::cout << "honest messages " << a.received + b.received << "; host peak RSS " << peakKb << " kB; RSS at a quarter of the run " << settledKb
            << " kB, highest after it " << peakAfterSettlingKb << " kB\n";
  RecordProperty("host_peak_rss_kb", std::to_string(peakKb));
  close(control);
  int status = 0;
  waitpid(host, &status, 0);
  EXPECT_EQ(a.received, b.sent);
  EXPECT_EQ(b.received, a.sent);
  EXPECT_TRUE(a.inOrder && b.inOrder);
#if !defined(__SANITIZE_ADDRESS__)
  // Without the bounds the floods alone grow the host by tens of megabytes a second.
  EXPECT_LT(peakAfterSettlingKb - settledKb, 16 * 1024);
#endif
}

}  // namespace
