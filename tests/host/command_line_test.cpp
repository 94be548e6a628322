#include "host/command_line.h"

#include <gtest/gtest.h>

#include "base/debugger_check.h"
#include "host/engine_startup.h"
#include "host/program_commands.h"

TEST(CommandLine, SkipsAnUnquotedProgramNameAndTheBlanksAfterIt) {
  EXPECT_STREQ(SkipProgramName("game.exe  \t one two"), "one two");
  EXPECT_STREQ(SkipProgramName("game.exe"), "");
  EXPECT_STREQ(SkipProgramName("game.exe\targ"), "arg");
}

TEST(CommandLine, SkipsAQuotedProgramNameUpToItsClosingQuote) {
  EXPECT_STREQ(SkipProgramName("\"my game.exe\" -x"), "-x");
  EXPECT_STREQ(SkipProgramName("\"my game.exe\"-x"), "-x");
  EXPECT_STREQ(SkipProgramName("\"unterminated name"), "");
  EXPECT_STREQ(SkipProgramName(""), "");
}

TEST(CommandLine, JoinsArgumentsQuotingThoseWithBlanksOrTabs) {
  EXPECT_EQ(JoinCommandLine({"/a b/game", "x", "two words", "tab\there", ""}),
            "\"/a b/game\" x \"two words\" \"tab\there\" \"\"");
  EXPECT_STREQ(SkipProgramName(JoinCommandLine({"/a b/game", "x"}).c_str()), "x");
}

TEST(CommandLine, SplitsCommandsByBlanksWithQuotesGrouping) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(SplitCommandArguments("prog  a\tb"), (Args{"prog", "a", "b"}));
  EXPECT_EQ(SplitCommandArguments("prog \"a b\" c\"d e\"f"), (Args{"prog", "a b", "cd ef"}));
  EXPECT_EQ(SplitCommandArguments("prog \"\""), (Args{"prog", ""}));
  EXPECT_EQ(SplitCommandArguments("   "), Args{});
}

TEST(ExecutableFolder, CutsAtTheLastSeparatorWithoutKeepingIt) {
  EXPECT_EQ(FolderOfPath("C:\\a\\b.exe"), "C:\\a");
  EXPECT_EQ(FolderOfPath("/home/user/games/b.exe"), "/home/user/games");
  EXPECT_EQ(FolderOfPath("/b.exe"), "/b.exe");  // the first character is never the cut
  EXPECT_EQ(FolderOfPath("b.exe"), "b.exe");
}

TEST(DebuggerBreak, TextIsBPWithLowercaseHex) {
  EXPECT_EQ(BreakpointText(255), "BPff");
  EXPECT_EQ(BreakpointText(0), "BP0");
  EXPECT_FALSE(IsDebuggerAttached());
}
