// The rules of slots, voices and channel numbers, loading failures, and a device that
// cannot be opened.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/archive.h"
#include "sound/sound_bank.h"
#include "sound/sound_output_fixture.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"

namespace {

using wav_bytes::ConstantStereo;
using wav_bytes::Pcm16;
using wav_bytes::PlainFile;

constexpr int kOneSecond = SoundDevice::kOutputRate;

TEST_F(SoundOutputTest, VoicesZeroAndNineAreTakenAsOneAndFour) {
  LoadStereo(6, ConstantStereo(kOneSecond, 100), 0);
  EXPECT_EQ(Subsystems().soundBank->Slot(6).voiceCount, 1);
  EXPECT_EQ(StartSound(6, 0, 1), 6 * 256);
  EXPECT_EQ(StartSound(6, 0, 1), -1);

  LoadStereo(7, ConstantStereo(kOneSecond, 100), 9);
  EXPECT_EQ(Subsystems().soundBank->Slot(7).voiceCount, 4);
  for (int voice = 0; voice < 4; ++voice) EXPECT_EQ(StartSound(7, 0, 1), 7 * 256 + voice);
  EXPECT_EQ(StartSound(7, 0, 1), 7 * 256);  // all four play: voice 0 is taken over
  EXPECT_EQ(IsSoundPlaying(7 * 256 + 3), 1);
  EXPECT_EQ(IsSoundPlaying(7 * 256 + 4), 0);  // no fifth voice
}

TEST_F(SoundOutputTest, SlotsAbove127ActAs127AndNegativeSlotsAreRefused) {
  const std::string path = WriteWav("long.wav", PlainFile({}, Pcm16(ConstantStereo(kOneSecond, 100))));
  EXPECT_EQ(LoadSoundSlot(path.c_str(), 200, 1), 1);
  EXPECT_EQ(Subsystems().soundBank->Slot(127).voiceCount, 1);
  EXPECT_EQ(Subsystems().soundBank->Slot(200).voiceCount, 0);
  EXPECT_EQ(StartSound(127, 0, 1), 127 * 256);
  EXPECT_EQ(StartSound(200, 0, 1), -1);  // the same slot, its one voice playing
  EXPECT_EQ(IsSoundPlaying(127 * 256), 1);
  EXPECT_EQ(IsSoundPlaying(200 * 256), 0);  // channels of slots above 127 do not exist

  EXPECT_EQ(LoadSoundSlot(path.c_str(), -1, 1), 0);
  EXPECT_EQ(StartSound(-1, 0, 1), -1);
  EXPECT_EQ(StartSound(-0.5, 0, 1), -1);  // truncates to slot 0, which is empty
  EXPECT_EQ(StartSound(1e12, 0, 1), -1);  // no integer slot: refused like a negative one
}

TEST_F(SoundOutputTest, ChannelsThatDoNotPlayAnswerZero) {
  LoadStereo(1, ConstantStereo(kOneSecond, 100), 2);
  ASSERT_EQ(StartSound(1, 0, 1), 256);
  EXPECT_EQ(IsSoundPlaying(-1), 0);
  EXPECT_EQ(IsSoundPlaying(256.9), 1);   // truncated to 256
  EXPECT_EQ(IsSoundPlaying(257), 0);     // voice 1 exists but is idle
  EXPECT_EQ(IsSoundPlaying(258), 0);     // beyond the slot's voices
  EXPECT_EQ(IsSoundPlaying(256 + 255), 0);
  EXPECT_EQ(IsSoundPlaying(0), 0);       // slot 0 is empty
  EXPECT_EQ(IsSoundPlaying(std::nan("")), 0);
}

TEST_F(SoundOutputTest, AFailedLoadEmptiesTheSlotAndStopsItsVoices) {
  LoadStereo(8, ConstantStereo(kOneSecond, 100), 2);
  const double channel = StartSound(8, 0, 1);
  ASSERT_EQ(channel, 8 * 256);

  const std::string list = WriteWav("list.wav", wav_bytes::Head({}) + wav_bytes::Chunk("LIST", "INFO") +
                                                    wav_bytes::Chunk("data", Pcm16(ConstantStereo(100, 1))));
  EXPECT_EQ(LoadSoundSlot(list.c_str(), 8, 2), 0);
  EXPECT_EQ(IsSoundPlaying(channel), 0);
  EXPECT_EQ(Subsystems().soundBank->Slot(8).voiceCount, 0);
  EXPECT_EQ(StartSound(8, 0, 1), -1);

  EXPECT_EQ(LoadSoundSlot("", 8, 1), 0);
  EXPECT_EQ(LoadSoundSlot((scratch.Path() + "/missing.wav").c_str(), 8, 1), 0);
  EXPECT_EQ(LoadSoundSlot(scratch.Path().c_str(), 8, 1), 0);  // a folder
  EXPECT_EQ(LoadSoundSlot("/dev/zero", 8, 1), 0);             // not a regular file
  const std::string truncated = WriteWav("cut.wav", PlainFile({}, Pcm16(ConstantStereo(100, 1))).substr(0, 300));
  EXPECT_EQ(LoadSoundSlot(truncated.c_str(), 8, 1), 0);
}

TEST_F(SoundOutputTest, AReloadStartsOverWithTheFirstVoice) {
  LoadStereo(9, ConstantStereo(kOneSecond, 100), 2);
  EXPECT_EQ(StartSound(9, 0, 1), 9 * 256);
  EXPECT_EQ(StartSound(9, 0, 1), 9 * 256 + 1);
  LoadStereo(9, ConstantStereo(kOneSecond, 100), 2);
  EXPECT_EQ(IsSoundPlaying(9 * 256 + 1), 0);
  EXPECT_EQ(StartSound(9, 0, 1), 9 * 256);
}

TEST_F(SoundOutputTest, RelativeNamesAreOpenedFromTheCurrentFolder) {
  WriteWav("relative.wav", PlainFile({}, Pcm16(ConstantStereo(1000, 100))));
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(scratch.Path().c_str()), 0);
  const double loaded = LoadSoundSlot("relative.wav", 10, 1);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(loaded, 1);
}

// Without an audio output the program goes on, with every slot unloadable.
class SoundWithoutDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    CreateSound();
  }
  void TearDown() override { ShutdownSound(); }
  ScratchDirectory scratch;
};

TEST_F(SoundWithoutDevice, EveryLoadFailsAndEveryStartIsRefused) {
  EXPECT_EQ(InitSound(nullptr), 0);
  SetSoundWindow(nullptr);
  scratch.WriteFile("fine.wav", PlainFile({}, Pcm16(ConstantStereo(1000, 100))));
  const std::string path = scratch.Path() + "/fine.wav";
  EXPECT_EQ(LoadSoundSlot(path.c_str(), 1, 1), 0);
  EXPECT_EQ(StartSound(1, 0, 1), -1);
  EXPECT_EQ(IsSoundPlaying(256), 0);
  StopAllSounds();
}

// Start-up leaves the output closed: the first load opens it, or finds none, and then
// every load fails as when opening at start-up failed.
TEST(SoundOnFirstUse, TheFirstLoadOpensTheOutputOrFailsLikeAMissingOne) {
  ScratchDirectory scratch;
  scratch.WriteFile("fine.wav", PlainFile({}, Pcm16(ConstantStereo(1000, 100))));
  const std::string path = scratch.Path() + "/fine.wav";
  for (const bool usable : {true, false}) {
    setenv("SDL_AUDIODRIVER", usable ? "dummy" : "no-such-driver", 1);
    CreateSound();
    StartSoundOnFirstUse(nullptr);
    EXPECT_FALSE(Subsystems().soundDevice->IsOpen());
    EXPECT_EQ(LoadSoundSlot(path.c_str(), 1, 1), usable ? 1 : 0);
    EXPECT_EQ(Subsystems().soundDevice->IsOpen(), usable);
    EXPECT_EQ(LoadSoundSlot(path.c_str(), 2, 1), usable ? 1 : 0);
    EXPECT_EQ(StartSound(2, 0, 1), usable ? 2 * 256 : -1);
    ShutdownSound();
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(SoundWithoutDevice, CommandsBeforeStartUpAndAfterShutdownDoNothing) {
  ShutdownSound();
  EXPECT_EQ(LoadSoundSlot("x.wav", 1, 1), 0);
  EXPECT_EQ(StartSound(1, 0, 1), -1);
  EXPECT_EQ(IsSoundPlaying(256), 0);
  StopAllSounds();
  ShutdownSound();  // a second shutdown finds nothing to release
  EXPECT_EQ(Subsystems().soundBank, nullptr);
  EXPECT_EQ(Subsystems().soundDevice, nullptr);
}

}  // namespace

namespace {

// A sound packed into a resource archive (by the archive tool) loads through the
// archive's lookup when no plain file of that name exists.
TEST_F(SoundOutputTest, SoundsAreFoundInTheSelectedArchive) {
  const std::vector<std::int16_t> samples = ConstantStereo(2000, 777);
  WriteWav("boom.wav", PlainFile({}, Pcm16(samples)));
  const std::string archive = scratch.Path() + "/sounds.vtl";
  const ProcessResult packed = RunProcess(ProgramPath("vtlpack"), {"create", archive, scratch.Path() + "/boom.wav"});
  ASSERT_EQ(packed.exitCode, 0) << packed.output;
  ASSERT_EQ(std::remove((scratch.Path() + "/boom.wav").c_str()), 0);

  CreateArchiveSlots(scratch.Path().c_str());
  EXPECT_EQ(LoadSoundSlot("no/such/folder/boom.wav", 11, 1), 0);  // no archive selected yet
  SelectArchive(archive.c_str(), "");
  EXPECT_EQ(LoadSoundSlot("no/such/folder/boom.wav", 11, 1), 1);
  ReleaseArchiveSlots();

  WaitUntilSilent(StartSound(11, 0, 1));
  EXPECT_NE(Capture().FindFrames(samples), std::string::npos);
}

}  // namespace
