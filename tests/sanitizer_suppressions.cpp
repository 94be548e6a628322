// Compiled into every test executable. For the leak checker of the sanitizer build:
// memory that system libraries keep on purpose or lose on their own, never the engine's.
//   libdbus: SDL's D-Bus connection (screen saver, input methods on X11) lives until exit.
//   swrast_dri: Mesa's software rasteriser loses the sample buffers of a multisampled
//   window when the window is destroyed.
// The checker's own tracking of dynamically allocated thread-local storage is off: the GL
// driver's threads leave stale entries in it, and the checker's tracer then crashes at exit
// now and then on a busy machine, failing a test that passed.

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:swrast_dri.so\n"; }
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
#endif
