// The end of a frame, the pacing wait, the pause and the window's event handling, on
// the offscreen driver.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "host/frame_present.h"
#include "host/idle_wait.h"
#include "host/message_pump.h"
#include "support/renderer_fixture.h"
#include "video/frame_clock.h"

namespace {

using FramePresentation = RendererFixture;

TEST_F(FramePresentation, PresentFrameResetsBlendingColourAlphaAndViewport) {
  glEnable(GL_BLEND);
  glColor4f(1, 0, 0, 0.5f);
  renderer->currentAlpha = 0.25f;
  SetViewport2D(*renderer, 5, 5, 10, 10);
  PresentFrame();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1);
  EXPECT_FLOAT_EQ(colour[1], 1);
  EXPECT_FLOAT_EQ(colour[2], 1);
  EXPECT_FLOAT_EQ(colour[3], 1);
  EXPECT_FLOAT_EQ(renderer->currentAlpha, 1.0f);
  EXPECT_EQ(renderer->viewportX, 0);
  EXPECT_EQ(renderer->viewportWidth, 640);
}

TEST_F(FramePresentation, TheNextFrameStartsCleared) {
  FillRect2D(0, 0, 640, 480);
  ASSERT_EQ(PixelAt(320, 240), kRed);
  PresentFrame();
  EXPECT_EQ(PixelAt(320, 240), kBlack);
}

TEST_F(FramePresentation, PresentFrameMovesTheFrameClock) {
  Engine().frameTime = 5;
  PresentFrame();
  EXPECT_EQ(Engine().previousFrameTime, 5);
  EXPECT_GT(Engine().frameTime, 5);
  EXPECT_GE(GetFrameDuration(), 1);
}

TEST_F(FramePresentation, PacingWaitsForTheSlotAndMovesItOnTheGrid) {
  SwapAndPace(*renderer);  // the first swap may take long; it is not what is measured
  const double before = ReadClock();
  const double slot = before + 30;
  renderer->nextFrameTime = slot;
  const double waited = SwapAndPace(*renderer);
  const double after = ReadClock();
  EXPECT_GT(after, slot);
  // The wait counts from the end of the swap, plus 1.
  EXPECT_GE(waited, 1);
  EXPECT_LE(waited, after - before + 1);
  // The next slot is on the grid, one interval on unless this machine was too busy to
  // meet even that.
  const double slots = (renderer->nextFrameTime - slot) / renderer->frameInterval;
  EXPECT_NEAR(slots, std::round(slots), 1e-6);
  EXPECT_GE(std::round(slots), 1);
  EXPECT_LE(renderer->nextFrameTime - renderer->frameInterval, after);
}

TEST_F(FramePresentation, ALateFrameIsShownAtOnceAndSkipsMissedSlots) {
  const double oldSlot = ReadClock() - 1000;
  renderer->nextFrameTime = oldSlot;
  const double waited = SwapAndPace(*renderer);
  EXPECT_GE(waited, 1);
  const double now = ReadClock();
  EXPECT_LE(renderer->nextFrameTime - renderer->frameInterval, now);
  const double slots = (renderer->nextFrameTime - oldSlot) / renderer->frameInterval;
  EXPECT_NEAR(slots, std::round(slots), 1e-6);
  EXPECT_GE(slots, 60);
}

TEST_F(FramePresentation, FocusLossPausesWithTheCaptionAndFocusBackResumes) {
  PushWindowEvent(renderer->window, SDL_WINDOWEVENT_FOCUS_LOST);
  PumpMessages(*renderer);
  EXPECT_EQ(Engine().paused, 1);
  EXPECT_STREQ(SDL_GetWindowTitle(renderer->window), "Probe <pause>");
  PushWindowEvent(renderer->window, SDL_WINDOWEVENT_FOCUS_GAINED);
  PumpMessages(*renderer);
  EXPECT_EQ(Engine().paused, 0);
  EXPECT_STREQ(SDL_GetWindowTitle(renderer->window), "Probe");
}

TEST_F(FramePresentation, DebugModeOrNoPausingLeavesFocusChangesAlone) {
  Engine().debugMode = 1;
  PushWindowEvent(renderer->window, SDL_WINDOWEVENT_FOCUS_LOST);
  PumpMessages(*renderer);
  EXPECT_EQ(Engine().paused, 0);
  EXPECT_STREQ(SDL_GetWindowTitle(renderer->window), "Trovane");
  Engine().debugMode = 0;
  Engine().pauseWhenInactive = 0;
  PushWindowEvent(renderer->window, SDL_WINDOWEVENT_FOCUS_LOST);
  PumpMessages(*renderer);
  EXPECT_EQ(Engine().paused, 0);
  Engine().pauseWhenInactive = 1;
}

TEST_F(FramePresentation, EventsOfAnotherWindowAreIgnored) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SDL_GetWindowID(renderer->window) + 1000;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&event);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&event);
  EXPECT_EQ(PumpMessages(*renderer), 1);
  EXPECT_EQ(Engine().paused, 0);
}

TEST_F(FramePresentation, WhilePausedTheFrameWaitsUntilTheWindowIsActiveAgain) {
  PushWindowEvent(renderer->window, SDL_WINDOWEVENT_FOCUS_LOST);
  PumpMessages(*renderer);
  ASSERT_EQ(Engine().paused, 1);
  SDL_Window* window = renderer->window;
  std::thread player([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
  });
  const auto start = std::chrono::steady_clock::now();
  PresentFrame();
  const auto waited = std::chrono::steady_clock::now() - start;
  player.join();
  EXPECT_EQ(Engine().paused, 0);
  EXPECT_GE(waited, std::chrono::milliseconds(250));
}

TEST_F(FramePresentation, IdleWaitWithoutInputReturnsAfterItsPasses) {
  const auto start = std::chrono::steady_clock::now();
  IdleWait();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
}

using FramePresentationDeathTest = FramePresentation;

TEST_F(FramePresentationDeathTest, TheWindowsCloseRequestEndsTheProgramWithCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        PushWindowEvent(renderer->window, SDL_WINDOWEVENT_CLOSE);
        PresentFrame();
        std::fprintf(stderr, "still running\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(FramePresentationDeathTest, AQuitRequestEndsTheProgramWithCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        IdleWait();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
