// Whole programs: channel misuse ending the program with its error code, and the files a
// game leaves unsaved written when the program ends, however it ends.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/process_runner.h"
#include "support/scratch_directory.h"

namespace {

class DataFilesProgram : public ::testing::Test {
 protected:
  // Leak checking is off in sanitizer builds: a fatal error exits from inside a command,
  // and the window and sound libraries keep allocations until the process ends.
  ProcessResult Run(const std::vector<std::string>& arguments) {
    return RunProcess(ProgramPath("test_data_files_probe"), arguments,
                      {"TMPDIR=" + scratch.Path(), "ASAN_OPTIONS=detect_leaks=0"});
  }
  std::string ErrorLog() const { return scratch.ReadFile("trovane-" + std::to_string(getuid()) + "/ErrorLog.txt"); }
  // The end-of-program block of a debug-mode run ended at source line 20 with code.
  static std::string EndBlock(int code) { return "-End On Line\r\n" + std::to_string(code) + "\r\n19\r\n20\r\n1\r\n"; }

  ScratchDirectory scratch;
};

TEST_F(DataFilesProgram, ReadingPastTheLastLineEndsWithCode3) {
  scratch.WriteFile("ab.txt", "a\r\nb");
  const ProcessResult result = Run({"readlines", scratch.Path() + "/ab.txt"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("[a]\n[b]\n"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("GameMain returned"), std::string::npos);
  EXPECT_EQ(ErrorLog(), EndBlock(3));
}

TEST_F(DataFilesProgram, ChannelNumberOutsideZeroToSevenEndsWithCode7) {
  for (const char* channel : {"8", "-1", "1e10"}) {
    const ProcessResult result = Run({"readbyte", channel});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.find("GameMain returned"), std::string::npos) << channel;
    EXPECT_EQ(ErrorLog(), EndBlock(7)) << channel;
  }
}

TEST_F(DataFilesProgram, ReadingOrWritingAnEmptyChannelEndsWithCode3) {
  EXPECT_EQ(Run({"readbyte", "0"}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), EndBlock(3));
  EXPECT_EQ(Run({"writebyte"}).exitCode, 0);
  EXPECT_EQ(ErrorLog(), EndBlock(3));
}

TEST_F(DataFilesProgram, ReturningFromTheGameWritesEverythingBack) {
  const ProcessResult result = Run({"keep", scratch.Path()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("GameMain returned"), std::string::npos);
  EXPECT_EQ(scratch.ReadFile("game.ini"), "[Player]\r\nname=Ada\r\n");
  EXPECT_EQ(scratch.ReadFile("lines.txt"), "\r\n\r\nthird\r\n");
  EXPECT_EQ(scratch.ReadFile("channel.bin"), "open channel\r\n");
  // The put on a line file that did not exist yet recorded code 3, without ending.
  EXPECT_EQ(ErrorLog(), EndBlock(3));
}

TEST_F(DataFilesProgram, AFatalErrorStillWritesEverythingBack) {
  const ProcessResult result = Run({"keepthenfail", scratch.Path()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output.find("GameMain returned"), std::string::npos);
  EXPECT_EQ(ErrorLog(), EndBlock(7));
  EXPECT_EQ(scratch.ReadFile("game.ini"), "[Player]\r\nname=Ada\r\n");
  EXPECT_EQ(scratch.ReadFile("lines.txt"), "\r\n\r\nthird\r\n");
  EXPECT_EQ(scratch.ReadFile("channel.bin"), "open channel\r\n");
}

}  // namespace
