#include "host/movie_commands.h"

#include <SDL2/SDL.h>

#include <string>

#include "base/engine_state.h"
#include "base/program_end.h"
#include "files/archive.h"
#include "host/frame_present.h"
#include "host/message_pump.h"
#include "input/input_commands.h"
#include "input/input_system.h"
#include "input/typed_characters.h"
#include "sound/movie_player.h"
#include "sound/music_commands.h"
#include "video/renderer.h"

namespace {

// How long one look at the player's news may wait while a file loads.
constexpr double kLoadPollSeconds = 0.01;

// Handles the window's events; the window gone ends the program as closing it does.
void KeepWindowAlive(OpenGLDiveduva& renderer) {
  PumpMessages(renderer);
  if (renderer.window == nullptr) EndProgram();
}

}  // namespace

int PlayMovieFile(const BasicString& fileName, bool looped, const std::function<void(MoviePlayer&)>& frameDrawn) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr || renderer->context == nullptr || renderer->window == nullptr) return 0;
  FlushQuadBatch(*renderer);
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) return 0;

  int starts = 0;
  {
    MoviePlayer player;
    if (!player.Load(path)) return 0;
    MoviePlayer::LoadState state = MoviePlayer::LoadState::kLoading;
    while ((state = player.PollLoad(kLoadPollSeconds)) == MoviePlayer::LoadState::kLoading) {
      KeepWindowAlive(*renderer);
    }
    if (state != MoviePlayer::LoadState::kReady) return 0;

    // Keys typed and buttons pressed before the movie starts do not skip it; a key
    // held since then counts only once let go and pressed again.
    const KeyOrClickWatch skip = StartKeyOrClickWatch();
    player.Play();
    starts = 1;
    while (!KeyOrClickSince(skip)) {
      if (player.HasEnded()) {
        if (!looped || player.Failed()) break;
        player.Restart();
        ++starts;
      }
      player.Draw(renderer->surfaceWidth, renderer->surfaceHeight);
      // The player changed texture units and the projection; the engine's 2D state
      // comes back before anything of the game could draw.
      renderer->drawing2D.secondUnitOff = false;
      SetViewport2D(*renderer, 0, 0, 0, 0);
      if (frameDrawn) frameDrawn(player);
      SwapAndPace(*renderer);
      if (renderer->window == nullptr) EndProgram();
      // As at the end of every frame: keys and buttons are seen afresh, so a key let go
      // and pressed again counts as typed again.
      RefreshKeyboard();
      BeginMouseFrame();
      KeepMusicLooping();
    }
  }
  // The game's next frame starts from its usual drawing state.
  ResetFrameDrawingState(*renderer);
  return starts;
}

void PlayMovie(const BasicString& fileName) { PlayMovieFile(fileName, false); }

void PlayMovieLooped(const BasicString& fileName) { PlayMovieFile(fileName, true); }
