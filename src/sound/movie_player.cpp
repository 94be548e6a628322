#include "sound/movie_player.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <climits>
#include <cstdlib>

#include "sound/movie_library.h"
#include "sound/sound_file.h"

namespace {

// The GL 3.0 entry points the player's render target needs, looked up once a context is
// current. The library itself needs framebuffers, so a context without them plays no
// movie.
struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLUSEPROGRAMPROC useProgram = nullptr;
  PFNGLACTIVETEXTUREPROC activeTexture = nullptr;

  bool Load() {
    genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glGenFramebuffers"));
    deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteFramebuffers"));
    bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    framebufferTexture2D =
        reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DPROC>(SDL_GL_GetProcAddress("glFramebufferTexture2D"));
    checkFramebufferStatus =
        reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
    useProgram = reinterpret_cast<PFNGLUSEPROGRAMPROC>(SDL_GL_GetProcAddress("glUseProgram"));
    activeTexture = reinterpret_cast<PFNGLACTIVETEXTUREPROC>(SDL_GL_GetProcAddress("glActiveTexture"));
    return genFramebuffers && deleteFramebuffers && bindFramebuffer && framebufferTexture2D &&
           checkFramebufferStatus && useProgram && activeTexture;
  }
};

FramebufferCalls gl;

void* LookUpGlFunction(void*, const char* name) { return SDL_GL_GetProcAddress(name); }

// The player library's functions. Used only by Load after it has checked that the
// library loads, and on a player or render context that Load made.
const MovieLibrary& Player() { return *MoviePlayerLibrary(); }

// Options set before the player starts: pictures only through our render context, no
// terminal, scripts, key bindings, configuration or files found beside the movie; paused
// at the start once loaded, and held on the last picture at the end instead of unloading,
// so the end is seen as a position and the movie can be sent back to its start. Sound
// goes to the first system output that opens, else to a silent output that still keeps
// the picture's clock.
constexpr const char* kPlayerOptions[][2] = {
    {"vo", "libmpv"},
    {"ao", "pipewire,pulse,alsa,jack,null"},
    {"hwdec", "no"},
    {"idle", "yes"},
    {"pause", "yes"},
    {"keep-open", "yes"},
    {"terminal", "no"},
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osd-level", "0"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"resume-playback", "no"},
};

}  // namespace

MoviePlayer::~MoviePlayer() {
  if (render_ != nullptr) Player().renderContextFree(render_);
  if (player_ != nullptr) Player().terminateDestroy(player_);
  if (framebuffer_ != 0) gl.deleteFramebuffers(1, &framebuffer_);
}

bool MoviePlayer::Load(const std::string& path) {
  // A FIFO or device would keep the player waiting; an absolute path keeps the player
  // from reading a name such as "x://y" or "-" as anything but a file.
  if (!IsRegularFile(path)) return false;
  char* absolute = realpath(path.c_str(), nullptr);
  if (absolute == nullptr) return false;
  const std::string file = absolute;
  std::free(absolute);
  if (SDL_GL_GetCurrentContext() == nullptr || !gl.Load()) return false;
  if (MoviePlayerLibrary() == nullptr) return false;

  player_ = Player().create();
  if (player_ == nullptr) return false;
  for (const auto& option : kPlayerOptions) Player().setOptionString(player_, option[0], option[1]);
  if (Player().initialize(player_) < 0) return false;

  mpv_opengl_init_params glInit{LookUpGlFunction, nullptr};
  mpv_render_param parameters[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
      {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (Player().renderContextCreate(&render_, player_, parameters) < 0) {
    render_ = nullptr;
    return false;
  }
  const char* command[] = {"loadfile", file.c_str(), nullptr};
  return Player().command(player_, command) >= 0;
}

void MoviePlayer::HandleEvents(double waitSeconds) {
  if (player_ == nullptr) return;
  for (mpv_event* event = Player().waitEvent(player_, waitSeconds); event->event_id != MPV_EVENT_NONE;
       event = Player().waitEvent(player_, 0)) {
    switch (event->event_id) {
      case MPV_EVENT_FILE_LOADED: {
        loaded_ = true;
        double length = 0;
        if (Player().getProperty(player_, "duration", MPV_FORMAT_DOUBLE, &length) < 0) length = 0;
        length_ = length > 0 ? length : 0;
        break;
      }
      case MPV_EVENT_END_FILE:
      case MPV_EVENT_SHUTDOWN:
        // With the last picture held at the end, a file ends only when it cannot be played.
        failed_ = true;
        break;
      case MPV_EVENT_VIDEO_RECONFIG: {
        std::int64_t width = 0, height = 0;
        if (Player().getProperty(player_, "dwidth", MPV_FORMAT_INT64, &width) < 0) width = 0;
        if (Player().getProperty(player_, "dheight", MPV_FORMAT_INT64, &height) < 0) height = 0;
        // A picture larger than any texture is not drawn.
        const bool usable = width > 0 && height > 0 && width <= 16384 && height <= 16384;
        sourceWidth_ = usable ? static_cast<int>(width) : 0;
        sourceHeight_ = usable ? static_cast<int>(height) : 0;
        break;
      }
      default:
        break;
    }
    if (event->event_id == MPV_EVENT_SHUTDOWN) break;
  }
}

MoviePlayer::LoadState MoviePlayer::PollLoad(double waitSeconds) {
  if (player_ == nullptr) return LoadState::kFailed;
  if (!loaded_ && !failed_) HandleEvents(waitSeconds);
  if (failed_) return LoadState::kFailed;
  if (!loaded_) return LoadState::kLoading;
  return length_ > 0 ? LoadState::kReady : LoadState::kFailed;
}

double MoviePlayer::Position() {
  double position = 0;
  if (player_ == nullptr || Player().getProperty(player_, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0) return 0;
  return position;
}

void MoviePlayer::Play() {
  if (player_ == nullptr) return;
  int no = 0;
  Player().setProperty(player_, "pause", MPV_FORMAT_FLAG, &no);
}

void MoviePlayer::Restart() {
  if (player_ == nullptr) return;
  const char* command[] = {"seek", "0", "absolute+exact", nullptr};
  Player().command(player_, command);
  Play();
  restarting_ = true;
}

bool MoviePlayer::HasEnded() {
  HandleEvents(0);
  if (failed_ || player_ == nullptr) return true;
  int atEnd = 0;
  if (Player().getProperty(player_, "eof-reached", MPV_FORMAT_FLAG, &atEnd) < 0) atEnd = 0;
  const double position = Position();
  const bool pastEnd = atEnd != 0 || position >= length_;
  // The player seeks on its own thread: until it has left the end, the end it reports
  // is the one the movie was sent back from.
  if (restarting_) {
    if (!pastEnd) restarting_ = false;
    return false;
  }
  if (picturesRendered_ > 0 || (position > 0 && position < length_)) played_ = true;
  // A file that ends before anything of it played is damaged; played again it would
  // end again at once, forever.
  if (pastEnd && !played_) failed_ = true;
  return pastEnd;
}

bool MoviePlayer::PrepareTarget(int width, int height) {
  if (width == targetWidth_ && height == targetHeight_ && framebuffer_ != 0) return true;
  if (texture_ == 0) texture_.Create();
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  // The texture is drawn at its own size: every texel lands on one pixel.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (framebuffer_ == 0) gl.genFramebuffers(1, &framebuffer_);
  gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  const bool complete = gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  targetWidth_ = complete ? width : 0;
  targetHeight_ = complete ? height : 0;
  return complete;
}

void MoviePlayer::RenderPicture(const MovieRectangle& target) {
  if (render_ == nullptr || target.width <= 0 || target.height <= 0) return;
  if ((Player().renderContextUpdate(render_) & MPV_RENDER_UPDATE_FRAME) == 0 && picturesRendered_ > 0 &&
      target.width == targetWidth_ && target.height == targetHeight_) {
    return;
  }
  if (!PrepareTarget(target.width, target.height)) return;
  // The library expects GL's default state; the engine's 2D state is fixed-function
  // state that it does not share, except for these.
  gl.useProgram(0);
  gl.activeTexture(GL_TEXTURE0);
  for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_CULL_FACE, GL_ALPHA_TEST}) {
    glDisable(capability);
  }
  mpv_opengl_fbo framebuffer{static_cast<int>(framebuffer_), target.width, target.height, 0};
  // Our frame loop paces the frames; the library must not wait for a picture's time too.
  int blockForTargetTime = 0;
  mpv_render_param parameters[] = {
      {MPV_RENDER_PARAM_OPENGL_FBO, &framebuffer},
      {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (Player().renderContextRender(render_, parameters) >= 0) ++picturesRendered_;
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void MoviePlayer::DrawPicture(const MovieRectangle& target, int surfaceWidth, int surfaceHeight) {
  glViewport(0, 0, surfaceWidth, surfaceHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (picturesRendered_ == 0 || target.width != targetWidth_ || target.height != targetHeight_) return;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, surfaceWidth, surfaceHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gl.activeTexture(GL_TEXTURE1);
  glDisable(GL_TEXTURE_2D);
  gl.activeTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  // Rendered without flipping, the picture's top row is the texture's first row.
  const float left = static_cast<float>(target.x), top = static_cast<float>(target.y);
  const float right = left + static_cast<float>(target.width), bottom = top + static_cast<float>(target.height);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(left, top);
  glTexCoord2f(0, 1);
  glVertex2f(left, bottom);
  glTexCoord2f(1, 1);
  glVertex2f(right, bottom);
  glTexCoord2f(1, 0);
  glVertex2f(right, top);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void MoviePlayer::Draw(int surfaceWidth, int surfaceHeight) {
  HandleEvents(0);
  const MovieRectangle target = FitMovieRectangle(sourceWidth_, sourceHeight_, surfaceWidth, surfaceHeight);
  RenderPicture(target);
  DrawPicture(target, surfaceWidth, surfaceHeight);
}
