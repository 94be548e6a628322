// Windowed and fullscreen display modes and the screen-mode commands, on the offscreen
// driver, whose one display mode is its desktop.

#include <gtest/gtest.h>

#include "host/screen_commands.h"
#include "sound/sound_device.h"
#include "support/renderer_fixture.h"
#include "video/display_mode.h"
#include "video/frame_clock.h"

namespace {

class ScreenMode : public RendererFixture {
 protected:
  void SetUp() override {
    RendererFixture::SetUp();
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    desktopWidth = desktop.w;
    desktopHeight = desktop.h;
  }
  int desktopWidth = 0;
  int desktopHeight = 0;
};

TEST_F(ScreenMode, AWindowedSizeChangeKeepsTheWindow) {
  const double handle = GetMainWindowHandle();
  SDL_Window* window = renderer->window;
  SetScreenMode(800, 600, 0);
  EXPECT_EQ(renderer->window, window);
  EXPECT_EQ(GetMainWindowHandle(), handle);
  EXPECT_EQ(IsFullscreen(), 0);
  EXPECT_EQ(renderer->surfaceWidth, 800);
  EXPECT_EQ(renderer->surfaceHeight, 600);
  EXPECT_EQ(Engine().screenWidth, 800);
  EXPECT_EQ(Engine().screenHeight, 600);
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(renderer->viewportWidth, 800);
}

TEST_F(ScreenMode, AZeroSizeKeepsThePreviousSurface) {
  SetScreenMode(800, 600, 0);
  SetScreenMode(0, 0, 0);
  EXPECT_EQ(renderer->surfaceWidth, 800);
  EXPECT_EQ(renderer->surfaceHeight, 600);
  ChangeScreenMode(*renderer, -5, -7, -1, 0);
  EXPECT_EQ(renderer->surfaceWidth, 800);
  EXPECT_EQ(renderer->surfaceHeight, 600);
  EXPECT_GT(renderer->colourDepth, 0);
}

TEST_F(ScreenMode, FullscreenMakesANewWindowAndKeepsTheContextAndItsTextures) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const std::uint32_t texel = 0xFF0000FF;
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &texel);
  SDL_GLContext context = renderer->context;
  const double handle = GetMainWindowHandle();

  SetScreenMode(desktopWidth, desktopHeight, 1);
  EXPECT_EQ(IsFullscreen(), 1);
  EXPECT_NE(GetMainWindowHandle(), handle);
  EXPECT_EQ(Engine().mainWindow, renderer->window);
  EXPECT_EQ(renderer->context, context);
  EXPECT_TRUE(glIsTexture(texture));
  EXPECT_EQ(renderer->surfaceWidth, desktopWidth);
  EXPECT_EQ(renderer->viewportHeight, desktopHeight);
  EXPECT_TRUE(SDL_GetWindowFlags(renderer->window) & SDL_WINDOW_FULLSCREEN);

  // Back to windowed: the same window, restyled.
  const double fullscreenHandle = GetMainWindowHandle();
  SetScreenMode(desktopWidth, desktopHeight, 0);
  EXPECT_EQ(IsFullscreen(), 0);
  EXPECT_EQ(GetMainWindowHandle(), fullscreenHandle);
  EXPECT_FALSE(SDL_GetWindowFlags(renderer->window) & SDL_WINDOW_FULLSCREEN);
  EXPECT_TRUE(glIsTexture(texture));
}

TEST_F(ScreenMode, TheNewWindowIsHandedToTheSoundDevice) {
  SoundDevice device;
  Subsystems().soundDevice = &device;
  device.SetWindow(renderer->window);
  SetScreenMode(desktopWidth, desktopHeight, 1);
  EXPECT_EQ(device.Window(), renderer->window);
  EXPECT_EQ(Engine().mainWindow, renderer->window);
  Subsystems().soundDevice = nullptr;
}

TEST_F(ScreenMode, AFullscreenSwitchRecreatesTheWindowAtTheTruncatedFrameRate) {
  SetScreenMode(desktopWidth, desktopHeight, 1);
  EXPECT_DOUBLE_EQ(renderer->frameInterval, 1000.0 / 59);
}

TEST_F(ScreenMode, NoMatchingModeLogsAndStaysWindowed) {
  ASSERT_NE(desktopWidth, 640);
  const double handle = GetMainWindowHandle();
  const int logged = CountOf(ReadErrorLog(), "No Fullscreen Mode available\r\n");
  SetScreenMode(640, 480, 1);
  EXPECT_EQ(IsFullscreen(), 0);
  EXPECT_EQ(GetMainWindowHandle(), handle);
  EXPECT_EQ(renderer->surfaceWidth, 640);
  EXPECT_EQ(EnterFullscreen(*renderer), 0);
  EXPECT_EQ(CountOf(ReadErrorLog(), "No Fullscreen Mode available\r\n"), logged + 2);
}

TEST_F(ScreenMode, SuspendHidesTheWindowAndLeavesFullscreen) {
  SetScreenMode(desktopWidth, desktopHeight, 1);
  EXPECT_EQ(SuspendDisplay(*renderer), 1);
  EXPECT_EQ(renderer->fullscreenActive, 0);
  EXPECT_FALSE(SDL_GetWindowFlags(renderer->window) & SDL_WINDOW_SHOWN);
  EXPECT_FALSE(SDL_GetWindowFlags(renderer->window) & SDL_WINDOW_FULLSCREEN);
  EnterWindowed(*renderer);
  EXPECT_TRUE(SDL_GetWindowFlags(renderer->window) & SDL_WINDOW_SHOWN);
}

TEST_F(ScreenMode, ReleasingFromFullscreenLeavesFullscreenFirst) {
  SetScreenMode(desktopWidth, desktopHeight, 1);
  ReleaseRenderer(*renderer);
  EXPECT_EQ(renderer->fullscreenActive, 0);
  EXPECT_EQ(renderer->window, nullptr);
  Engine().mainWindow = nullptr;
  EXPECT_EQ(GetMainWindowHandle(), 0);
}

TEST_F(ScreenMode, TheFrameRateCommandChangesOnlyTheRenderer) {
  Engine().frameRate = 60;
  SetFrameRateLimit(30.9);
  EXPECT_DOUBLE_EQ(renderer->frameInterval, 1000.0 / 30);
  SetFrameRateLimit(0);
  EXPECT_DOUBLE_EQ(renderer->frameInterval, 2.0);
  SetFrameRateLimit(-12);
  EXPECT_DOUBLE_EQ(renderer->frameInterval, 2.0);
  EXPECT_EQ(Engine().frameRate, 60);
}

}  // namespace
