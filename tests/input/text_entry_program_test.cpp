// Line input in a whole program on a private X server, typed by xdotool as a player
// types, fast: the line comes back exactly as typed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 60000;
// Limits for a loaded machine and a sanitizer build; a passing run takes a fraction.
constexpr int kAnswerTimeoutMs = 60000;

class TextEntryProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Ready()) << "Xvfb did not start"; }

  XvfbServer server{"800x600x24"};
  ScratchDirectory scratch;
};

TEST_F(TextEntryProgram, TypedLineAndNumberComeBackExactly) {
  std::vector<std::string> environment = server.Environment();
  environment.push_back("TMPDIR=" + scratch.Path());
  ChildProcess game(ProgramPath("test_text_entry_probe"), {}, environment);
  ASSERT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << game.Output();
  ASSERT_TRUE(game.WaitForOutput("ready\n", kStartTimeoutMs)) << game.Output();
  const unsigned long window = FindWindowByTitle(server.Display(), "Text entry probe", 5000);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(FocusWindow(server.Display(), window));

  // Typed at xdotool's own speed, a key every 12 ms, so that several keys fall into one
  // frame. (Not faster: SDL's X11 backend takes a release followed within 2 ms by a press
  // of the same key for auto-repeat, so "ll" with no time between would be one press.)
  // The capitals and "!" come with Shift (Shift+1 on the server's US layout).
  EXPECT_EQ(RunXdotool(server.Display(), {"type", "Hello, World!"}), 0);
  EXPECT_EQ(RunXdotool(server.Display(), {"key", "Return"}), 0);
  EXPECT_TRUE(game.WaitForOutput("]\n", kAnswerTimeoutMs)) << game.Output();
  EXPECT_NE(game.Output().find("typed [Hello, World!]\n"), std::string::npos) << game.Output();

  // A number, with a typo taken back, ended with the keypad's Enter.
  EXPECT_EQ(RunXdotool(server.Display(), {"type", "--", "-12.59"}), 0);
  EXPECT_EQ(RunXdotool(server.Display(), {"key", "BackSpace", "KP_Enter"}), 0);
  EXPECT_TRUE(game.WaitForOutput("number ", kAnswerTimeoutMs)) << game.Output();
  EXPECT_EQ(game.Wait(kAnswerTimeoutMs), 0) << game.Output();
  EXPECT_NE(game.Output().find("number -12.5\n"), std::string::npos) << game.Output();
}

}  // namespace
