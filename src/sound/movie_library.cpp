#include "sound/movie_library.h"

#include <dlfcn.h>

namespace {

// The run-time name of the player library, then the development link as a fallback.
constexpr const char* kMovieLibraryNames[] = {"libmpv.so.2", "libmpv.so"};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool LoadMovieLibrary(MovieLibrary& movie) {
  void* library = nullptr;
  for (const char* name : kMovieLibraryNames) {
    library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr) break;
  }
  // Never closed: the player's threads may outlive the last movie by a moment.
  return library != nullptr && Resolve(library, "mpv_create", movie.create) &&
         Resolve(library, "mpv_set_option_string", movie.setOptionString) &&
         Resolve(library, "mpv_initialize", movie.initialize) && Resolve(library, "mpv_command", movie.command) &&
         Resolve(library, "mpv_wait_event", movie.waitEvent) &&
         Resolve(library, "mpv_get_property", movie.getProperty) &&
         Resolve(library, "mpv_set_property", movie.setProperty) &&
         Resolve(library, "mpv_terminate_destroy", movie.terminateDestroy) &&
         Resolve(library, "mpv_render_context_create", movie.renderContextCreate) &&
         Resolve(library, "mpv_render_context_update", movie.renderContextUpdate) &&
         Resolve(library, "mpv_render_context_render", movie.renderContextRender) &&
         Resolve(library, "mpv_render_context_free", movie.renderContextFree);
}

}  // namespace

const MovieLibrary* MoviePlayerLibrary() {
  static MovieLibrary movie;
  static const bool loaded = LoadMovieLibrary(movie);
  return loaded ? &movie : nullptr;
}
