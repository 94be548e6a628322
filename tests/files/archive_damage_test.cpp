// Damaged archives and hostile names: nothing here may crash, allocate without bound,
// or write outside the private temporary directory.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "archive_fixture.h"
#include "files/archive_format.h"
#include "files/archive_member.h"
#include "support/memory_limited_child.h"

namespace {

class DamagedArchiveTest : public ArchiveLookupTest {
 protected:
  // A stand-alone archive of one member "m.bmp" whose directory entry and member header
  // are given by the test: [member bytes][directory][trailer].
  void SelectOneMember(const std::string& memberBytes, std::int32_t offset, std::uint32_t packedSize) {
    SelectScratchArchive("damaged.vtl", memberBytes + DirectoryBytes({{"m.bmp", offset, packedSize}}) +
                                            TrailerBytes(static_cast<std::int32_t>(memberBytes.size())));
  }
  void ExpectNotInArchive(const char* what) {
    EXPECT_EQ(Resolve("m.bmp"), 0) << what;
    EXPECT_STREQ(result, "") << what;
    EXPECT_EQ(slot.enabled, 1) << what;
    EXPECT_TRUE(TemporaryFiles().empty()) << what;
  }
};

TEST_F(DamagedArchiveTest, DirectoryOutsideTheFileHoldsNothing) {
  const std::string member = PackedMember("data");
  const std::string directory = DirectoryBytes({{"m.bmp", 0, static_cast<std::uint32_t>(member.size())}});
  const std::int64_t size = static_cast<std::int64_t>(member.size() + directory.size() + 7);
  for (const std::int64_t directoryOffset : {size, size + 1, std::int64_t{0x7FFFFFFF}, -size - 1,
                                             std::int64_t{INT32_MIN}, size - 7}) {
    SelectScratchArchive("d.vtl", member + directory + TrailerBytes(static_cast<std::int32_t>(directoryOffset)));
    EXPECT_EQ(Resolve("m.bmp"), 0) << directoryOffset;
    EXPECT_STREQ(result, "");
    EXPECT_EQ(slot.enabled, 1);
  }
}

TEST_F(DamagedArchiveTest, DirectoryWithoutItsEndMarkerEndsAtTheEndOfTheFile) {
  // The entry is cut inside its fields: no terminator, the file ends first.
  std::string directory = DirectoryBytes({{"m.bmp", 0, 10}});
  directory.resize(directory.size() - 4);
  SelectScratchArchive("cut.vtl", directory + TrailerBytes(0));
  ExpectNotInArchive("truncated entry");
}

TEST_F(DamagedArchiveTest, MemberDataOutsideTheFileCountsAsMissing) {
  const std::string member = PackedMember("data");
  const auto size = static_cast<std::uint32_t>(member.size());
  SelectOneMember(member, -4, size);
  ExpectNotInArchive("negative offset in a stand-alone archive");
  SelectOneMember(member, 1 << 30, size);
  ExpectNotInArchive("offset past the end");
  SelectOneMember(member, 0, 0xFFFFFFFFu);
  ExpectNotInArchive("packed size past the end");
  SelectOneMember(member, 2, size + 1000);
  ExpectNotInArchive("packed data running past the end");
}

TEST_F(DamagedArchiveTest, PackedSizeBelowFourCountsAsMissing) {
  for (std::uint32_t packedSize = 0; packedSize < 4; ++packedSize) {
    SelectOneMember(PackedMember("data"), 0, packedSize);
    ExpectNotInArchive("packed size below 4");
  }
}

TEST_F(DamagedArchiveTest, NegativeOrImpossibleUnpackedSizeCountsAsMissing) {
  const std::string stream = PackedMember("data").substr(4);
  SelectOneMember(LittleEndian32(0xFFFFFFFFu) + stream, 0, static_cast<std::uint32_t>(stream.size() + 4));
  ExpectNotInArchive("unpacked size -1");
  SelectOneMember(LittleEndian32(0x80000000u) + stream, 0, static_cast<std::uint32_t>(stream.size() + 4));
  ExpectNotInArchive("unpacked size INT32_MIN");
  // More than 255 bytes out per byte in is beyond what any LZO1X stream can produce.
  const auto absurd = static_cast<std::uint32_t>(kLzo1xMaxExpansion * stream.size() + 1);
  SelectOneMember(LittleEndian32(absurd) + stream, 0, static_cast<std::uint32_t>(stream.size() + 4));
  ExpectNotInArchive("unpacked size beyond the worst-case expansion");
  SelectOneMember(LittleEndian32(0x7FFFFFFFu) + stream, 0, static_cast<std::uint32_t>(stream.size() + 4));
  ExpectNotInArchive("unpacked size 2 GiB from a few bytes");
}

TEST_F(DamagedArchiveTest, HighlyCompressedMemberNearTheExpansionBoundIsAccepted) {
  // 4 MiB of one byte value packs to a few kilobytes: far past ratio 100, still valid.
  const std::string data(4 << 20, 'z');
  const std::string member = PackedMember(data);
  ASSERT_GT(data.size(), 100 * (member.size() - 4));
  SelectOneMember(member, 0, static_cast<std::uint32_t>(member.size()));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  EXPECT_EQ(Read(result), data);
}

TEST_F(DamagedArchiveTest, StatedSizeFarBeyondWhatTheStreamYieldsCostsOnlyTheYield) {
  if (!MemoryLimitsApply()) GTEST_SKIP() << "address-space limits do not work under the sanitizers";
  // 1 MiB that does not compress, stated as 255 times its packed size (about 255 MiB).
  std::string data(1 << 20, '\0');
  std::uint32_t noise = 12345;
  for (char& byte : data) byte = static_cast<char>((noise = noise * 1103515245u + 12345u) >> 24);
  std::string member = PackedMember(data);
  member.replace(0, 4, LittleEndian32(static_cast<std::uint32_t>(255 * (member.size() - 4))));
  SelectOneMember(member, 0, static_cast<std::uint32_t>(member.size()));
  EXPECT_EQ(ExitCodeWithMemoryLimit(96 << 20, [&] { return Resolve("m.bmp") == 1 && Read(result) == data ? 0 : 1; }),
            0);
}

TEST_F(DamagedArchiveTest, StreamThatBreaksOffYieldsTheBytesDecodedBeforeTheDamage) {
  const std::string data = PictureLikeData(60000, 5);
  const std::string member = PackedMember(data);
  const std::string cut = member.substr(0, member.size() / 2);
  SelectOneMember(cut, 0, static_cast<std::uint32_t>(cut.size()));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  const std::string decoded = Read(result);
  EXPECT_GT(decoded.size(), 0u);
  EXPECT_LT(decoded.size(), data.size());
  EXPECT_EQ(decoded, data.substr(0, decoded.size()));
}

TEST_F(DamagedArchiveTest, StreamLongerThanItsStatedSizeIsCutAtTheStatedSize) {
  const std::string data = PictureLikeData(5000, 6);
  std::string member = PackedMember(data);
  member.replace(0, 4, LittleEndian32(1000));
  SelectOneMember(member, 0, static_cast<std::uint32_t>(member.size()));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  EXPECT_EQ(Read(result), data.substr(0, Read(result).size()));
  EXPECT_LE(Read(result).size(), 1000u);
}

TEST_F(DamagedArchiveTest, GarbageStreamStillGivesAFileAndNeverMoreThanStated) {
  const std::string garbage("\x11\x00\x00\xff\xfe\x20\x00\x00\x00\x01\x02", 11);
  SelectOneMember(LittleEndian32(2000) + garbage, 0, static_cast<std::uint32_t>(garbage.size() + 4));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  EXPECT_LE(Read(result).size(), 2000u);
  EXPECT_TRUE(std::filesystem::is_regular_file(result));
}

TEST_F(DamagedArchiveTest, UnpackMemberDataRefusesShortHeaders) {
  UnpackedMember member;
  const unsigned char header[3] = {1, 0, 0};
  EXPECT_EQ(UnpackMemberData(header, sizeof header, member), UnpackStatus::kDamagedMember);
  const std::string empty = LittleEndian32(0);
  EXPECT_EQ(UnpackMemberData(reinterpret_cast<const unsigned char*>(empty.data()), empty.size(), member),
            UnpackStatus::kUnpacked);
  EXPECT_EQ(member.length, 0u);
}

// --- Where temporary files go ----------------------------------------------------------

TEST_F(DamagedArchiveTest, PlantedSymbolicLinkIsReplacedNotFollowed) {
  SelectScratchArchive("a.vtl", StandAloneArchive({{"m.bmp", "member contents"}}));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  const std::string path = result;
  ASSERT_EQ(Resolve(""), 0);  // removes the file again

  const std::string victim = WriteScratchFile("victim.txt", "precious");
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  ASSERT_EQ(Resolve("m.bmp"), 1);
  EXPECT_EQ(std::string(result), path);
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
  EXPECT_EQ(Read(path), "member contents");
}

TEST_F(DamagedArchiveTest, StaleFileOfTheSameNameIsReplaced) {
  SelectScratchArchive("a.vtl", StandAloneArchive({{"m.bmp", "fresh"}}));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  const std::string path = result;
  ASSERT_EQ(Resolve(""), 0);
  WriteScratchFile(path.substr(scratch.Path().size() + 1), "stale contents, longer than the member");
  ASSERT_EQ(Resolve("m.bmp"), 1);
  EXPECT_EQ(Read(path), "fresh");
}

TEST_F(DamagedArchiveTest, MemberNamesCannotReachOutsideTheTemporaryDirectory) {
  SelectScratchArchive("evil.vtl", StandAloneArchive({{"../escape.txt", "out"}, {"..", "dots"}, {"/abs", "abs"}}));
  // Names with separators can never equal a request's base name.
  EXPECT_EQ(Resolve("../escape.txt"), 0);
  EXPECT_EQ(Resolve("x/../escape.txt"), 0);
  EXPECT_EQ(Resolve("/abs"), 0);
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "/escape.txt"));
  // ".." is only ever the tail of a "vtl??" name inside the directory.
  ASSERT_EQ(Resolve("a/.."), 1);
  EXPECT_EQ(std::filesystem::path(result).parent_path().string() + "/", temporaryDirectory);
  EXPECT_EQ(Read(result), "dots");
}

TEST_F(DamagedArchiveTest, WithoutASafeTemporaryDirectoryNothingIsWritten) {
  SelectScratchArchive("a.vtl", StandAloneArchive({{"m.bmp", "x"}}));
  std::strcpy(result, "untouched");
  EXPECT_EQ(ResolveResourceFileIn(slot, "m.bmp", result, ""), 0);
  EXPECT_STREQ(result, "");
  EXPECT_FALSE(std::filesystem::exists("vtlAAm.bmp"));
}

TEST_F(DamagedArchiveTest, FoundMemberReportsSuccessEvenWhenItsFileCannotBeCreated) {
  SelectScratchArchive("a.vtl", StandAloneArchive({{"m.bmp", "x"}}));
  ASSERT_EQ(Resolve("m.bmp"), 1);
  const std::string path = result;
  ASSERT_EQ(Resolve(""), 0);
  // A folder in the way: the loader's own open of the path is what fails.
  ASSERT_TRUE(std::filesystem::create_directory(path));
  EXPECT_EQ(Resolve("m.bmp"), 1);
  EXPECT_EQ(std::string(result), path);
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
