#include "core/random_generator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "value_probe_run.h"

namespace {

// The published ISAAC initialisation (the seeded form, with an all-zero seed block),
// written independently of the engine: the state from which the published result
// vector is produced.
void ReferenceMix(std::uint32_t (&w)[8]) {
  w[0] ^= w[1] << 11; w[3] += w[0]; w[1] += w[2];
  w[1] ^= w[2] >> 2;  w[4] += w[1]; w[2] += w[3];
  w[2] ^= w[3] << 8;  w[5] += w[2]; w[3] += w[4];
  w[3] ^= w[4] >> 16; w[6] += w[3]; w[4] += w[5];
  w[4] ^= w[5] << 10; w[7] += w[4]; w[5] += w[6];
  w[5] ^= w[6] >> 4;  w[0] += w[5]; w[6] += w[7];
  w[6] ^= w[7] << 8;  w[1] += w[6]; w[7] += w[0];
  w[7] ^= w[0] >> 9;  w[2] += w[7]; w[0] += w[1];
}

RandomGenerator PublishedInitialState() {
  RandomGenerator generator;
  std::uint32_t w[8];
  for (auto& word : w) word = 0x9e3779b9;
  for (int i = 0; i < 4; ++i) ReferenceMix(w);
  for (int pass = 0; pass < 2; ++pass) {
    const auto& source = pass == 0 ? generator.results : generator.memory;
    for (int i = 0; i < 256; i += 8) {
      for (int k = 0; k < 8; ++k) w[k] += source[i + k];
      ReferenceMix(w);
      for (int k = 0; k < 8; ++k) generator.memory[i + k] = w[k];
    }
  }
  return generator;
}

TEST(IsaacRound, ReproducesThePublishedResultVector) {
  RandomGenerator generator = PublishedInitialState();
  RunIsaacRound(generator);  // the round that ends the published initialisation
  RunIsaacRound(generator);  // the first block of the published vector
  const std::uint32_t expected[24] = {
      0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f, 0x433f1afb, 0xedec154a, 0xd8370487, 0x46ca4f9a,
      0x5de3743e, 0x88381097, 0xf1d444eb, 0x823cedb6, 0x6a83e1e0, 0x4a5f6355, 0xc7442433, 0x25890e2e,
      0x7452e319, 0x57161df6, 0x38a824f3, 0x002ed713, 0x29f55449, 0x51c08d83, 0xd78cb99e, 0xa0cc74f3};
  for (int i = 0; i < 24; ++i) EXPECT_EQ(generator.results[i], expected[i]) << "word " << i;
  EXPECT_EQ(generator.cc, 2u);
}

TEST(IsaacRound, DrawReturnsTheFirstWordOfEachNewBlock) {
  RandomGenerator generator = PublishedInitialState();
  RunIsaacRound(generator);
  EXPECT_EQ(DrawFromGenerator(generator), 0xf650e4c8u);
  const std::uint32_t firstWordOfNextBlock = DrawFromGenerator(generator);
  EXPECT_EQ(firstWordOfNextBlock, generator.results[0]);
  EXPECT_NE(firstWordOfNextBlock, 0xf650e4c8u);
}

// The engine's own seeding, step by step as the generator defines it, against the
// reference mix: one seed word added before each of the 32 group mixes, four extra
// mixes, then a pass over the result block and one over the state, then a round.
TEST(SeedRandom, FollowsTheSeedingSchedule) {
  const std::uint32_t seed = 123456789;
  RandomGenerator expected;
  std::uint32_t w[8];
  for (auto& word : w) word = 0x9e3779b9;
  for (int i = 0; i < 256; i += 8) {
    w[0] += seed;
    ReferenceMix(w);
    for (int k = 0; k < 8; ++k) expected.memory[i + k] = w[k];
  }
  for (int i = 0; i < 4; ++i) ReferenceMix(w);
  for (int pass = 0; pass < 2; ++pass) {
    const auto& source = pass == 0 ? expected.results : expected.memory;
    for (int i = 0; i < 256; i += 8) {
      for (int k = 0; k < 8; ++k) w[k] += source[i + k];
      ReferenceMix(w);
      for (int k = 0; k < 8; ++k) expected.memory[i + k] = w[k];
    }
  }
  RunIsaacRound(expected);

  RandomGenerator generator;
  generator.aa = 7;  // leftovers of earlier draws are reset
  generator.bb = 8;
  generator.cc = 9;
  SeedGenerator(generator, seed);
  EXPECT_EQ(generator.memory, expected.memory);
  EXPECT_EQ(generator.results, expected.results);
  EXPECT_EQ(generator.aa, expected.aa);
  EXPECT_EQ(generator.bb, expected.bb);
  EXPECT_EQ(generator.cc, 1u);
  EXPECT_EQ(generator.resultCount, 256);
}

TEST(SeedRandom, TheResultBlockTakesPartInReseeding) {
  RandomGenerator fresh, used;
  SeedGenerator(fresh, 42);
  SeedGenerator(used, 42);
  DrawFromGenerator(used);
  SeedGenerator(used, 42);
  EXPECT_NE(DrawFromGenerator(fresh), DrawFromGenerator(used));
}

TEST(SeedRandom, ClockReadingsBecomeSeedsByTruncation) {
  EXPECT_EQ(SeedFromClock(1234.9), 1234u);
  EXPECT_EQ(SeedFromClock(2147483647.5), 0x7FFFFFFFu);
  EXPECT_EQ(SeedFromClock(2147483648.0), 0x80000000u);
  EXPECT_EQ(SeedFromClock(5e12), 0x80000000u);
}

class RandomInts : public ::testing::Test {
 protected:
  void SetUp() override { SeedRandom(20240607); }
  // What the next RandomInt(n) must give: the next draw modulo the wrapped divisor.
  std::uint32_t NextDraw() const {
    RandomGenerator copy = ProcessRandomGenerator();
    return DrawFromGenerator(copy);
  }
};

TEST_F(RandomInts, CoverExactlyZeroToN) {
  std::set<double> zero, one, six;
  for (int i = 0; i < 2000; ++i) {
    zero.insert(RandomInt(0));
    one.insert(RandomInt(1));
    six.insert(RandomInt(6.9));
  }
  EXPECT_EQ(zero, (std::set<double>{0}));
  EXPECT_EQ(one, (std::set<double>{0, 1}));
  EXPECT_EQ(six, (std::set<double>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(RandomInts, AreTheDrawModuloNPlusOne) {
  for (double n : {1.0, 10.0, 1000.0, 123456.7, 4294967294.0}) {
    const std::uint32_t draw = NextDraw();
    EXPECT_EQ(RandomInt(n), static_cast<double>(draw % (static_cast<std::uint64_t>(n) + 1))) << n;
  }
}

TEST_F(RandomInts, NegativeLimitsWrapTheDivisor) {
  const std::uint32_t draw = NextDraw();
  EXPECT_EQ(RandomInt(-2), static_cast<double>(draw % 4294967295u));
  // -1 (and 2^32 - 1) wrap the divisor to 0: a defined 0 instead of a division trap.
  EXPECT_EQ(RandomInt(-1), 0);
  EXPECT_EQ(RandomInt(4294967295.0), 0);
  EXPECT_EQ(RandomInt(4294967296.0), 0);  // low 32 bits 0, divisor 1
  EXPECT_EQ(RandomInt(1e30), 0);          // out of the 64-bit range
}

// A whole program prints the draws it made; the same seed gives the same sequence in
// two processes, and start-up seeds from the clock on its own.
std::string Draws(const std::vector<std::string>& arguments) {
  ScratchDirectory scratch;
  const ProcessResult result = RunValueProbe(arguments, scratch);
  EXPECT_EQ(result.exitCode, 0);
  const std::size_t start = result.output.find("draws:");
  EXPECT_NE(start, std::string::npos) << result.output;
  return start == std::string::npos ? "" : result.output.substr(start);
}

TEST(RandomAcrossProcesses, TheSameSeedGivesTheSameSequence) {
  const std::string first = Draws({"random", "777", "20"});
  EXPECT_EQ(first, Draws({"random", "777", "20"}));
  EXPECT_NE(first, Draws({"random", "778", "20"}));
  EXPECT_GT(first.size(), 60u);
}

TEST(RandomAcrossProcesses, StartUpSeedsFromTheClock) {
  // Unseeded generators would repeat the all-zero state's sequence in every run.
  EXPECT_NE(Draws({"random", "startup", "8"}), Draws({"random", "startup", "8"}));
}

}  // namespace
