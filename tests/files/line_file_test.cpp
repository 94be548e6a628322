// Line files: a text file addressed as lines 0 to 255, cached one file at a time and
// written back when another file is used or the program ends.

#include "files/line_file_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "archive_fixture.h"
#include "base/engine_state.h"
#include "data_files_fixture.h"
#include "files/archive.h"

namespace {

class LineFiles : public DataFilesTest {
 protected:
  LineFiles() { Engine().errorCode = 0; }
  std::string Get(const std::string& name, double line) {
    BasicString text;
    const BasicString result = GetFileLine(PathOf(name), line, text);
    EXPECT_EQ(result.View(), text.View());
    return text.TextPointer();
  }
};

TEST_F(LineFiles, MissingFileGivesNoFileAndErrorCode3) {
  EXPECT_EQ(Get("missing.txt", 0), "NO_FILE");
  EXPECT_EQ(Engine().errorCode, 3);
  EXPECT_FALSE(Exists("missing.txt"));
}

TEST_F(LineFiles, ReadsLinesAndGivesNoDataPastTheLastOne) {
  Write("data.txt", "first\r\nsecond\n\nfourth");
  EXPECT_EQ(Get("data.txt", 0), "first");
  EXPECT_EQ(Get("data.txt", 1.7), "second");
  EXPECT_EQ(Get("data.txt", 2), "NO_DATA");  // an empty line
  EXPECT_EQ(Get("data.txt", 3), "fourth");
  EXPECT_EQ(Get("data.txt", 4), "NO_DATA");
  EXPECT_EQ(Get("data.txt", 255), "NO_DATA");
  EXPECT_EQ(Engine().errorCode, 0);
}

TEST_F(LineFiles, LineNumbersOutOfRangeSetErrorCode7AndChangeNothing) {
  Write("data.txt", "only\n");
  EXPECT_EQ(Get("data.txt", 256), "NO_DATA");
  EXPECT_EQ(Engine().errorCode, 7);
  Engine().errorCode = 0;
  EXPECT_EQ(Get("data.txt", -1), "NO_DATA");
  EXPECT_EQ(Engine().errorCode, 7);
  Engine().errorCode = 0;
  PutFileLine(PathOf("data.txt"), 300, "no");
  EXPECT_EQ(Engine().errorCode, 7);
  PutFileLine(PathOf("data.txt"), -1, "no");
  ReleaseGameFiles();
  EXPECT_EQ(Read("data.txt"), "only\n");  // untouched: nothing was changed
}

TEST_F(LineFiles, TrailingControlBytesAreRemovedOnReading) {
  Write("ctl.txt", "abc\t\r\nx\xE9\xFF\nkeep \n\x01\x02\n");
  EXPECT_EQ(Get("ctl.txt", 0), "abc");
  EXPECT_EQ(Get("ctl.txt", 1), "x");
  EXPECT_EQ(Get("ctl.txt", 2), "keep ");
  EXPECT_EQ(Get("ctl.txt", 3), "NO_DATA");
}

TEST_F(LineFiles, PutOnAMissingFileCreatesItWithEmptyLinesInBetween) {
  PutFileLine(PathOf("new.txt"), 3, "four");
  PutFileLine(PathOf("new.txt"), 0, "one");
  EXPECT_FALSE(Exists("new.txt"));  // written only when another file is used
  EXPECT_EQ(Get("new.txt", 3), "four");
  EXPECT_EQ(Get("other.txt", 0), "NO_FILE");
  EXPECT_EQ(Read("new.txt"), "one\r\n\r\n\r\nfour\r\n");
}

TEST_F(LineFiles, ChangesAreWrittenBackAtProgramEndAndReadBack) {
  Write("save.txt", "a\nb\nc\n");
  PutFileLine(PathOf("save.txt"), 1, "B");
  PutFileLineNumber(PathOf("save.txt"), 4, 2.5);
  PutFileLineNumber(PathOf("save.txt"), 5, 100);
  ReleaseGameFiles();
  EXPECT_EQ(Read("save.txt"), "a\r\nB\r\nc\r\n\r\n2.5\r\n100\r\n");
  double value = 0;
  EXPECT_EQ(GetFileLineNumber(PathOf("save.txt"), 4, value), 2.5);
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(GetFileLineNumber(PathOf("save.txt"), 1, value), 0);
}

TEST_F(LineFiles, TextsLongerThanALineAreCutAt1023Bytes) {
  const std::string longText(2000, 'x');
  PutFileLine(PathOf("long.txt"), 0, longText.c_str());
  EXPECT_EQ(Get("long.txt", 0), std::string(1023, 'x'));
  ReleaseGameFiles();
  EXPECT_EQ(Read("long.txt"), std::string(1023, 'x') + "\r\n");
}

TEST_F(LineFiles, OnlyTheFirst256LinesAreRead) {
  std::string contents;
  for (int i = 0; i < 300; ++i) contents += std::to_string(i) + "\n";
  Write("big.txt", contents);
  EXPECT_EQ(Get("big.txt", 255), "255");
  PutFileLine(PathOf("big.txt"), 0, "zero");
  ReleaseGameFiles();
  const std::string written = Read("big.txt");
  EXPECT_EQ(written.substr(0, 6), "zero\r\n");
  EXPECT_EQ(written.substr(written.size() - 5), "255\r\n");
}

TEST_F(LineFiles, NamesCompareExactlySoAnotherSpellingRereadsTheFile) {
  Write("same.txt", "disk\n");
  PutFileLine(PathOf("same.txt"), 0, "memory");
  // Another spelling of the same file writes the change back, then reads it again.
  BasicString text;
  EXPECT_EQ(GetFileLine(BasicString((scratch.Path() + "/./same.txt").c_str()), 0, text), "memory");
}

TEST_F(LineFiles, AMissingFileReadAgainUnderTheSameNameIsEmpty) {
  EXPECT_EQ(Get("gone.txt", 0), "NO_FILE");
  EXPECT_EQ(Get("gone.txt", 0), "NO_DATA");  // the cache is bound to the name now
}

TEST_F(LineFiles, FileServedFromTheArchiveIsWrittenBackToThePlainName) {
  const std::string member = "lines" + std::to_string(getpid()) + ".txt";
  Write("data.vtl", StandAloneArchive({{member, "packed\r\nline\r\n"}}));
  CreateArchiveSlots(scratch.Path().c_str());
  SelectArchive(PathOf("data.vtl"), "");
  EXPECT_EQ(Get(member, 1), "line");
  PutFileLine(PathOf(member), 2, "added");
  ReleaseGameFiles();
  ReleaseArchiveSlots();
  EXPECT_EQ(Read(member), "packed\r\nline\r\nadded\r\n");
}

}  // namespace
