// Whole programs with a real window on a private X server: the window a player sees,
// the ways a player ends the game, the pause on focus loss and fullscreen switches.

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <regex>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 30000;

class WindowProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Ready()) << "Xvfb did not start"; }

  // Starts a program on the server and plays the player's part up to "Init OK": the
  // software-rendering warning that Xvfb's renderer brings up is closed with Return.
  std::unique_ptr<ChildProcess> Start(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> environment = server.Environment();
    environment.push_back("TMPDIR=" + scratch.Path());
    auto child = std::make_unique<ChildProcess>(ProgramPath(program), arguments, environment);
    EXPECT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << child->Output();
    EXPECT_TRUE(child->WaitForOutput("Init OK\n", kStartTimeoutMs)) << child->Output();
    return child;
  }

  unsigned long GameWindow(const std::string& title) {
    const unsigned long window = FindWindowByTitle(server.Display(), title, 5000);
    EXPECT_NE(window, 0u) << "no window titled " << title;
    return window;
  }

  static int FramesShown(const ChildProcess& child) {
    int frames = 0;
    for (std::size_t at = child.Output().find("frame "); at != std::string::npos;
         at = child.Output().find("frame ", at + 1)) {
      ++frames;
    }
    return frames;
  }

  std::string ErrorLog() const { return scratch.ReadFile("trovane-" + std::to_string(getuid()) + "/ErrorLog.txt"); }

  XvfbServer server{"800x600x24"};
  ScratchDirectory scratch;
};

TEST_F(WindowProgram, TheDemoShowsItsTitledWindowAndClosingItEndsWithCodeZero) {
  auto demo = Start("RizareZaz.exe", {});
  const unsigned long window = GameWindow("SetVantrel");
  ASSERT_NE(window, 0u);
  const WindowGeometry geometry = GetWindowGeometry(server.Display(), window);
  EXPECT_EQ(geometry.width, 640);
  EXPECT_EQ(geometry.height, 480);
  // Centred on the 800 x 600 screen.
  EXPECT_EQ(geometry.x, 80);
  EXPECT_EQ(geometry.y, 60);
  EXPECT_TRUE(SendCloseRequest(server.Display(), window));
  EXPECT_EQ(demo->Wait(10000), 0) << demo->Output();
}

TEST_F(WindowProgram, EscapeEndsTheDemoWithCodeZero) {
  auto demo = Start("RizareZaz.exe", {});
  const unsigned long window = GameWindow("SetVantrel");
  ASSERT_TRUE(FocusWindow(server.Display(), window));
  HoldKey(server.Display(), "Escape", 300);
  EXPECT_EQ(demo->Wait(10000), 0) << demo->Output();
}

TEST_F(WindowProgram, EscapeIsIgnoredWhenSwitchedOffButAltF4EndsTheGame) {
  auto game = Start("test_window_probe", {"noescape"});
  const unsigned long window = GameWindow("Probe");
  ASSERT_TRUE(FocusWindow(server.Display(), window));
  HoldKey(server.Display(), "Escape", 300);
  game->ReadFor(500);
  EXPECT_TRUE(game->Running());
  RunXdotool(server.Display(), {"keydown", "Alt_L", "F4"});
  EXPECT_EQ(game->Wait(10000), 0) << game->Output();
  RunXdotool(server.Display(), {"keyup", "F4", "Alt_L"});
}

TEST_F(WindowProgram, EscapeEndsAnIdleWait) {
  auto game = Start("test_window_probe", {"idle"});
  const unsigned long window = GameWindow("Probe");
  ASSERT_TRUE(game->WaitForOutput("idle\n", 5000));
  ASSERT_TRUE(FocusWindow(server.Display(), window));
  HoldKey(server.Display(), "Escape", 300);
  EXPECT_EQ(game->Wait(10000), 0) << game->Output();
}

TEST_F(WindowProgram, FocusLossPausesTheGameUntilTheFocusComesBack) {
  auto game = Start("test_window_probe", {});
  const unsigned long window = GameWindow("Probe");
  ASSERT_TRUE(FocusWindow(server.Display(), window));
  ASSERT_TRUE(game->WaitForOutput("frame 60\n", 10000)) << game->Output();

  ASSERT_TRUE(FocusWindow(server.Display(), ScreenRootWindow(server.Display())));
  ASSERT_TRUE(WaitForWindowTitle(server.Display(), window, "Probe <pause>", 5000));
  game->ReadFor(300);  // a frame already past the pause check may still finish
  const int framesWhenPaused = FramesShown(*game);
  game->ReadFor(1500);
  EXPECT_EQ(FramesShown(*game), framesWhenPaused) << "frames went on while paused";
  EXPECT_TRUE(game->Running());

  ASSERT_TRUE(FocusWindow(server.Display(), window));
  EXPECT_TRUE(WaitForWindowTitle(server.Display(), window, "Probe", 5000));
  EXPECT_TRUE(game->WaitForOutput("frame " + std::to_string((framesWhenPaused + 2) * 30) + "\n", 10000))
      << game->Output();
  EXPECT_TRUE(SendCloseRequest(server.Display(), window));
  EXPECT_EQ(game->Wait(10000), 0);
}

struct ModeLine {
  unsigned long handle = 0;
  int fullscreen = -1;
  int width = 0;
  int height = 0;
};

ModeLine ParseMode(const std::string& output, const std::string& step) {
  const std::regex pattern("mode " + step + " handle=(\\d+) fullscreen=(\\d+) surface=(\\d+)x(\\d+)");
  std::smatch match;
  ModeLine line;
  if (std::regex_search(output, match, pattern)) {
    line.handle = std::stoul(match[1]);
    line.fullscreen = std::stoi(match[2]);
    line.width = std::stoi(match[3]);
    line.height = std::stoi(match[4]);
  }
  return line;
}

TEST_F(WindowProgram, FullscreenGetsANewWindowOfTheScreenModeAndWindowedKeepsIt) {
  auto game = Start("test_window_probe", {"fullscreen", "800", "600"});
  ASSERT_TRUE(game->WaitForOutput("mode windowed", 20000)) << game->Output();
  const ModeLine start = ParseMode(game->Output(), "start");
  const ModeLine fullscreen = ParseMode(game->Output(), "fullscreen");
  const ModeLine windowed = ParseMode(game->Output(), "windowed");
  EXPECT_EQ(start.fullscreen, 0);
  EXPECT_EQ(start.width, 640);
  EXPECT_NE(fullscreen.handle, start.handle);
  EXPECT_EQ(fullscreen.fullscreen, 1);
  EXPECT_EQ(fullscreen.width, 800);
  EXPECT_EQ(fullscreen.height, 600);
  EXPECT_EQ(windowed.handle, fullscreen.handle);
  EXPECT_EQ(windowed.fullscreen, 0);
  EXPECT_EQ(windowed.width, 800);
  // The handle is the X window id: the server knows it, at the new size.
  const WindowGeometry geometry = GetWindowGeometry(server.Display(), windowed.handle);
  EXPECT_EQ(geometry.width, 800);
  EXPECT_EQ(geometry.height, 600);
  // The first window is gone.
  EXPECT_EQ(GetWindowGeometry(server.Display(), start.handle).width, 0);
  EXPECT_TRUE(SendCloseRequest(server.Display(), windowed.handle));
  EXPECT_EQ(game->Wait(10000), 0) << game->Output();
}

TEST_F(WindowProgram, FullscreenWithoutSuchAModeStaysInTheWindow) {
  auto game = Start("test_window_probe", {"fullscreen", "640", "480"});
  ASSERT_TRUE(game->WaitForOutput("mode windowed", 20000)) << game->Output();
  const ModeLine start = ParseMode(game->Output(), "start");
  const ModeLine fullscreen = ParseMode(game->Output(), "fullscreen");
  EXPECT_EQ(fullscreen.handle, start.handle);
  EXPECT_EQ(fullscreen.fullscreen, 0);
  EXPECT_EQ(fullscreen.width, 640);
  EXPECT_NE(ErrorLog().find("No Fullscreen Mode available\r\n"), std::string::npos) << ErrorLog();
  EXPECT_TRUE(SendCloseRequest(server.Display(), start.handle));
  EXPECT_EQ(game->Wait(10000), 0) << game->Output();
}

}  // namespace
