#pragma once
// Sessions inside the test process: a host and clients, each a NetSession of its own with
// its own sockets and thread, talking over loopback exactly as separate processes do.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "net/net_session.h"
#include "raw_udp_peer.h"

class SessionFixture : public ::testing::Test {
 protected:
  void SetUp() override { port = FreeUdpPort(); }

  // The next message of a local player within timeoutMs; "<none>" when nothing came. The
  // limit is for a busy machine: a message normally comes within a few passes.
  static std::string NextMessage(NetSession& session, std::int32_t player, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string text;
    while (!session.Receive(player, text)) {
      if (std::chrono::steady_clock::now() > deadline) return "<none>";
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return text;
  }

  static std::int32_t Count(NetSession& session) {
    std::int32_t count = -1;
    EXPECT_TRUE(session.PlayerCount(count));
    return count;
  }

  // Lets a few session passes go by, for checks that something did NOT arrive.
  static void LetPassesRun() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }

  std::uint16_t port = 0;
};
