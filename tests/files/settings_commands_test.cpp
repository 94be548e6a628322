// OpenSettingsFile, GetSetting and PutSetting: lookups, changes, and the file written back
// when another settings file is opened or the program ends.

#include "files/settings_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "archive_fixture.h"
#include "data_files_fixture.h"
#include "files/archive.h"
#include "files/game_files.h"

namespace {

using SettingsCommands = DataFilesTest;

std::string Get(const char* section, const char* key) { return GetSetting(section, key).TextPointer(); }

TEST_F(SettingsCommands, ReadsValuesIgnoringCaseAndReportsMissingOnes) {
  Write("game.ini", "[PLAYER]\r\nName = Ada  \r\nLevel=3\r\n[Player]\r\nScore=10\r\n");
  OpenSettingsFile(PathOf("game.ini"));
  EXPECT_EQ(Get("player", "NAME"), "Ada  ");
  EXPECT_EQ(Get("Player", "level"), "3");
  EXPECT_EQ(Get("Player", "Score"), "NO_DATA");  // only the first [Player] is searched
  EXPECT_EQ(Get("Enemy", "Name"), "NO_DATA");
}

TEST_F(SettingsCommands, WithoutAnOpenFileChangesStayInMemoryAndNothingIsWritten) {
  PutSetting("A", "x", "1");
  EXPECT_EQ(Get("a", "X"), "1");
  EXPECT_TRUE(ActiveGameFiles().settings.Path().empty());
  ReleaseGameFiles();  // program end: no path, so nothing to write
}

TEST_F(SettingsCommands, MissingFileStartsEmptyAndIsCreatedAtProgramEnd) {
  OpenSettingsFile(PathOf("new.ini"));
  EXPECT_EQ(Get("A", "x"), "NO_DATA");
  EXPECT_FALSE(Exists("new.ini"));
  PutSetting("A", "x", "1");
  PutSetting("A", "empty", "");
  ReleaseGameFiles();
  EXPECT_EQ(Read("new.ini"), "[A]\r\nx=1\r\nempty=\r\n");
  // The key written with nothing after "=" is dropped when the file is read again.
  OpenSettingsFile(PathOf("new.ini"));
  EXPECT_EQ(Get("A", "empty"), "NO_DATA");
  EXPECT_EQ(Get("A", "x"), "1");
}

TEST_F(SettingsCommands, UnchangedFileIsNeverRewritten) {
  Write("keep.ini", "; my comment\n[A]\nx = 1\n");
  OpenSettingsFile(PathOf("keep.ini"));
  EXPECT_EQ(Get("A", "x"), "1");
  OpenSettingsFile(PathOf("other.ini"));
  ReleaseGameFiles();
  EXPECT_EQ(Read("keep.ini"), "; my comment\n[A]\nx = 1\n");
  EXPECT_FALSE(Exists("other.ini"));
}

TEST_F(SettingsCommands, ReplacingAndRemovingEntriesMovesTheLastIntoTheGap) {
  Write("order.ini", "[A]\na=1\nb=2\nc=3\n[B]\nx=1\n[C]\ny=1\n[D]\nz=1\n");
  OpenSettingsFile(PathOf("order.ini"));
  PutSetting("A", "b", "two");
  PutSetting("A", "a", "");  // the former third entry takes the first place
  PutSetting("b", "", "");   // the last section takes the place of [B]
  PutSetting("Missing", "", "");
  ReleaseGameFiles();
  EXPECT_EQ(Read("order.ini"), "[A]\r\nc=3\r\nb=two\r\n[D]\r\nz=1\r\n[C]\r\ny=1\r\n");
}

TEST_F(SettingsCommands, RemovingTheOnlyEntryLeavesASectionThatIsDroppedOnReading) {
  Write("one.ini", "[A]\nonly=1\n[B]\nb=1\n");
  OpenSettingsFile(PathOf("one.ini"));
  PutSetting("A", "ONLY", "");
  OpenSettingsFile(PathOf("one.ini"));
  EXPECT_EQ(Get("A", "only"), "NO_DATA");
  EXPECT_EQ(Get("B", "b"), "1");
  ASSERT_EQ(ActiveGameFiles().settings.Sections().size(), 1u);
}

TEST_F(SettingsCommands, OpeningASecondFileWritesTheFirstBeforeReadingTheSecond) {
  Write("first.ini", "[A]\nx=1\n");
  OpenSettingsFile(PathOf("first.ini"));
  PutSetting("A", "x", "changed");
  PutSetting("New", "k", "v");
  // Reopening the same file therefore sees the change.
  OpenSettingsFile(PathOf("first.ini"));
  EXPECT_EQ(Get("A", "x"), "changed");
  EXPECT_EQ(Get("new", "K"), "v");
  EXPECT_EQ(Read("first.ini"), "[A]\r\nx=changed\r\n[New]\r\nk=v\r\n");
}

TEST_F(SettingsCommands, UnnamedSectionSurvivesAWriteBehindNamedSections) {
  Write("mixed.ini", "[A]\na=1\n");
  OpenSettingsFile(PathOf("mixed.ini"));
  PutSetting("", "loose", "yes");
  OpenSettingsFile(PathOf("mixed.ini"));
  EXPECT_EQ(Get("", "loose"), "yes");
  EXPECT_EQ(Get("A", "loose"), "NO_DATA");
}

TEST_F(SettingsCommands, AFolderOrAnEmptyNameGivesAnEmptyStore) {
  std::filesystem::create_directories(scratch.Path() + "/folder.ini");
  OpenSettingsFile(PathOf("folder.ini"));
  EXPECT_EQ(Get("A", "x"), "NO_DATA");
  PutSetting("A", "x", "1");
  ReleaseGameFiles();  // the write-back cannot replace a folder, and does not crash
  EXPECT_TRUE(std::filesystem::is_directory(scratch.Path() + "/folder.ini"));
  OpenSettingsFile("");
  EXPECT_EQ(Get("A", "x"), "NO_DATA");
}

// A settings file that only exists inside the selected archive is read from the member;
// changes go to the unpacked copy and are lost with it, as with every archive file.
TEST_F(SettingsCommands, FileServedFromTheArchive) {
  const std::string member = "served" + std::to_string(getpid()) + ".ini";
  Write("game.vtl", StandAloneArchive({{member, "[Video]\r\nwidth=800\r\n"}}));
  CreateArchiveSlots(scratch.Path().c_str());
  SelectArchive(PathOf("game.vtl"), "");
  OpenSettingsFile(PathOf("some/folder/" + member));
  EXPECT_EQ(Get("video", "width"), "800");
  const std::string unpacked = ActiveGameFiles().settings.Path();
  EXPECT_NE(unpacked.find(member), std::string::npos);
  PutSetting("Video", "width", "1024");
  ReleaseGameFiles();
  ReleaseArchiveSlots();
  EXPECT_FALSE(std::filesystem::exists(unpacked));
  EXPECT_FALSE(Exists("some"));
}

}  // namespace
