// Archives from outside the engine: the vtlpack tool, an independent writer in Python
// (python3-lzo), the demo game's own archives, and whole programs that resolve names
// through the archive slots from start-up to the end of the program.

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "archive_fixture.h"
#include "files/archive_directory.h"
#include "support/process_runner.h"

namespace {

const std::string kPythonWriter = std::string(TEST_SOURCE_DIR) + "/files/write_archive.py";

class ArchiveToolTest : public ArchiveLookupTest {
 protected:
  ProcessResult Vtlpack(const std::vector<std::string>& arguments) {
    return RunProcess(ProgramPath("vtlpack"), arguments);
  }
  ProcessResult PythonWriter(const std::vector<std::string>& arguments) {
    return RunProcess("/usr/bin/python3", [&] {
      std::vector<std::string> all{kPythonWriter};
      all.insert(all.end(), arguments.begin(), arguments.end());
      return all;
    }());
  }
  // Three members: a picture-like file, an incompressible one and an empty one.
  std::vector<std::string> WriteInputs() {
    std::string noise(70000, '\0');
    unsigned state = 99;
    for (char& c : noise) c = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    inputs = {{"Picture.bmp", PictureLikeData(300000, 4)}, {"noise.bin", noise}, {"empty.txt", ""}};
    std::vector<std::string> paths;
    for (const TestMember& input : inputs) paths.push_back(WriteScratchFile("in/" + input.name, input.data));
    return paths;
  }
  void ExpectAllMembersResolve(const std::string& archive) {
    SelectArchiveSlot(slot, archive.c_str());
    for (const TestMember& input : inputs) {
      ASSERT_EQ(Resolve("any/folder/" + input.name), 1) << archive << " " << input.name;
      EXPECT_EQ(Read(result), input.data) << archive << " " << input.name;
    }
  }
  std::int32_t DirectoryOffset(const std::string& archive) {
    ArchiveFile file;
    EXPECT_TRUE(file.Open(archive.c_str()));
    const ArchiveTrailer trailer = ReadArchiveTrailer(file);
    EXPECT_EQ(trailer.status, TrailerStatus::kValid);
    return trailer.directoryOffset;
  }

  std::vector<TestMember> inputs;
};

std::vector<std::string> With(std::vector<std::string> first, const std::vector<std::string>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

// --- vtlpack ---------------------------------------------------------------------------

TEST_F(ArchiveToolTest, CreateListAndExtractRoundTrip) {
  const std::vector<std::string> paths = WriteInputs();
  const std::string archive = scratch.Path() + "/out.vtl";
  const ProcessResult created = Vtlpack(With({"create", archive}, paths));
  ASSERT_EQ(created.exitCode, 0) << created.output;
  EXPECT_GE(DirectoryOffset(archive), 0) << "a stand-alone archive uses absolute offsets";
  ExpectAllMembersResolve(archive);

  const ProcessResult listed = Vtlpack({"list", archive});
  ASSERT_EQ(listed.exitCode, 0) << listed.output;
  EXPECT_NE(listed.output.find(" 300000  Picture.bmp\n"), std::string::npos) << listed.output;
  EXPECT_NE(listed.output.find(" 70000  noise.bin\n"), std::string::npos) << listed.output;
  EXPECT_NE(listed.output.find(" 0  empty.txt\n"), std::string::npos) << listed.output;

  std::filesystem::create_directory(scratch.Path() + "/all");
  ASSERT_EQ(Vtlpack({"extract", archive, "-C", scratch.Path() + "/all"}).exitCode, 0);
  for (const TestMember& input : inputs) EXPECT_EQ(scratch.ReadFile("all/" + input.name), input.data);

  std::filesystem::create_directory(scratch.Path() + "/one");
  ASSERT_EQ(Vtlpack({"extract", archive, "-C", scratch.Path() + "/one", "PICTURE.BMP"}).exitCode, 0);
  EXPECT_EQ(scratch.ReadFile("one/Picture.bmp"), inputs[0].data);
  EXPECT_FALSE(scratch.Exists("one/noise.bin"));
}

TEST_F(ArchiveToolTest, CompressesWithTheBestLzoCompressor) {
  WriteInputs();
  const std::string picture = scratch.Path() + "/in/Picture.bmp";
  ASSERT_EQ(Vtlpack({"create", scratch.Path() + "/p.vtl", picture}).exitCode, 0);
  const auto size = std::filesystem::file_size(scratch.Path() + "/p.vtl");
  // LZO1X-999 packs tighter than the fast LZO1X-1 the fixture uses.
  EXPECT_LT(size, PackedMember(inputs[0].data).size());
}

TEST_F(ArchiveToolTest, AppendLeavesTheFileInFrontIntactAndTheNewestArchiveWins) {
  const std::vector<std::string> paths = WriteInputs();
  const std::string executable = PictureLikeData(12345, 8);
  const std::string target = WriteScratchFile("Game.exe", executable);
  ASSERT_EQ(Vtlpack(With({"append", target}, paths)).exitCode, 0);
  EXPECT_EQ(scratch.ReadFile("Game.exe").substr(0, executable.size()), executable);
  EXPECT_LT(DirectoryOffset(target), 0) << "an appended archive counts from the end";
  ExpectAllMembersResolve(target);

  // Appending again puts a new trailer at the end: only the new archive is seen.
  const std::string replacement = WriteScratchFile("other/Picture.bmp", "replaced");
  ASSERT_EQ(Vtlpack({"append", target, replacement}).exitCode, 0);
  SelectArchiveSlot(slot, target.c_str());
  ASSERT_EQ(Resolve("Picture.bmp"), 1);
  EXPECT_EQ(Read(result), "replaced");
  EXPECT_EQ(Resolve("noise.bin"), 0);
}

TEST_F(ArchiveToolTest, RefusesBadInputWithAMessageAndFailureStatus) {
  const std::string archive = scratch.Path() + "/x.vtl";
  ProcessResult run = Vtlpack({"create", archive, scratch.Path() + "/missing.bmp"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("missing.bmp"), std::string::npos) << run.output;
  EXPECT_FALSE(scratch.Exists("x.vtl")) << "nothing is written when an input is missing";

  run = Vtlpack({"create", archive, scratch.Path() + "/"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("not a regular file"), std::string::npos) << run.output;

  run = Vtlpack({"list", WriteScratchFile("plain.txt", "not an archive")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("not an archive"), std::string::npos) << run.output;

  run = Vtlpack({"append", scratch.Path() + "/absent.exe", WriteScratchFile("a.bmp", "a")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(scratch.Exists("absent.exe"));

  ASSERT_EQ(Vtlpack({"create", archive, scratch.Path() + "/a.bmp"}).exitCode, 0);
  run = Vtlpack({"extract", archive, "-C", scratch.Path(), "nothing.bmp"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("no member \"nothing.bmp\""), std::string::npos) << run.output;

  run = Vtlpack({});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find("usage: vtlpack create"), std::string::npos) << run.output;
  EXPECT_EQ(Vtlpack({"frobnicate", archive}).exitCode, 2);
  EXPECT_EQ(Vtlpack({"--help"}).exitCode, 0);
}

TEST_F(ArchiveToolTest, ExtractNeverWritesOutsideItsFolderAndReportsDamage) {
  std::string stream = PackedMember(PictureLikeData(50000, 2));
  stream.resize(stream.size() / 2);
  const std::string archive = WriteScratchFile(
      "evil.vtl", StandAloneArchive({{"../escape.txt", "out"}, {"..", "up"}, {"fine.txt", "fine"}}));
  std::filesystem::create_directory(scratch.Path() + "/target");
  const ProcessResult run = Vtlpack({"extract", archive, "-C", scratch.Path() + "/target"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("unsafe name"), std::string::npos) << run.output;
  EXPECT_FALSE(scratch.Exists("escape.txt"));
  EXPECT_EQ(scratch.ReadFile("target/fine.txt"), "fine");

  const std::string damaged = WriteScratchFile(
      "cut.vtl", stream + DirectoryBytes({{"cut.bin", 0, static_cast<std::uint32_t>(stream.size())}}) +
                     TrailerBytes(static_cast<std::int32_t>(stream.size())));
  const ProcessResult cut = Vtlpack({"extract", damaged, "-C", scratch.Path() + "/target"});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.output.find("damaged"), std::string::npos) << cut.output;
  EXPECT_FALSE(scratch.Exists("target/cut.bin"));
}

// --- An independent writer ---------------------------------------------------------------

TEST_F(ArchiveToolTest, ArchivesFromThePythonWriterReadTheSame) {
  const std::vector<std::string> paths = WriteInputs();
  for (const char* level : {"1", "9"}) {
    const std::string archive = scratch.Path() + "/python" + level + ".vtl";
    const ProcessResult run = PythonWriter(With({"--level", level, archive}, paths));
    ASSERT_EQ(run.exitCode, 0) << "python3-lzo missing? " << run.output;
    EXPECT_GE(DirectoryOffset(archive), 0);
    ExpectAllMembersResolve(archive);
  }
  const std::string target = WriteScratchFile("Game.exe", PictureLikeData(4321, 1));
  const ProcessResult run = PythonWriter(With({"--append", target}, paths));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_LT(DirectoryOffset(target), 0);
  ExpectAllMembersResolve(target);
  // And our tool reads what the other writer wrote.
  const ProcessResult listed = Vtlpack({"list", target});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_NE(listed.output.find(" 300000  Picture.bmp\n"), std::string::npos) << listed.output;
}

// --- The demo's archives -------------------------------------------------------------------

struct BmpInfo {
  std::int32_t width = 0, height = 0;
  int bitsPerPixel = 0;
  bool hasColourKey = false;  // some pixel is red 255, green 0, blue 128
  bool allKey = true;
};

BmpInfo InspectBmp(const std::string& file) {
  BmpInfo info;
  if (file.size() < 54 || file.compare(0, 2, "BM") != 0) return info;
  const auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
  };
  info.width = static_cast<std::int32_t>(u32(18));
  info.height = static_cast<std::int32_t>(u32(22));
  info.bitsPerPixel = static_cast<unsigned char>(file[28]);
  const std::size_t pixels = u32(10);
  for (std::size_t at = pixels; at + 2 < file.size(); at += 3) {
    const bool key = file[at] == '\x80' && file[at + 1] == '\0' && file[at + 2] == '\xff';
    info.hasColourKey |= key;
    info.allKey &= key;
  }
  return info;
}

TEST_F(ArchiveToolTest, DemoExecutableAndVantrelArchiveCarryThePictures) {
  for (const std::string& archive : {ProgramPath("RizareZaz.exe"), ProgramPath("Vantrel.vtl")}) {
    SelectArchiveSlot(slot, archive.c_str());
    ASSERT_EQ(Resolve("blah/blah/Vantrel_file.bmp"), 1) << archive;
    const BmpInfo background = InspectBmp(Read(result));
    EXPECT_EQ(background.width, 640);
    EXPECT_EQ(background.height, 480);
    EXPECT_EQ(background.bitsPerPixel, 24);

    ASSERT_EQ(Resolve("x/y/vt2.bmp"), 1) << archive;
    const BmpInfo sprite = InspectBmp(Read(result));
    EXPECT_GT(sprite.width, 0);
    EXPECT_LT(sprite.width, 640);
    EXPECT_TRUE(sprite.hasColourKey) << "the sprite's transparent parts use the colour key";
    EXPECT_FALSE(sprite.allKey);
  }
  EXPECT_LT(DirectoryOffset(ProgramPath("RizareZaz.exe")), 0);
}

// --- Whole programs ------------------------------------------------------------------------

class ArchiveProgramTest : public ArchiveLookupTest {
 protected:
  ProcessResult Probe(const std::string& arguments) {
    std::vector<std::string> words;
    std::istringstream split(arguments);
    for (std::string word; split >> word;) words.push_back(word);
    // The GL driver keeps allocations past exit that the leak checker would report as the
    // program's; the archive code's own leaks are checked in process by the other tests.
    return RunProcess(ProgramPath("test_archive_probe"), words,
                      {"TMPDIR=" + scratch.Path(), "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy",
                       "ASAN_OPTIONS=detect_leaks=0"});
  }
};

TEST_F(ArchiveProgramTest, NoArchiveIsInUseUntilTheGameSelectsOne) {
  // Start-up selected the executable's folder, where Vantrel.vtl lies: still not an archive.
  const ProcessResult run = Probe("- vt2.bmp Vantrel_file.bmp");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("vt2.bmp -> missing\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Vantrel_file.bmp -> missing\n"), std::string::npos) << run.output;
}

TEST_F(ArchiveProgramTest, TheEndOfTheProgramDeletesTheLastTemporaryFile) {
  const std::string archive = WriteScratchFile("game.vtl", StandAloneArchive({{"a.bmp", "aaaa"}, {"b.bmp", "bb"}}));
  const ProcessResult run = Probe(archive + " x/a.bmp y/B.BMP");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string privateTemp = scratch.EngineTempPath();
  EXPECT_NE(run.output.find("x/a.bmp -> " + privateTemp + "vtl"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("b.bmp 2\n"), std::string::npos) << run.output;
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(privateTemp)) {
    left.push_back(entry.path().filename().string());
  }
  for (const std::string& name : left) EXPECT_EQ(name.rfind("vtl", 0), std::string::npos) << name;
}

TEST_F(ArchiveProgramTest, TheDemoExecutableFindsItsOwnPictures) {
  const ProcessResult run = Probe("RizareZaz.exe blah/blah/Vantrel_file.bmp x/y/vt2.bmp");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Vantrel_file.bmp 921654\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("vt2.bmp -> " + scratch.EngineTempPath()), std::string::npos) << run.output;
}

}  // namespace
