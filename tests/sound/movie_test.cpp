// Movies played over the game window on SDL's offscreen driver: the picture read back,
// skipping by key and button events handed to the engine as the window system would.

#include <gtest/gtest.h>

#include <SDL2/SDL_opengl.h>

#include <array>
#include <cstdlib>

#include <sys/stat.h>

#include "files/archive.h"
#include "host/movie_commands.h"
#include "input/input_fixture.h"
#include "sound/movie_player.h"
#include "support/process_runner.h"

namespace {

using Pixel = std::array<int, 3>;

class MovieTest : public InputFixture {
 protected:
  // Colours as this test compares them, not the renderer fixture's pixels.
  using Pixel = std::array<int, 3>;

  // One clip for every test: 2 s of the test pattern at 320 x 200, 25 pictures a second,
  // with a sine sound track.
  static void SetUpTestSuite() {
    clips = new ScratchDirectory();
    const ProcessResult result = RunProcess(
        "/usr/bin/ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x200:rate=25", "-f", "lavfi", "-i",
                            "sine=frequency=440:sample_rate=44100", "-t", "2", "-pix_fmt", "yuv420p",
                            clips->Path() + "/clip.mkv"});
    ASSERT_EQ(result.exitCode, 0) << "ffmpeg failed (scripts/install-deps.sh installs it): " << result.output;
  }
  static void TearDownTestSuite() {
    delete clips;
    clips = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(clips, nullptr);
    InputFixture::SetUp();
  }

  static std::string Clip() { return clips->Path() + "/clip.mkv"; }

  // The drawn pixel at window column x, row y from the top.
  Pixel PixelAt(int x, int y) const {
    std::array<std::uint8_t, 4> rgba{};
    FlushEngineQuadBatch();
    glReadPixels(x, renderer->surfaceHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
  }
  static bool Near(const Pixel& pixel, const Pixel& expected) {
    for (int i = 0; i < 3; ++i) {
      if (std::abs(pixel[i] - expected[i]) > 48) return false;
    }
    return true;
  }

  static inline ScratchDirectory* clips = nullptr;
};

std::string Describe(const Pixel& pixel) {
  return std::to_string(pixel[0]) + "," + std::to_string(pixel[1]) + "," + std::to_string(pixel[2]);
}

TEST_F(MovieTest, A320x200MovieFillsA640x480WindowAs640x400FortyPixelsDown) {
  int checked = 0;
  const int starts = PlayMovieFile(Clip().c_str(), false, [&](MoviePlayer& player) {
    if (player.PicturesRendered() == 0 || checked++ > 0) return;
    EXPECT_EQ(player.SourceWidth(), 320);
    EXPECT_EQ(player.SourceHeight(), 200);
    // The colour bars run from the top of the picture to its bottom, 80 window pixels
    // wide each, but for a rainbow band across movie rows 150 to 175 (so row 35 upside
    // down would be the band).
    const Pixel black{0, 0, 0};
    const struct {
      int x;
      Pixel colour;
    } bars[] = {{100, {255, 0, 255}}, {140, {0, 0, 255}}, {180, {255, 255, 0}}, {220, {0, 255, 0}}};
    for (const auto& bar : bars) {
      for (int movieRow : {35, 190}) {
        const Pixel pixel = PixelAt(bar.x * 2, 40 + movieRow * 2);
        EXPECT_TRUE(Near(pixel, bar.colour)) << "bar at movie x " << bar.x << " row " << movieRow << ": "
                                             << Describe(pixel);
      }
    }
    // Black bars above and below, and the picture's edges exactly at rows 40 and 439.
    for (int row : {0, 20, 39, 440, 460, 479}) EXPECT_EQ(PixelAt(360, row), black) << "row " << row;
    for (int row : {40, 439}) EXPECT_TRUE(Near(PixelAt(360, row), {255, 255, 0})) << "row " << row;
    PushButton(SDL_BUTTON_LEFT, true);
  });
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(checked, 1) << "no picture was ever drawn";
}

// The text a key press types, as the window system delivers it after the key.
void PushTypedA() {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  event.text.text[0] = 'a';
  ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

TEST_F(MovieTest, AKeyHeldWhenTheMovieStartsDoesNotSkipItButANewPressDoes) {
  PushKey(SDL_SCANCODE_A, true, SDLK_a);
  PushTypedA();
  int frames = 0;
  const int starts = PlayMovieFile(Clip().c_str(), false, [&](MoviePlayer&) {
    ++frames;
    if (frames == 5) PushKey(SDL_SCANCODE_A, false, SDLK_a);
    if (frames == 8) {
      PushKey(SDL_SCANCODE_A, true, SDLK_a);
      PushTypedA();
    }
  });
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(frames, 8) << "the movie did not end right after the new press";
}

TEST_F(MovieTest, ALoopedMovieStartsAgainUntilAClick) {
  double lastPosition = 0;
  bool clicked = false;
  const int starts = PlayMovieFile(Clip().c_str(), true, [&](MoviePlayer& player) {
    const double position = player.Position();
    if (!clicked && position + 0.5 < lastPosition) {
      PushButton(SDL_BUTTON_RIGHT, true);
      clicked = true;
    }
    lastPosition = position;
  });
  EXPECT_TRUE(clicked) << "the picture never went back to the start";
  EXPECT_EQ(starts, 2);
}

TEST_F(MovieTest, AClipInTheArchivePlays) {
  const ScratchDirectory packed;
  const std::string archive = packed.Path() + "/Movies.vtl";
  const ProcessResult pack = RunProcess(ProgramPath("vtlpack"), {"create", archive, Clip()});
  ASSERT_EQ(pack.exitCode, 0) << pack.output;
  CreateArchiveSlots(packed.Path().c_str());
  SelectArchive(archive.c_str(), archive.c_str());
  std::int64_t pictures = 0;
  const int starts = PlayMovieFile("cut/scenes/clip.mkv", false, [&](MoviePlayer& player) {
    pictures = player.PicturesRendered();
    if (pictures > 0) PushButton(SDL_BUTTON_LEFT, true);
  });
  ReleaseArchiveSlots();
  EXPECT_EQ(starts, 1);
  EXPECT_GT(pictures, 0);
}

TEST_F(MovieTest, FilesThatAreNotMoviesEndTheCommandAtOnce) {
  const ScratchDirectory files;
  files.WriteFile("text.mkv", "not a movie at all\n");
  files.WriteFile("cut.mkv", clips->ReadFile("clip.mkv").substr(0, 600));
  ASSERT_EQ(RunProcess("/usr/bin/ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=32x20", "-frames:v", "1",
                                           files.Path() + "/still.png"})
                .exitCode,
            0);
  ASSERT_EQ(mkfifo((files.Path() + "/pipe.mkv").c_str(), 0600), 0);
  for (const char* name : {"missing.mkv", "text.mkv", "still.png", "pipe.mkv", ""}) {
    int frames = 0;
    EXPECT_EQ(PlayMovieFile((files.Path() + "/" + name).c_str(), true, [&](MoviePlayer&) { ++frames; }), 0)
        << name;
    EXPECT_EQ(frames, 0) << name;
  }
  // The cut clip's header promises 2 s: it starts, finds nothing to play and ends, and
  // the looped form does not send it back to its start forever.
  EXPECT_EQ(PlayMovieFile((files.Path() + "/cut.mkv").c_str(), true), 1);
}

}  // namespace
