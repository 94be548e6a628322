// The frame grid arithmetic and the clock, without a window.

#include "video/frame_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "base/engine_state.h"

namespace {

constexpr double kInterval60 = 1000.0 / 60.0;

TEST(FrameGrid, AFrameOnTimeMovesTheSlotOneIntervalOn) {
  EXPECT_DOUBLE_EQ(NextFrameSlot(1000.5, 1000.0, kInterval60), 1000.0 + kInterval60);
  // Exactly on the next grid point counts as not late.
  EXPECT_DOUBLE_EQ(NextFrameSlot(1000.0 + kInterval60, 1000.0, kInterval60), 1000.0 + kInterval60);
}

TEST(FrameGrid, ALateFrameSkipsToTheFirstGridPointNotBeforeNow) {
  // A 40 ms frame at 60 fps: slots at 16.7 and 33.3 are missed, the next is 50.
  const double next = NextFrameSlot(40.0, 0.0, kInterval60);
  EXPECT_NEAR(next, 3 * kInterval60, 1e-9);
  EXPECT_GE(next, 40.0);
  EXPECT_LT(next - kInterval60, 40.0);
}

TEST(FrameGrid, AVeryLongPauseLandsOnTheGridWithoutMakingUpFrames) {
  const double start = 123.25;
  const double now = start + 3'600'000.0 + 0.1;  // an hour later
  const double next = NextFrameSlot(now, start, kInterval60);
  EXPECT_GE(next, now);
  EXPECT_LT(next - kInterval60, now);
  const double slots = (next - start) / kInterval60;
  EXPECT_NEAR(slots, std::round(slots), 1e-6);
}

TEST(FrameGrid, ARateOfZeroOrLessGivesTwoMillisecondFrames) {
  EXPECT_DOUBLE_EQ(FrameIntervalForRate(0), 2.0);
  EXPECT_DOUBLE_EQ(FrameIntervalForRate(-30), 2.0);
  EXPECT_DOUBLE_EQ(FrameIntervalForRate(60), kInterval60);
  EXPECT_DOUBLE_EQ(FrameIntervalForRate(1), 1000.0);
  EXPECT_DOUBLE_EQ(NextFrameSlot(10.0, 9.0, FrameIntervalForRate(0)), 11.0);
}

TEST(FrameGrid, AnIntervalOfZeroNeverLoops) {
  EXPECT_DOUBLE_EQ(NextFrameSlot(500.0, 10.0, 0.0), 10.0);
  EXPECT_DOUBLE_EQ(NextFrameSlot(500.0, 10.0, -1.0), 9.0);
}

TEST(FrameGrid, TheRatePassedToARecreatedWindowIsTruncated) {
  // 1000 / 16.666... is 59.999...: a re-created window runs at 59 frames per second.
  EXPECT_EQ(FrameRateOfInterval(kInterval60), 59);
  EXPECT_EQ(FrameRateOfInterval(FrameIntervalForRate(50)), 50);
  EXPECT_EQ(FrameRateOfInterval(0.0), 5);
  EXPECT_EQ(FrameRateOfInterval(-2.0), 5);
  EXPECT_EQ(FrameRateOfInterval(1e-12), INT32_MAX);
}

TEST(Clock, CounterTicksBecomeMillisecondsWithoutLosingTheFraction) {
  EXPECT_DOUBLE_EQ(CounterToMilliseconds(0, 1'000'000'000), 0.0);
  EXPECT_DOUBLE_EQ(CounterToMilliseconds(1'500'000, 1'000'000'000), 1.5);
  EXPECT_DOUBLE_EQ(CounterToMilliseconds(3, 1000), 3.0);
  // A nanosecond counter after 200 days still resolves a microsecond.
  const std::uint64_t base = 200ull * 86400 * 1'000'000'000;
  const double difference = CounterToMilliseconds(base + 1000, 1'000'000'000) - CounterToMilliseconds(base, 1'000'000'000);
  EXPECT_NEAR(difference, 0.001, 1e-6);
}

TEST(Clock, ReadClockIsMonotonicMilliseconds) {
  const double first = ReadClock();
  double last = first;
  for (int i = 0; i < 1000; ++i) {
    const double now = ReadClock();
    ASSERT_GE(now, last);
    last = now;
  }
  EXPECT_LT(last - first, 1000.0);
}

TEST(FrameTimers, FrameDurationIsNeverZeroOrLess) {
  EngineState& engine = Engine();
  engine.previousFrameTime = ReadClock() + 1000;
  EXPECT_EQ(GetFrameDuration(), 1);
  engine.previousFrameTime = ReadClock() - 250;
  EXPECT_GE(GetFrameDuration(), 250);
  engine.previousFrameTime = 0;
}

TEST(FrameTimers, TimeSinceStartCountsFromStartTime) {
  Engine().startTime = ReadClock() - 1234;
  const double since = GetTimeSinceStart();
  EXPECT_GE(since, 1234);
  EXPECT_LT(since, 1234 + 1000);
  Engine().startTime = 0;
}

}  // namespace
