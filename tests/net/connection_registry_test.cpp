// The host's connection bookkeeping over an explicit clock: limits per address and in all,
// and silent connections.

#include <gtest/gtest.h>

#include <algorithm>

#include "net/connection_registry.h"

namespace {

constexpr std::uint32_t kNear = 0x0100007f;
constexpr std::uint32_t kFar = 0x0a00000a;

TEST(ConnectionRegistry, OneAddressCannotTakeEverySlotAndForgottenSlotsComeBack) {
  ConnectionRegistry registry;
  NLsocket next = 0;
  for (std::size_t i = 0; i < kMaxConnectionsPerAddress; ++i) ASSERT_TRUE(registry.Admit(next++, kNear, 0, false));
  EXPECT_FALSE(registry.Admit(next++, kNear, 0, false));
  EXPECT_TRUE(registry.Admit(next++, kFar, 0, false)) << "another address still gets in";
  registry.Forget(0);
  EXPECT_TRUE(registry.Admit(next++, kNear, 0, false));
  for (std::uint32_t address = 1; registry.Count() < kMaxConnections; ++address) {
    ASSERT_TRUE(registry.Admit(next++, kFar + (address << 24), 0, false));
  }
  EXPECT_FALSE(registry.Admit(next++, 0x0b00000b, 0, false)) << "the total holds for new addresses too";
}

TEST(ConnectionRegistry, OnlyConnectionsSilentPastTheLimitAreReported) {
  ConnectionRegistry registry;
  registry.Admit(1, kNear, 1000, false);  // never speaks
  registry.Admit(2, kNear, 1000, false);  // speaks
  registry.Admit(3, kNear, 1000, true);   // the host's own client: exempt
  registry.Admit(4, kNear, 5000, false);  // newer
  registry.Heard(2);
  EXPECT_TRUE(registry.Silent(1000 + kSilentConnectionLimitMs).empty());
  EXPECT_EQ(registry.Silent(1001 + kSilentConnectionLimitMs), std::vector<NLsocket>{1});
  std::vector<NLsocket> later = registry.Silent(5001 + kSilentConnectionLimitMs);
  std::sort(later.begin(), later.end());
  EXPECT_EQ(later, (std::vector<NLsocket>{1, 4}));
}

}  // namespace
