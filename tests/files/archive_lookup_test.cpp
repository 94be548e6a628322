// The lookup every loader calls: plain files first, then the selected archive, each row
// of its failure table, base names, letters of the temporary file's name, and the life
// of temporary files.

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "archive_fixture.h"
#include "files/archive_member.h"

namespace {

const std::string kBackground = PictureLikeData(20000, 7);
const std::string kSprite = PictureLikeData(3000, 9);

class ResolveResourceFileTest : public ArchiveLookupTest {
 protected:
  void SelectDemoArchive() {
    SelectScratchArchive("Vantrel.vtl", StandAloneArchive({{"Vantrel_file.bmp", kBackground}, {"vt2.bmp", kSprite}}));
  }
};

// --- The failure table, row by row -------------------------------------------------

TEST_F(ResolveResourceFileTest, EmptyRequestGivesEmptyResultAndLeavesTheSlotAlone) {
  SelectDemoArchive();
  EXPECT_EQ(Resolve(""), 0);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(slot.enabled, 1);

  slot.enabled = 0;
  EXPECT_EQ(Resolve(""), 0);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(slot.enabled, 0);
}

TEST_F(ResolveResourceFileTest, PlainFileWinsOverAMemberOfTheSameName) {
  SelectDemoArchive();
  const std::string plain = WriteScratchFile("blah/Vantrel_file.bmp", "on disk");
  EXPECT_EQ(Resolve(plain), 1);
  EXPECT_EQ(std::string(result), plain);
  EXPECT_EQ(slot.enabled, 1);
  EXPECT_STREQ(slot.lastExtracted, "");
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ResolveResourceFileTest, PlainFileIsFoundWithoutAnyUsableArchive) {
  const std::string plain = WriteScratchFile("picture.bmp", "on disk");
  slot.enabled = 0;
  EXPECT_EQ(Resolve(plain), 1);
  EXPECT_EQ(std::string(result), plain);
  SelectArchiveSlot(slot, "");
  EXPECT_EQ(Resolve(plain), 1);
  EXPECT_EQ(slot.enabled, 1);  // the archive is never reached
}

TEST_F(ResolveResourceFileTest, DisabledSlotLeavesTheResultUnchanged) {
  SelectDemoArchive();
  slot.enabled = 0;
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  EXPECT_EQ(slot.enabled, 0);
}

TEST_F(ResolveResourceFileTest, EmptyArchivePathDisablesTheSlot) {
  SelectArchiveSlot(slot, "");
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  EXPECT_EQ(slot.enabled, 0);
}

TEST_F(ResolveResourceFileTest, ArchiveThatCannotBeOpenedDisablesTheSlot) {
  SelectArchiveSlot(slot, (scratch.Path() + "/missing.vtl").c_str());
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  EXPECT_EQ(slot.enabled, 0);

  // Start-up selects the executable's folder: a folder never opens as an archive.
  SelectArchiveSlot(slot, scratch.Path().c_str());
  EXPECT_EQ(slot.enabled, 1);
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  EXPECT_EQ(slot.enabled, 0);
}

TEST_F(ResolveResourceFileTest, WrongMagicDisablesTheSlotUntilTheNextSelection) {
  std::string archive = StandAloneArchive({{"vt2.bmp", kSprite}});
  archive[archive.size() - 5] = 'l';  // "vtl" instead of "vtL": the magic is case-sensitive
  SelectScratchArchive("bad.vtl", archive);
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  EXPECT_EQ(slot.enabled, 0);

  // Repairing the file does not help until the archive is selected again.
  WriteScratchFile("bad.vtl", StandAloneArchive({{"vt2.bmp", kSprite}}));
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_STREQ(result, "untouched");
  SelectArchiveSlot(slot, (scratch.Path() + "/bad.vtl").c_str());
  EXPECT_EQ(Resolve("vt2.bmp"), 1);
}

TEST_F(ResolveResourceFileTest, TrailerTooShortToReadEmptiesTheResultAndKeepsTheSlot) {
  for (const std::string& contents : {std::string(), std::string("vtL"), std::string("vtL\0\0\0", 6)}) {
    SelectScratchArchive("short.vtl", contents);
    EXPECT_EQ(Resolve("vt2.bmp"), 0) << contents.size();
    EXPECT_STREQ(result, "");
    EXPECT_EQ(slot.enabled, 1);
  }
}

TEST_F(ResolveResourceFileTest, MissingMemberEmptiesTheResultAndKeepsTheSlot) {
  SelectDemoArchive();
  EXPECT_EQ(Resolve("nothing.bmp"), 0);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(slot.enabled, 1);
  EXPECT_EQ(Resolve("vt2.bmp"), 1);  // still consulted afterwards
}

TEST_F(ResolveResourceFileTest, FoundMemberIsUnpackedIntoItsTemporaryFile) {
  SelectDemoArchive();
  ASSERT_EQ(Resolve("x/y/vt2.bmp"), 1);
  EXPECT_STREQ(slot.lastExtracted, result);
  EXPECT_EQ(Read(result), kSprite);
  // The second member sits after the first one's packed data.
  const auto offset = static_cast<std::int32_t>(PackedMember(kBackground).size());
  const auto packedSize = static_cast<std::uint32_t>(PackedMember(kSprite).size());
  EXPECT_EQ(std::string(result), TemporaryFileName(temporaryDirectory, offset, packedSize, "vt2.bmp"));
  struct stat info {};
  ASSERT_EQ(stat(result, &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u) << "temporary files are private";
}

// --- Names ---------------------------------------------------------------------------

TEST_F(ResolveResourceFileTest, BaseNameIsLookedUpIgnoringDirectoriesAndAsciiCase) {
  SelectDemoArchive();
  for (const char* request : {"blah/blah/Vantrel_file.bmp", "Vantrel_file.bmp", "C:\\games\\VANTREL_FILE.BMP",
                              "a/b\\vantrel_FILE.bmp"}) {
    ASSERT_EQ(Resolve(request), 1) << request;
    EXPECT_EQ(Read(result), kBackground) << request;
    // The file carries the name as stored, not as requested.
    EXPECT_EQ(std::filesystem::path(result).filename().string().substr(5), "Vantrel_file.bmp");
  }
  EXPECT_EQ(Resolve("blah/blah/"), 0) << "a request ending in a separator has an empty base name";
  EXPECT_EQ(Resolve("Vantrel_file.bm"), 0);
  EXPECT_EQ(Resolve("Vantrel_file.bmpx"), 0);
}

TEST_F(ResolveResourceFileTest, OnlyAsciiLettersIgnoreCase) {
  SelectScratchArchive("n.vtl", StandAloneArchive({{"\xc3\xa9t\xc3\xa9.bmp", "summer"}, {"[a]_@.bmp", "marks"}}));
  EXPECT_EQ(Resolve("\xc3\xa9T\xc3\xa9.BMP"), 1);
  EXPECT_EQ(Resolve("\xc3\x89t\xc3\x89.bmp"), 0) << "bytes beyond ASCII compare exactly";
  EXPECT_EQ(Resolve("[a]_@.bmp"), 1);
  EXPECT_EQ(Resolve("{a}_`.bmp"), 0) << "only A-Z fold: [ ] @ are not { } `";
}

TEST_F(ResolveResourceFileTest, FirstOfTwoMembersWithTheSameNameWins) {
  SelectScratchArchive("dup.vtl", StandAloneArchive({{"a.bmp", "first"}, {"A.BMP", "second"}, {"a.bmp", "third"}}));
  ASSERT_EQ(Resolve("a.bmp"), 1);
  EXPECT_EQ(Read(result), "first");
}

TEST_F(ResolveResourceFileTest, AppendedArchiveReadsTheSameAsTheStandAloneOne) {
  const std::string executable = PictureLikeData(5000, 3);
  const std::vector<TestMember> members = {{"Vantrel_file.bmp", kBackground}, {"vt2.bmp", kSprite}};
  SelectScratchArchive("RizareZaz.exe", AppendedArchive(executable, members));
  for (const TestMember& member : members) {
    ASSERT_EQ(Resolve("dir/" + member.name), 1);
    EXPECT_EQ(Read(result), member.data);
  }
  // The offset letter comes from the negative offset as stored.
  const std::string packedBackground = PackedMember(kBackground);
  const std::string packedSprite = PackedMember(kSprite);
  const std::int64_t tail = static_cast<std::int64_t>(packedBackground.size() + packedSprite.size()) +
                            static_cast<std::int64_t>(DirectoryBytes({{"Vantrel_file.bmp", 0, 0}, {"vt2.bmp", 0, 0}}).size()) + 7;
  const auto spriteOffset = static_cast<std::int32_t>(static_cast<std::int64_t>(packedBackground.size()) - tail);
  EXPECT_EQ(std::string(result), TemporaryFileName(temporaryDirectory, spriteOffset,
                                                   static_cast<std::uint32_t>(packedSprite.size()), "vt2.bmp"));
}

TEST_F(ResolveResourceFileTest, TemporaryNameLettersComeFromOffsetAndPackedSize) {
  EXPECT_EQ(TemporaryFileName("/t/", 100, 50, "x.bmp"), "/t/vtlWYx.bmp");
  EXPECT_EQ(TemporaryFileName("/t/", -1000, 0, "x.bmp"), "/t/vtlKAx.bmp");
  EXPECT_EQ(TemporaryFileName("/t/", -1, 0xFFFFFFFFu, "x"), "/t/vtlVVx");  // 4294967295 % 26 = 21

  // A member placed at offset 100 with 50 bytes of packed data (its stream padded).
  std::string member = PackedMember("abc");
  member.resize(50, '\0');
  const std::string archive =
      std::string(100, 'p') + member + DirectoryBytes({{"x.bmp", 100, 50}}) + TrailerBytes(150);
  SelectScratchArchive("letters.vtl", archive);
  ASSERT_EQ(Resolve("x.bmp"), 1);
  EXPECT_EQ(std::string(result), temporaryDirectory + "vtlWYx.bmp");
  EXPECT_EQ(Read(result), "abc");

  // Offset -1000 from the end of an appended archive.
  const std::string packed = PackedMember("def");
  const std::string tailAfterMember = DirectoryBytes({{"y.bmp", -1000, static_cast<std::uint32_t>(packed.size())}});
  const std::size_t gap = 1000 - packed.size() - tailAfterMember.size() - 7;
  const std::string appended = std::string(64, 'e') + packed + std::string(gap, 'g') + tailAfterMember +
                               TrailerBytes(-static_cast<std::int32_t>(tailAfterMember.size() + 7));
  SelectScratchArchive("appended.exe", appended);
  ASSERT_EQ(Resolve("y.bmp"), 1);
  EXPECT_EQ(std::string(result).substr(temporaryDirectory.size(), 4), "vtlK");
  EXPECT_EQ(Read(result), "def");
}

// --- Life of the temporary file ------------------------------------------------------

TEST_F(ResolveResourceFileTest, EveryLookupDeletesThePreviousTemporaryFile) {
  SelectDemoArchive();
  const std::string plain = WriteScratchFile("plain.txt", "p");
  const std::vector<std::function<void()>> nextLookups = {
      [&] { EXPECT_EQ(Resolve("vt2.bmp"), 1); },      // another extraction (same member)
      [&] { EXPECT_EQ(Resolve("missing.bmp"), 0); },  // a miss
      [&] { EXPECT_EQ(Resolve(plain), 1); },          // a plain file
      [&] { EXPECT_EQ(Resolve(""), 0); },             // an empty request
      [&] { slot.enabled = 0; EXPECT_EQ(Resolve("vt2.bmp"), 0); slot.enabled = 1; },
  };
  for (std::size_t i = 0; i < nextLookups.size(); ++i) {
    ASSERT_EQ(Resolve("Vantrel_file.bmp"), 1);
    const std::string first = result;
    ASSERT_TRUE(FileExists(first));
    nextLookups[i]();
    EXPECT_FALSE(FileExists(first)) << "lookup " << i;
    EXPECT_LE(TemporaryFiles().size(), 1u) << "lookup " << i;
  }
}

TEST_F(ResolveResourceFileTest, SelectingAnArchiveDeletesTheTemporaryFileAndReenables) {
  SelectDemoArchive();
  ASSERT_EQ(Resolve("vt2.bmp"), 1);
  const std::string extracted = result;
  slot.enabled = 0;
  SelectArchiveSlot(slot, "other.vtl");
  EXPECT_FALSE(FileExists(extracted));
  EXPECT_STREQ(slot.lastExtracted, "");
  EXPECT_STREQ(slot.archivePath, "other.vtl");
  EXPECT_EQ(slot.enabled, 1);
}

TEST_F(ResolveResourceFileTest, ResultMayBeTheRequestBuffer) {
  SelectDemoArchive();
  char buffer[kArchivePathCapacity] = "deep/down/vt2.bmp";
  ASSERT_EQ(ResolveResourceFileIn(slot, buffer, buffer, temporaryDirectory), 1);
  EXPECT_EQ(Read(buffer), kSprite);

  const std::string plain = WriteScratchFile("p.bmp", "x");
  std::strcpy(buffer, plain.c_str());
  ASSERT_EQ(ResolveResourceFileIn(slot, buffer, buffer, temporaryDirectory), 1);
  EXPECT_EQ(std::string(buffer), plain);
}

// --- Length limits --------------------------------------------------------------------

TEST_F(ResolveResourceFileTest, RequestsLongerThanTheFieldsAreRefused) {
  SelectDemoArchive();
  const std::string longest = std::string(kArchivePathCapacity - 1 - 8, 'd') + "/vt2.bmp";
  ASSERT_EQ(longest.size(), kArchivePathCapacity - 1);
  EXPECT_EQ(Resolve(longest), 1) << "259 characters still fit";
  const std::string tooLong = std::string(kArchivePathCapacity - 8, 'd') + "/vt2.bmp";
  EXPECT_EQ(Resolve(tooLong), 0);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(slot.enabled, 1);
}

TEST_F(ResolveResourceFileTest, ArchivePathThatDoesNotFitIsStoredEmpty) {
  const std::string tooLong(kArchivePathCapacity, 'a');
  SelectArchiveSlot(slot, tooLong.c_str());
  EXPECT_STREQ(slot.archivePath, "");
  EXPECT_EQ(Resolve("vt2.bmp"), 0);
  EXPECT_EQ(slot.enabled, 0);
  const std::string fits(kArchivePathCapacity - 1, 'a');
  SelectArchiveSlot(slot, fits.c_str());
  EXPECT_EQ(std::string(slot.archivePath), fits);
}

TEST_F(ResolveResourceFileTest, TemporaryPathThatWouldNotFitIsNotHandedOut) {
  const std::string name(250, 'n');
  SelectScratchArchive("long.vtl", StandAloneArchive({{name, "data"}}));
  ASSERT_GT(temporaryDirectory.size() + 5 + name.size(), kArchivePathCapacity - 1);
  EXPECT_EQ(Resolve(name), 0);
  EXPECT_STREQ(result, "");
  EXPECT_TRUE(TemporaryFiles().empty());
}

}  // namespace
