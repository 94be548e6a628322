#include "core/random_generator.h"

#include "base/number_truncation.h"

namespace {

// The eight words ISAAC mixes while it fills its state.
struct MixWords {
  std::uint32_t a, b, c, d, e, f, g, h;

  void Mix() {
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
  }

  void Add(const std::uint32_t* words) {
    a += words[0]; b += words[1]; c += words[2]; d += words[3];
    e += words[4]; f += words[5]; g += words[6]; h += words[7];
  }

  void Store(std::uint32_t* words) const {
    words[0] = a; words[1] = b; words[2] = c; words[3] = d;
    words[4] = e; words[5] = f; words[6] = g; words[7] = h;
  }
};

constexpr std::uint32_t kGoldenRatio = 0x9E3779B9;
constexpr int kGroups = RandomGenerator::kWords / 8;

}  // namespace

void RunIsaacRound(RandomGenerator& generator) {
  // Locals instead of the record's fields: stores into the result block could otherwise
  // alias them and keep the compiler from holding them in registers.
  std::uint32_t* memory = generator.memory.data();
  std::uint32_t* results = generator.results.data();
  std::uint32_t a = generator.aa;
  generator.cc += 1;
  std::uint32_t b = generator.bb + generator.cc;
  const auto step = [&](int i, std::uint32_t mixed) {
    const std::uint32_t x = memory[i];
    a = mixed + memory[(i + 128) % 256];
    const std::uint32_t y = memory[(x >> 2) % 256] + a + b;
    memory[i] = y;
    b = memory[(y >> 10) % 256] + x;
    results[i] = b;
  };
  // The shift applied to a depends on i mod 4: <<13, >>6, <<2, >>16.
  for (int i = 0; i < RandomGenerator::kWords; i += 4) {
    step(i, a ^ (a << 13));
    step(i + 1, a ^ (a >> 6));
    step(i + 2, a ^ (a << 2));
    step(i + 3, a ^ (a >> 16));
  }
  generator.aa = a;
  generator.bb = b;
}

void SeedGenerator(RandomGenerator& generator, std::uint32_t seed) {
  generator.aa = generator.bb = generator.cc = 0;
  MixWords words{kGoldenRatio, kGoldenRatio, kGoldenRatio, kGoldenRatio,
                 kGoldenRatio, kGoldenRatio, kGoldenRatio, kGoldenRatio};
  for (int group = 0; group < kGroups; ++group) {
    words.a += seed;
    words.Mix();
    words.Store(&generator.memory[8 * group]);
  }
  for (int i = 0; i < 4; ++i) words.Mix();
  for (int group = 0; group < kGroups; ++group) {
    words.Add(&generator.results[8 * group]);
    words.Mix();
    words.Store(&generator.memory[8 * group]);
  }
  for (int group = 0; group < kGroups; ++group) {
    words.Add(&generator.memory[8 * group]);
    words.Mix();
    words.Store(&generator.memory[8 * group]);
  }
  RunIsaacRound(generator);
  generator.resultCount = RandomGenerator::kWords;
}

std::uint32_t DrawFromGenerator(RandomGenerator& generator) {
  RunIsaacRound(generator);
  return generator.results[0];
}

RandomGenerator& ProcessRandomGenerator() {
  static RandomGenerator generator;
  return generator;
}

void SeedRandom(std::uint32_t seed) { SeedGenerator(ProcessRandomGenerator(), seed); }

std::uint32_t DrawRandom() { return DrawFromGenerator(ProcessRandomGenerator()); }

double RandomInt(double n) {
  const std::uint32_t draw = DrawRandom();
  // The low 32 bits of the 64-bit truncation, plus one, all modulo 2^32.
  const std::uint32_t divisor = static_cast<std::uint32_t>(TruncateToInt64(n)) + 1u;
  if (divisor == 0) return 0;
  return draw % divisor;
}

std::uint32_t SeedFromClock(double milliseconds) {
  return static_cast<std::uint32_t>(TruncateToInt32(milliseconds));
}
