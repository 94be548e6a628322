// A whole game drawing a 3D scene between 2D drawing, on a private X server.

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 30000;

TEST(SceneProgram, DrawsALitFoggedSceneBetweenTwoDimensionalDrawingAndEndsWithCodeZero) {
  XvfbServer server;
  ASSERT_TRUE(server.Ready()) << "Xvfb did not start";
  ScratchDirectory scratch;
  std::vector<std::string> environment = server.Environment();
  environment.push_back("TMPDIR=" + scratch.Path());
  ChildProcess game(ProgramPath("test_scene_probe"), {}, environment);
  EXPECT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << game.Output();
  EXPECT_EQ(game.Wait(kStartTimeoutMs), 0) << game.Output();
  EXPECT_NE(game.Output().find("scene done"), std::string::npos) << game.Output();
}

}  // namespace
