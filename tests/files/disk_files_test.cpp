#include "files/disk_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/scratch_directory.h"

namespace {

// Each test works in a fresh scratch directory made current for its duration.
class DiskFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.Path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  static std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 4096) & 0xFF);
    return bytes;
  }

  // Runs body in a child process and returns its exit code (128 + signal when killed).
  static int InChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  ScratchDirectory scratch_;
  std::filesystem::path previous_;
};

TEST_F(DiskFiles, CopyReproducesEveryBlockSizeAndReplacesALongerTarget) {
  for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 3u * 4096u + 17u}) {
    const std::string contents = Pattern(size);
    scratch_.WriteFile("source.bin", contents);
    scratch_.WriteFile("target.bin", std::string(20000, 'x'));
    CopyDiskFile("source.bin", "target.bin");
    EXPECT_EQ(scratch_.ReadFile("target.bin"), contents) << size << " bytes";
  }
  // A new target is created.
  CopyDiskFile("source.bin", "fresh.bin");
  EXPECT_EQ(scratch_.ReadFile("fresh.bin"), Pattern(3 * 4096 + 17));
}

TEST_F(DiskFiles, CopyWithoutAReadableSourceLeavesTheTargetAlone) {
  scratch_.WriteFile("target.bin", "keep");
  CopyDiskFile("missing.bin", "target.bin");
  EXPECT_EQ(scratch_.ReadFile("target.bin"), "keep");
  std::filesystem::create_directory("folder");
  CopyDiskFile("folder", "target.bin");
  EXPECT_EQ(scratch_.ReadFile("target.bin"), "keep");
  CopyDiskFile("missing.bin", "new.bin");
  EXPECT_FALSE(scratch_.Exists("new.bin"));
}

TEST_F(DiskFiles, CopyOntoItselfKeepsTheData) {
  const std::string contents = Pattern(10000);
  scratch_.WriteFile("self.bin", contents);
  CopyDiskFile("self.bin", "self.bin");
  EXPECT_EQ(scratch_.ReadFile("self.bin"), contents);
  CopyDiskFile("self.bin", "./self.bin");
  EXPECT_EQ(scratch_.ReadFile("self.bin"), contents);
  std::filesystem::create_hard_link("self.bin", "link.bin");
  CopyDiskFile("self.bin", "link.bin");
  EXPECT_EQ(scratch_.ReadFile("self.bin"), contents);
}

TEST_F(DiskFiles, ReadErrorDeletesThePartialTarget) {
  // Reading a process's memory at address 0 fails with an I/O error after a good open.
  EXPECT_FALSE(CopyFileContents("/proc/self/mem", "target.bin"));
  EXPECT_FALSE(scratch_.Exists("target.bin"));
  scratch_.WriteFile("old.bin", "old contents");
  CopyDiskFile("/proc/self/mem", "old.bin");
  EXPECT_FALSE(scratch_.Exists("old.bin"));
}

TEST_F(DiskFiles, FullTargetLeavesNoPartialFile) {
  const std::string contents = Pattern(5 * 4096 + 100);
  scratch_.WriteFile("source.bin", contents);
  // A file-size limit makes writes past 9000 bytes fail as on a full disk.
  const int code = InChild([] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{9000, 9000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    if (CopyFileContents("source.bin", "target.bin")) return 11;
    return access("target.bin", F_OK) == 0 ? 12 : 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(scratch_.Exists("target.bin"));
  // The same copy succeeds without the limit.
  CopyDiskFile("source.bin", "target.bin");
  EXPECT_EQ(scratch_.ReadFile("target.bin"), contents);
}

TEST_F(DiskFiles, ReadOnlyTargetIsNeitherChangedNorRemoved) {
  scratch_.WriteFile("source.bin", Pattern(6000));
  scratch_.WriteFile("target.bin", "keep");
  std::filesystem::create_directory("locked");
  chmod("target.bin", 0444);
  chmod(scratch_.Path().c_str(), 0755);
  chmod("source.bin", 0644);
  chmod("locked", 0555);
  // The superuser writes anything; the copy runs as an ordinary user.
  const int code = InChild([] {
    if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0) return 10;
    if (CopyFileContents("source.bin", "target.bin")) return 11;
    if (CopyFileContents("source.bin", "locked/target.bin")) return 12;
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(scratch_.ReadFile("target.bin"), "keep");
  EXPECT_FALSE(scratch_.Exists("locked/target.bin"));
}

TEST_F(DiskFiles, FailedCopyNeverRemovesATargetThatIsNoRegularFile) {
  ASSERT_EQ(mkfifo("pipe", 0600), 0);
  const int reader = open("pipe", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_FALSE(CopyFileContents("/proc/self/mem", "pipe"));
  struct stat info {};
  EXPECT_EQ(stat("pipe", &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  // A copy into it still works.
  scratch_.WriteFile("small.bin", "through the pipe");
  EXPECT_TRUE(CopyFileContents("small.bin", "pipe"));
  char buffer[64] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 16);
  EXPECT_STREQ(buffer, "through the pipe");
  close(reader);
}

TEST_F(DiskFiles, PipesAndDevicesNeverHangACommand) {
  ASSERT_EQ(mkfifo("pipe", 0600), 0);
  scratch_.WriteFile("target.bin", "keep");
  scratch_.WriteFile("source.bin", "data");
  // Each would wait for a writer or a reader, or read for ever, if it were let.
  const int code = InChild([] {
    alarm(10);
    if (DiskFileExists("pipe") != 1) return 10;
    if (CopyFileContents("pipe", "target.bin")) return 11;
    if (CopyFileContents("/dev/zero", "target.bin")) return 12;
    if (CopyFileContents("source.bin", "pipe")) return 13;
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(scratch_.ReadFile("target.bin"), "keep");
}

TEST_F(DiskFiles, DeleteAndExistsReportThroughTheirResults) {
  scratch_.WriteFile("file.txt", "x");
  std::filesystem::create_directory("folder");
  EXPECT_EQ(DiskFileExists("file.txt"), 1);
  EXPECT_EQ(DiskFileExists("missing.txt"), 0);
  EXPECT_EQ(DiskFileExists("folder"), 0);
  EXPECT_EQ(DiskFileExists(""), 0);
  EXPECT_EQ(DeleteDiskFile("file.txt"), 1);
  EXPECT_FALSE(scratch_.Exists("file.txt"));
  EXPECT_EQ(DiskFileExists("file.txt"), 0);
  EXPECT_EQ(DeleteDiskFile("file.txt"), 0);
  EXPECT_EQ(DeleteDiskFile("folder"), 0);
  EXPECT_TRUE(scratch_.Exists("folder"));
}

TEST_F(DiskFiles, CurrentFolderEndsInASingleSlash) {
  EXPECT_EQ(GetCurrentFolder().View(), std::filesystem::current_path().string() + "/");
  ASSERT_EQ(SetCurrentFolder("/"), 1);
  EXPECT_EQ(GetCurrentFolder().View(), "/");
  ASSERT_EQ(SetCurrentFolder(BasicString(scratch_.Path())), 1);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
}

TEST_F(DiskFiles, SetCurrentFolderFailureKeepsTheFolder) {
  scratch_.WriteFile("plain.txt", "x");
  EXPECT_EQ(SetCurrentFolder("missing"), 0);
  EXPECT_EQ(SetCurrentFolder("plain.txt"), 0);
  EXPECT_EQ(SetCurrentFolder(""), 0);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
  std::filesystem::create_directory("sub");
  EXPECT_EQ(SetCurrentFolder("sub"), 1);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/sub/");
  EXPECT_EQ(SetCurrentFolder(".."), 1);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
}

TEST_F(DiskFiles, CurrentFolderTurnsBackslashesIntoSlashes) {
  std::filesystem::create_directory("a\\b");
  ASSERT_EQ(SetCurrentFolder("a\\b"), 1);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/a/b/");
}

TEST_F(DiskFiles, CurrentFolderOfARemovedFolderIsEmpty) {
  std::filesystem::create_directory("gone");
  ASSERT_EQ(SetCurrentFolder("gone"), 1);
  std::filesystem::remove(scratch_.Path() + "/gone");
  EXPECT_TRUE(GetCurrentFolder().IsEmpty());
}

TEST(SlashPath, TurnsEveryBackslashInPlaceAndReturnsTheLength) {
  BasicString path("C:\\games\\level\\1.dat");
  EXPECT_EQ(SlashPath(path), 20);
  EXPECT_EQ(path.View(), "C:/games/level/1.dat");
  BasicString empty;
  EXPECT_EQ(SlashPath(empty), 0);
  BasicString plain("a/b\\\\c");
  EXPECT_EQ(SlashPath(plain), 6);
  EXPECT_EQ(plain.View(), "a/b//c");
}

}  // namespace
