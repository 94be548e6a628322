#pragma once
// A private X server (Xvfb) for whole-program tests, and the few things a test does to
// the windows on it: find them by title, read their title and size, ask them to close,
// and drive the keyboard and focus through xdotool.

#include <sys/types.h>

#include <string>
#include <vector>

class XvfbServer {
 public:
  // Starts Xvfb on the first free display number from a per-process starting point, so
  // tests running in parallel each get their own server. screen is "WxHxDepth".
  explicit XvfbServer(const std::string& screen = "800x600x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Ready() const { return !display_.empty(); }
  // ":<number>".
  const std::string& Display() const { return display_; }
  // Environment entries a program needs to open its window on this server.
  std::vector<std::string> Environment() const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// The first top-level window (or child of one) whose title is title; 0 when none shows up
// within timeoutMs.
unsigned long FindWindowByTitle(const std::string& display, const std::string& title, int timeoutMs);
// The window's title ("" when it has none or is gone).
std::string WindowTitle(const std::string& display, unsigned long window);
// Waits until the window's title is title; false after timeoutMs.
bool WaitForWindowTitle(const std::string& display, unsigned long window, const std::string& title,
                        int timeoutMs);
struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
// The window's client area, its position relative to the root window.
WindowGeometry GetWindowGeometry(const std::string& display, unsigned long window);
// Asks the window to close, as a window manager does on a click on its close button
// (WM_DELETE_WINDOW). False when the window is gone.
bool SendCloseRequest(const std::string& display, unsigned long window);
// The root window of the display.
unsigned long ScreenRootWindow(const std::string& display);

// Runs xdotool with arguments on the display; its exit code.
int RunXdotool(const std::string& display, const std::vector<std::string>& arguments);
// Gives the window the keyboard focus and waits until it has it.
bool FocusWindow(const std::string& display, unsigned long window);
// Holds key (an X key name such as "Escape") down for holdMs on the focused window.
void HoldKey(const std::string& display, const std::string& key, int holdMs);
// Waits for the engine's software-rendering warning box and closes it with Return as a
// player would. False when no box appeared within timeoutMs.
bool DismissSoftwareWarning(const std::string& display, int timeoutMs);
