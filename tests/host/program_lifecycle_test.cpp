// Whole-program behaviour: every way into and out of a game, run as a child process.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/process_runner.h"

namespace {

class ProgramLifecycle : public ::testing::Test {
 protected:
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments) {
    return RunProcess(ProgramPath(program), arguments, {"TMPDIR=" + scratch.Path()});
  }
  std::string ErrorLog() const { return scratch.ReadFile("trovane-" + std::to_string(getuid()) + "/ErrorLog.txt"); }

  ScratchDirectory scratch;
};

TEST_F(ProgramLifecycle, ReturningFromGameMainEndsCleanlyWithoutLogLines) {
  const ProcessResult result = Run("test_probe", {});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("Init OK\n"), std::string::npos);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramLifecycle, DebugModeWritesTheEndBlockWithTheLinesOfTheLastError) {
  const ProcessResult result = Run("test_probe_debug", {"fatal", "9"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ErrorLog(), "-End On Line\r\n9\r\n41\r\n42\r\n3\r\n");
}

TEST_F(ProgramLifecycle, DebugModeEndBlockOfAPlainReturnHasLineMinusOne) {
  EXPECT_EQ(Run("test_probe_debug", {}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), "-End On Line\r\n0\r\n-1\r\n0\r\n0\r\n");
}

TEST_F(ProgramLifecycle, StopProgramRecordsCodeZeroAndExitsZero) {
  EXPECT_EQ(Run("test_probe_debug", {"stop"}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), "-End On Line\r\n0\r\n11\r\n12\r\n7\r\n");
}

TEST_F(ProgramLifecycle, FatalErrorWithoutDebugModeExitsZeroSilently) {
  EXPECT_EQ(Run("test_probe", {"fatal", "7"}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramLifecycle, StartUpDeletesTheLogOfTheEarlierRun) {
  ASSERT_EQ(Run("test_probe", {"log", "from", "the", "first", "run"}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), "from the first run\r\n");
  ASSERT_EQ(Run("test_probe", {}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramLifecycle, TheEngineTempDirectoryIsPrivate) {
  ASSERT_EQ(Run("test_probe", {"log", "x"}).exitCode, 0);
  struct stat info {};
  ASSERT_EQ(stat(scratch.EngineTempPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(ProgramLifecycle, CommandLineIsTheArgumentsWithoutTheProgramName) {
  const ProcessResult result = Run("test_probe", {"args", "two words", "x"});
  EXPECT_NE(result.output.find("[args \"two words\" x]"), std::string::npos) << result.output;
}

TEST_F(ProgramLifecycle, RunProgramWaitingReadsTheChildsExitCode) {
  scratch.WriteFile("exit3.sh", "#!/bin/sh\nexit 3\n");
  chmod((scratch.Path() + "/exit3.sh").c_str(), 0755);
  const ProcessResult result = Run("test_probe", {"runwait", scratch.Path() + "/exit3.sh"});
  EXPECT_NE(result.output.find("started=1 code=3"), std::string::npos) << result.output;
}

TEST_F(ProgramLifecycle, RunProgramWithoutWaitingReturnsAtOnceWithCodeZero) {
  // The started program runs until the test lets it end: a probe that waited for it would
  // never print its answer (and be killed by the runner's time limit).
  const std::string folder = "'" + scratch.Path() + "'";
  scratch.WriteFile("wait.sh", "#!/bin/sh\nwhile [ -d " + folder + " ] && [ ! -e " + folder +
                                   "/release ]; do sleep 0.05; done\n");
  chmod((scratch.Path() + "/wait.sh").c_str(), 0755);
  const ProcessResult result = Run("test_probe", {"run", scratch.Path() + "/wait.sh"});
  scratch.WriteFile("release", "");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("started=1 code=0"), std::string::npos) << result.output;
}

TEST_F(ProgramLifecycle, RunProgramReportsAProgramThatCannotStart) {
  const ProcessResult result = Run("test_probe", {"runwait", "/nonexistent/program"});
  EXPECT_NE(result.output.find("started=0 code=0"), std::string::npos) << result.output;
}

TEST_F(ProgramLifecycle, RunProgramDoesNotInterpretShellSyntax) {
  const std::string marker = scratch.Path() + "/shell-ran";
  const ProcessResult result = Run("test_probe", {"runwait", "echo", "hi;", "touch", marker});
  EXPECT_NE(result.output.find("hi; touch"), std::string::npos) << result.output;
  EXPECT_FALSE(scratch.Exists("shell-ran"));
}

TEST_F(ProgramLifecycle, EndProgramAndRunStartsTheProgramAndExitsZeroWithoutLogLines) {
  const ProcessResult result = Run("test_probe_debug", {"endrun", "touch", scratch.Path() + "/started"});
  EXPECT_EQ(result.exitCode, 0);
  for (int i = 0; i < 100 && !scratch.Exists("started"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(scratch.Exists("started"));
  EXPECT_EQ(ErrorLog(), "");
}

}  // namespace
