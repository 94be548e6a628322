#pragma once
// The movie player library, loaded when the game first plays a movie rather than with
// the program. It brings its decoders, audio outputs and their dependencies, over two
// hundred libraries: loading them before the window opened added about 160 ms of
// processor time to the start-up of every game that can play movies. The types come
// from the library's headers; the functions the engine calls are reached through the
// table below.

#include <mpv/client.h>
#include <mpv/render_gl.h>

struct MovieLibrary {
  decltype(&mpv_create) create = nullptr;
  decltype(&mpv_set_option_string) setOptionString = nullptr;
  decltype(&mpv_initialize) initialize = nullptr;
  decltype(&mpv_command) command = nullptr;
  decltype(&mpv_wait_event) waitEvent = nullptr;
  decltype(&mpv_get_property) getProperty = nullptr;
  decltype(&mpv_set_property) setProperty = nullptr;
  decltype(&mpv_terminate_destroy) terminateDestroy = nullptr;
  decltype(&mpv_render_context_create) renderContextCreate = nullptr;
  decltype(&mpv_render_context_update) renderContextUpdate = nullptr;
  decltype(&mpv_render_context_render) renderContextRender = nullptr;
  decltype(&mpv_render_context_free) renderContextFree = nullptr;
};

// The player library's functions, loading it on the first call (it stays loaded until
// the process ends). Null when the library or one of its functions is missing: no movie
// then loads.
const MovieLibrary* MoviePlayerLibrary();
