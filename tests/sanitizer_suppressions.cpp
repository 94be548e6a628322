// Compiled into every test executable. For the leak checker of the sanitizer build:
// memory that system libraries keep on purpose or lose on their own, never the engine's.
//   libdbus: SDL's D-Bus connection (screen saver, input methods on X11) lives until exit.
//   swrast_dri: Mesa's software rasteriser loses the sample buffers of a multisampled
//   window when the window is destroyed.

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:swrast_dri.so\n"; }
#endif
