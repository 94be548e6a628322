// A game whose window cannot be opened ends cleanly and says why in the error log.

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/process_runner.h"
#include "support/scratch_directory.h"

namespace {

class StartupFailure : public ::testing::Test {
 protected:
  ProcessResult RunWithVideoDriver(const std::string& driver) {
    return RunProcess(ProgramPath("test_probe"), {}, {"TMPDIR=" + scratch.Path(), "SDL_VIDEODRIVER=" + driver});
  }
  std::string ErrorLog() const { return scratch.ReadFile("trovane-" + std::to_string(getuid()) + "/ErrorLog.txt"); }
  ScratchDirectory scratch;
};

TEST_F(StartupFailure, NoOpenGLEndsTheProgramWithCodeZeroAndALogLine) {
  // SDL's dummy video driver has no OpenGL at all.
  const ProcessResult result = RunWithVideoDriver("dummy");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output.find("Init OK"), std::string::npos) << result.output;
  EXPECT_EQ(ErrorLog().rfind("Cannot load the OpenGL library: ", 0), 0u) << ErrorLog();
}

TEST_F(StartupFailure, NoVideoSystemEndsTheProgramWithCodeZeroAndALogLine) {
  const ProcessResult result = RunWithVideoDriver("no-such-driver");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output.find("Init OK"), std::string::npos) << result.output;
  EXPECT_EQ(ErrorLog().rfind("Cannot start the video system: ", 0), 0u) << ErrorLog();
}

}  // namespace
