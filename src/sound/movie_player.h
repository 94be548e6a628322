#pragma once
// A movie file played by libmpv, its pictures drawn into the game's OpenGL context.
//
// The player decodes on its own threads and keeps picture and sound in sync itself; its
// sound goes to the system's audio output through the player's own audio output (a
// silent one when there is no device), as the library offers no way to hand decoded
// sound to our mixer. Pictures are rendered by the library into a texture of the size
// the movie is shown at, then drawn as one quad, so the fit-and-centre rectangle is
// exactly ours and the rest of the window stays black.
//
// Every call runs on the game thread with the game's GL context current.

#include <cstdint>
#include <string>

#include "sound/media_rules.h"
#include "video/gl_texture.h"

struct mpv_handle;
struct mpv_render_context;

class MoviePlayer {
 public:
  enum class LoadState { kLoading, kReady, kFailed };

  MoviePlayer() = default;
  // Stops the player and frees its GL objects (the context must still be current).
  ~MoviePlayer();
  MoviePlayer(const MoviePlayer&) = delete;
  MoviePlayer& operator=(const MoviePlayer&) = delete;

  // Starts loading the regular file at path, paused at its start. False when it is not a
  // regular file or the player cannot start on this GL context.
  bool Load(const std::string& path);
  // Handles the player's news, waiting up to waitSeconds for some. Ready once the file
  // is open with a known length above 0; failed when it cannot be played or its length
  // is unknown or 0.
  LoadState PollLoad(double waitSeconds);

  // Seconds, known once ready.
  double Length() const { return length_; }
  // Seconds from the start.
  double Position();
  void Play();
  // Back to the start and playing.
  void Restart();
  // The position has reached the end (the player holds the last picture there), or the
  // player gave up on the file.
  bool HasEnded();
  // The player gave up on the file, or it ended before any of it played.
  bool Failed() const { return failed_; }

  // The movie's picture size (after its pixel aspect), 0 until the first picture is
  // decoded or when it has none.
  int SourceWidth() const { return sourceWidth_; }
  int SourceHeight() const { return sourceHeight_; }
  // Draws the newest picture fitted and centred into a surface of the given size, black
  // around it (and everywhere before the first picture). Leaves the 2D projection and
  // the texture binding changed: the caller restores its drawing state.
  void Draw(int surfaceWidth, int surfaceHeight);
  // Pictures the player has rendered so far.
  std::int64_t PicturesRendered() const { return picturesRendered_; }

 private:
  void HandleEvents(double waitSeconds);
  bool PrepareTarget(int width, int height);
  void RenderPicture(const MovieRectangle& target);
  void DrawPicture(const MovieRectangle& target, int surfaceWidth, int surfaceHeight);

  mpv_handle* player_ = nullptr;
  mpv_render_context* render_ = nullptr;
  bool loaded_ = false;
  bool failed_ = false;
  bool restarting_ = false;  // sent back to the start, not yet seen away from the end
  bool played_ = false;      // the position moved or a picture was drawn
  double length_ = 0;
  int sourceWidth_ = 0;
  int sourceHeight_ = 0;
  std::int64_t picturesRendered_ = 0;
  // The texture the player renders into, with its framebuffer and size.
  GlTexture texture_;
  unsigned framebuffer_ = 0;
  int targetWidth_ = 0;
  int targetHeight_ = 0;
};
