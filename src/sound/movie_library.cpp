#include "sound/movie_library.h"

#include "sound/deferred_library.h"

namespace {

bool LoadMovieLibrary(MovieLibrary& movie) {
  void* const library = OpenFirstLibrary({"libmpv.so.2", "libmpv.so"});
  // Never closed: the player's threads may outlive the last movie by a moment.
  return library != nullptr && ResolveFunction(library, "mpv_create", movie.create) &&
         ResolveFunction(library, "mpv_set_option_string", movie.setOptionString) &&
         ResolveFunction(library, "mpv_initialize", movie.initialize) && ResolveFunction(library, "mpv_command", movie.command) &&
         ResolveFunction(library, "mpv_wait_event", movie.waitEvent) &&
         ResolveFunction(library, "mpv_get_property", movie.getProperty) &&
         ResolveFunction(library, "mpv_set_property", movie.setProperty) &&
         ResolveFunction(library, "mpv_terminate_destroy", movie.terminateDestroy) &&
         ResolveFunction(library, "mpv_render_context_create", movie.renderContextCreate) &&
         ResolveFunction(library, "mpv_render_context_update", movie.renderContextUpdate) &&
         ResolveFunction(library, "mpv_render_context_render", movie.renderContextRender) &&
         ResolveFunction(library, "mpv_render_context_free", movie.renderContextFree);
}

}  // namespace

const MovieLibrary* MoviePlayerLibrary() {
  static MovieLibrary movie;
  static const bool loaded = LoadMovieLibrary(movie);
  return loaded ? &movie : nullptr;
}
