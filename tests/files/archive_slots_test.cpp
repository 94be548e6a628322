// The engine's two archive slots: start-up creation, the SelectArchive command, the
// loader lookup through the primary slot, and release at shutdown.

#include <filesystem>

#include "archive_fixture.h"
#include "base/engine_state.h"
#include "base/temp_directory.h"

namespace {

class ArchiveSlotsTest : public ArchiveLookupTest {
 protected:
  ~ArchiveSlotsTest() override { ReleaseArchiveSlots(); }
};

TEST_F(ArchiveSlotsTest, WithoutSlotsTheLoaderLookupFindsOnlyPlainFiles) {
  ASSERT_EQ(Subsystems().primaryArchive, nullptr);
  const std::string plain = WriteScratchFile("font.bmp", "f");
  std::string path = "stale";
  EXPECT_TRUE(ResolveLoaderPath(plain.c_str(), path));
  EXPECT_EQ(path, plain);
  EXPECT_FALSE(ResolveLoaderPath((scratch.Path() + "/missing.bmp").c_str(), path));
  EXPECT_EQ(path, "");
  EXPECT_FALSE(ResolveLoaderPath("", path));
  EXPECT_FALSE(ResolveLoaderPath(nullptr, path));
  SelectArchive("a.vtl", "b.vtl");  // no slots: nothing to select, nothing breaks
}

TEST_F(ArchiveSlotsTest, StartUpSelectsTheFolderWhichDisablesTheSlotAtTheFirstMiss) {
  CreateArchiveSlots(scratch.Path().c_str());
  ArchiveSlot* primary = Subsystems().primaryArchive;
  ArchiveSlot* secondary = Subsystems().secondaryArchive;
  ASSERT_NE(primary, nullptr);
  ASSERT_NE(secondary, nullptr);
  EXPECT_EQ(std::string(primary->archivePath), scratch.Path());
  EXPECT_EQ(std::string(secondary->archivePath), scratch.Path());
  EXPECT_EQ(primary->enabled, 1);

  std::string path;
  EXPECT_FALSE(ResolveLoaderPath("missing.bmp", path));
  EXPECT_EQ(primary->enabled, 0);
  EXPECT_EQ(secondary->enabled, 1) << "loaders never consult the secondary slot";
}

TEST_F(ArchiveSlotsTest, SelectArchiveFillsBothSlotsAndLoadersUseThePrimaryOne) {
  CreateArchiveSlots(scratch.Path().c_str());
  const std::string primaryArchive = WriteScratchFile("p.vtl", StandAloneArchive({{"vt2.bmp", "sprite"}}));
  const std::string secondaryArchive = WriteScratchFile("s.vtl", StandAloneArchive({{"other.bmp", "other"}}));
  SelectArchive(primaryArchive.c_str(), secondaryArchive.c_str());
  EXPECT_EQ(std::string(Subsystems().primaryArchive->archivePath), primaryArchive);
  EXPECT_EQ(std::string(Subsystems().secondaryArchive->archivePath), secondaryArchive);

  std::string path;
  ASSERT_TRUE(ResolveLoaderPath("x/y/vt2.bmp", path));
  EXPECT_EQ(Read(path), "sprite");
  EXPECT_EQ(path.rfind(EngineTempDirectory(), 0), 0u);
  EXPECT_FALSE(ResolveLoaderPath("other.bmp", path));
  EXPECT_EQ(path, "");

  // An empty second text stores an empty path, as the demo's calls do.
  SelectArchive(primaryArchive.c_str(), "");
  EXPECT_STREQ(Subsystems().secondaryArchive->archivePath, "");
}

TEST_F(ArchiveSlotsTest, SelectArchiveAndShutdownDeleteEachSlotsTemporaryFile) {
  CreateArchiveSlots(scratch.Path().c_str());
  const std::string archive = WriteScratchFile("p.vtl", StandAloneArchive({{"a.bmp", "A"}, {"b.bmp", "B"}}));
  SelectArchive(archive.c_str(), archive.c_str());
  ArchiveSlot& secondary = *Subsystems().secondaryArchive;
  char secondaryResult[kArchivePathCapacity];
  ASSERT_EQ(ResolveResourceFileIn(secondary, "b.bmp", secondaryResult, temporaryDirectory), 1);
  std::string primaryPath;
  ASSERT_TRUE(ResolveLoaderPath("a.bmp", primaryPath));

  SelectArchive(archive.c_str(), archive.c_str());
  EXPECT_FALSE(FileExists(primaryPath));
  EXPECT_FALSE(FileExists(secondaryResult));

  ASSERT_EQ(ResolveResourceFileIn(secondary, "b.bmp", secondaryResult, temporaryDirectory), 1);
  ASSERT_TRUE(ResolveLoaderPath("a.bmp", primaryPath));
  ReleaseArchiveSlots();
  EXPECT_EQ(Subsystems().primaryArchive, nullptr);
  EXPECT_EQ(Subsystems().secondaryArchive, nullptr);
  EXPECT_FALSE(FileExists(primaryPath));
  EXPECT_FALSE(FileExists(secondaryResult));
  ReleaseArchiveSlots();  // a second release finds nothing to do
}

}  // namespace
