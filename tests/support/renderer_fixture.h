#pragma once
// A renderer with a real window and GL context on SDL's offscreen driver (Mesa
// llvmpipe), installed as the engine's renderer for the test, with helpers that draw in
// 2D coordinates and read pixels back.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <array>
#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "base/engine_state.h"
#include "base/error_log.h"
#include "base/temp_directory.h"
#include "host/host_steps.h"
#include "support/scratch_directory.h"
#include "video/game_window.h"
#include "video/renderer.h"

class RendererFixture : public ::testing::Test {
 protected:
  using Pixel = std::array<std::uint8_t, 4>;
  static constexpr Pixel kBlack{0, 0, 0, 255};
  static constexpr Pixel kRed{255, 0, 0, 255};

  void SetUp() override {
    // The error log of this process goes to a private folder, so tests running in
    // parallel never read each other's lines.
    static const ScratchDirectory temporary;
    setenv("TMPDIR", temporary.Path().c_str(), 1);
    ASSERT_EQ(EngineTempDirectory().rfind(temporary.Path(), 0), 0u) << "the log folder was chosen before";
    HandHostStepsDown();
    EngineState& engine = Engine();
    engine.windowTitle = "Probe";
    engine.pauseWhenInactive = 1;
    engine.paused = 0;
    engine.debugMode = 0;
    engine.escapeEndsProgram = 1;
    renderer = new OpenGLDiveduva();
    Subsystems().renderer = renderer;
    ASSERT_EQ(CreateGameWindow(*renderer, 640, 480, 0, 60, multisampleCount), 1) << SDL_GetError();
    engine.mainWindow = renderer->window;
  }

  void TearDown() override {
    delete renderer;
    Subsystems().renderer = nullptr;
    Engine().mainWindow = nullptr;
    Engine().paused = 0;
  }

  // An untextured quad from (x, y) to (x + width, y + height) in 2D coordinates of the
  // current viewport, counter-clockwise as GL sees it so culling keeps it.
  static void FillRect2D(float x, float y, float width, float height) {
    FlushEngineQuadBatch();  // the test's own GL calls come after the 2D commands before them
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(x, -(y + height));
    glVertex2f(x + width, -(y + height));
    glVertex2f(x + width, -y);
    glVertex2f(x, -y);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
  }

  // The pixel at surface column x and row y counted from the top.
  Pixel PixelAt(int x, int y) const {
    Pixel pixel{};
    FlushEngineQuadBatch();
    glFinish();
    glReadPixels(x, renderer->surfaceHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    pixel[3] = 255;  // the window has no alpha channel to speak of
    return pixel;
  }

  static std::string ReadErrorLog() {
    std::ifstream file(ErrorLogPath(), std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
  }

  static int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
  }

  static void PushWindowEvent(SDL_Window* window, Uint8 windowEvent) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window);
    event.window.event = windowEvent;
    SDL_PushEvent(&event);
  }

  int multisampleCount = 0;
  OpenGLDiveduva* renderer = nullptr;
};
