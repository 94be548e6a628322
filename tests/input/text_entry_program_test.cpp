// Line input in a whole program on a private X server, typed by xdotool as a player
// types: the line comes back exactly as typed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 30000;
constexpr int kAnswerTimeoutMs = 15000;

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

  // Each key is held for 100 ms and let go for 100 ms: several frames each, as a player
  // types. Capitals come with Shift, the doubled l needs its release seen in between.
  EXPECT_EQ(RunXdotool(server.Display(), {"type", "--delay", "200", "Hello World 42"}), 0);
  HoldKey(server.Display(), "Return", 150);
  EXPECT_TRUE(game.WaitForOutput("typed [", kAnswerTimeoutMs)) << game.Output();
  EXPECT_TRUE(game.WaitForOutput("]\n", kAnswerTimeoutMs)) << game.Output();
  EXPECT_NE(game.Output().find("typed [Hello World 42]\n"), std::string::npos) << game.Output();

  // A number, with a typo taken back, ended with the keypad's Enter.
  EXPECT_EQ(RunXdotool(server.Display(), {"type", "--delay", "200", "--", "-12.59"}), 0);
  HoldKey(server.Display(), "BackSpace", 150);
  HoldKey(server.Display(), "KP_Enter", 150);
  EXPECT_TRUE(game.WaitForOutput("number ", kAnswerTimeoutMs)) << game.Output();
  EXPECT_EQ(game.Wait(10000), 0) << game.Output();
  EXPECT_NE(game.Output().find("number -12.5\n"), std::string::npos) << game.Output();
}

}  // namespace
