// Write-backs replace a file as a whole or not at all: a folder that refuses new files or
// a disk that fills up mid-write leaves the old file exactly as it was.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "data_files_fixture.h"
#include "files/line_file_commands.h"
#include "files/plain_file.h"
#include "files/settings_commands.h"

namespace {

constexpr uid_t kNobody = 65534;

class FileReplace : public DataFilesTest {
 protected:
  std::string Full(const std::string& name) const { return scratch.Path() + "/" + name; }
  std::vector<std::string> FolderNames(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Full(folder))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A folder of files that the child, running without root's rights, may read but not
  // add files to.
  void MakeReadOnlyFolder(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
    std::filesystem::create_directories(Full(folder));
    if (geteuid() == 0) {
      ASSERT_EQ(chmod(scratch.Path().c_str(), 0755), 0);
      ASSERT_EQ(chown(Full(folder).c_str(), kNobody, kNobody), 0);
    }
    for (const auto& [name, contents] : files) {
      Write(folder + "/" + name, contents);
      if (geteuid() == 0) {
        ASSERT_EQ(chown(Full(folder + "/" + name).c_str(), kNobody, kNobody), 0);
      }
      ASSERT_EQ(chmod(Full(folder + "/" + name).c_str(), 0644), 0);
    }
    ASSERT_EQ(chmod(Full(folder).c_str(), 0555), 0);
  }
  void RestoreFolder(const std::string& folder) { chmod(Full(folder).c_str(), 0755); }
};

// Root may write anywhere, so the child gives up root's rights first.
void DropRootRights() {
  if (geteuid() != 0) return;
  if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(99);
}

// In a child: changes a settings file and a line file in folder and ends the program's
// file use; exits 0 when the direct replacement reports failure too.
[[noreturn]] void WriteBackIntoReadOnlyFolder(const std::string& folder) {
  DropRootRights();
  OpenSettingsFile((folder + "/game.ini").c_str());
  PutSetting("A", "x", "2");
  PutFileLine((folder + "/lines.txt").c_str(), 0, "changed");
  ReleaseGameFiles();
  _exit(ReplaceFileContents(folder + "/game.ini", "direct") ? 1 : 0);
}

// In a child: tries to replace a file it may not write to.
[[noreturn]] void ReplaceALockedFile(const std::string& path) {
  DropRootRights();
  _exit(ReplaceFileContents(path, "replaced") ? 1 : 0);
}

// In a child where files may not grow past 100 bytes, so the new file's write fails
// halfway; exits 0 when the direct replacement reports failure too.
[[noreturn]] void WriteBackWithAFullDisk(const std::string& path) {
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{100, 100};
  setrlimit(RLIMIT_FSIZE, &limit);
  OpenSettingsFile(path.c_str());
  PutSetting("A", "x", std::string(500, 'y').c_str());
  ReleaseGameFiles();
  _exit(ReplaceFileContents(path, std::string(500, 'z')) ? 1 : 0);
}

TEST_F(FileReplace, ReplacesTheContentsAndKeepsThePermissions) {
  Write("f.txt", "old and longer");
  ASSERT_EQ(chmod(Full("f.txt").c_str(), 0640), 0);
  EXPECT_TRUE(ReplaceFileContents(Full("f.txt"), "new"));
  EXPECT_EQ(Read("f.txt"), "new");
  struct stat info {};
  ASSERT_EQ(stat(Full("f.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderNames("."), std::vector<std::string>({"f.txt"}));
}

TEST_F(FileReplace, CreatesMissingFilesAndWritesThroughSymbolicLinks) {
  EXPECT_TRUE(ReplaceFileContents(Full("created.txt"), "fresh"));
  EXPECT_EQ(Read("created.txt"), "fresh");
  Write("target.txt", "old");
  std::filesystem::create_symlink(Full("target.txt"), Full("link.txt"));
  EXPECT_TRUE(ReplaceFileContents(Full("link.txt"), "through"));
  EXPECT_TRUE(std::filesystem::is_symlink(Full("link.txt")));
  EXPECT_EQ(Read("target.txt"), "through");
}

TEST_F(FileReplace, RefusesFoldersAndMissingParents) {
  std::filesystem::create_directories(Full("dir"));
  EXPECT_FALSE(ReplaceFileContents(Full("dir"), "x"));
  EXPECT_FALSE(ReplaceFileContents(Full("no/such/file"), "x"));
  EXPECT_FALSE(ReplaceFileContents("", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(Full("dir")));
}

TEST_F(FileReplace, AReadOnlyFolderLeavesTheOldFilesUntouchedAndReportsNothing) {
  MakeReadOnlyFolder("ro", {{"game.ini", "[A]\nx=1\n"}, {"lines.txt", "line\n"}});
  const std::string folder = Full("ro");
  EXPECT_EXIT(WriteBackIntoReadOnlyFolder(folder), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Read("ro/game.ini"), "[A]\nx=1\n");
  EXPECT_EQ(Read("ro/lines.txt"), "line\n");
  EXPECT_EQ(FolderNames("ro"), std::vector<std::string>({"game.ini", "lines.txt"}));
  RestoreFolder("ro");
}

TEST_F(FileReplace, AFileWeMayNotWriteToIsNotReplacedEvenInAWritableFolder) {
  MakeReadOnlyFolder("rw", {{"locked.ini", "[A]\nx=1\n"}});
  ASSERT_EQ(chmod(Full("rw/locked.ini").c_str(), 0444), 0);
  ASSERT_EQ(chmod(Full("rw").c_str(), 0755), 0);
  EXPECT_EXIT(ReplaceALockedFile(Full("rw/locked.ini")), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Read("rw/locked.ini"), "[A]\nx=1\n");
  EXPECT_EQ(FolderNames("rw"), std::vector<std::string>({"locked.ini"}));
}

TEST_F(FileReplace, ADiskFillingUpMidWriteLeavesTheOldFileAndNoLeftovers) {
  Write("save.ini", "[A]\nx=1\n");
  const std::string path = Full("save.ini");
  EXPECT_EXIT(WriteBackWithAFullDisk(path), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Read("save.ini"), "[A]\nx=1\n");
  EXPECT_EQ(FolderNames("."), std::vector<std::string>({"save.ini"}));
}

}  // namespace
