// The mouse of a whole game on a private X server, moved with xdotool: captured, motion
// moves the game's position whatever the cursor does; freed, the cursor is put at the
// game's position and the position follows the cursor.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 30000;

class MouseProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Ready()) << "Xvfb did not start";
    std::vector<std::string> environment = server.Environment();
    environment.push_back("TMPDIR=" + scratch.Path());
    game = std::make_unique<ChildProcess>(ProgramPath("test_mouse_probe"), std::vector<std::string>{}, environment);
    ASSERT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << game->Output();
    ASSERT_TRUE(game->WaitForOutput("ready\n", kStartTimeoutMs)) << game->Output();
    window = FindWindowByTitle(server.Display(), "Mouse Probe", 5000);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(FocusWindow(server.Display(), window));
    ASSERT_TRUE(game->WaitForOutput("mouse 320 240\n", 5000)) << game->Output();
  }

  void TearDown() override {
    if (game == nullptr || !game->Running()) return;
    RunXdotool(server.Display(), {"key", "Escape"});
    EXPECT_EQ(game->Wait(5000), 0) << game->Output();
  }

  void Xdotool(const std::vector<std::string>& arguments) {
    ASSERT_EQ(RunXdotool(server.Display(), arguments), 0);
  }

  // The pointer's position on the screen, as xdotool reports it.
  std::pair<int, int> PointerOnScreen() {
    const std::string output = RunProcess("/usr/bin/xdotool", {"getmouselocation"}, server.Environment()).output;
    std::smatch match;
    if (!std::regex_search(output, match, std::regex("x:(-?\\d+) y:(-?\\d+)"))) return {-1, -1};
    return {std::stoi(match[1]), std::stoi(match[2])};
  }

  XvfbServer server{"800x600x24"};
  ScratchDirectory scratch;
  std::unique_ptr<ChildProcess> game;
  unsigned long window = 0;
};

TEST_F(MouseProgram, CapturedMotionMovesTheGamesPositionAndFreeingPutsTheCursorThere) {
  // Captured: relative motion, from the game's own position.
  ASSERT_NO_FATAL_FAILURE(Xdotool({"mousemove_relative", "--", "30", "20"}));
  EXPECT_TRUE(game->WaitForOutput("mouse 350 260\n", 5000)) << game->Output();
  ASSERT_NO_FATAL_FAILURE(Xdotool({"mousemove_relative", "--", "-50", "-10"}));
  EXPECT_TRUE(game->WaitForOutput("mouse 300 250\n", 5000)) << game->Output();

  // Freed: the cursor appears at the game's position in the window...
  ASSERT_NO_FATAL_FAILURE(Xdotool({"key", "f"}));
  ASSERT_TRUE(game->WaitForOutput("free\n", 5000)) << game->Output();
  const WindowGeometry geometry = GetWindowGeometry(server.Display(), window);
  EXPECT_EQ(PointerOnScreen(), std::make_pair(geometry.x + 300, geometry.y + 250));
  // ...and the game's position follows the cursor.
  ASSERT_NO_FATAL_FAILURE(Xdotool({"mousemove", "--window", std::to_string(window), "100", "50"}));
  EXPECT_TRUE(game->WaitForOutput("mouse 100 50\n", 5000)) << game->Output();

  // Captured again: motion counts from where the game's position is.
  ASSERT_NO_FATAL_FAILURE(Xdotool({"key", "c"}));
  ASSERT_TRUE(game->WaitForOutput("captured\n", 5000)) << game->Output();
  ASSERT_NO_FATAL_FAILURE(Xdotool({"mousemove_relative", "--", "7", "9"}));
  EXPECT_TRUE(game->WaitForOutput("mouse 107 59\n", 5000)) << game->Output();
}

}  // namespace
