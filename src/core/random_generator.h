#pragma once
// The process-wide random generator: R. Jenkins' ISAAC with 32-bit words and 256-word
// tables, seeded once at start-up from the clock and then only advanced by draws.

#include <array>
#include <cstdint>

struct RandomGenerator {
  static constexpr int kWords = 256;

  std::array<std::uint32_t, kWords> results{};  // the result block of the latest round
  std::array<std::uint32_t, kWords> memory{};   // the internal state table
  std::uint32_t aa = 0;                         // the accumulator
  std::uint32_t bb = 0;                         // the previous result
  std::uint32_t cc = 0;                         // the round counter
  std::int32_t resultCount = 0;                 // set to 256 by seeding; draws do not consult it
};

// One full ISAAC round: 256 new results from the state.
void RunIsaacRound(RandomGenerator& generator);
// Fills the state from a 32-bit seed (and the current result block).
void SeedGenerator(RandomGenerator& generator, std::uint32_t seed);
// One round; its first result.
std::uint32_t DrawFromGenerator(RandomGenerator& generator);

// The one generator of the process, all zeros until it is seeded.
RandomGenerator& ProcessRandomGenerator();

// Seeds the process generator; start-up calls it once with the clock.
void SeedRandom(std::uint32_t seed);
// Runs one round of the process generator and returns word 0 of the new result block.
std::uint32_t DrawRandom();
// A whole number from 0 to n (n truncated toward zero). A negative n wraps the divisor
// (n = -2 draws from 0 to 4294967294); n = -1, whose divisor wraps to 0, gives 0.
double RandomInt(double n);

// The seed start-up derives from a millisecond clock reading: truncated toward zero to
// a signed 32-bit integer taken as unsigned; readings of 2^31 or more give 0x80000000.
std::uint32_t SeedFromClock(double milliseconds);
