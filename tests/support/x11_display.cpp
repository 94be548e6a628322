#include "support/x11_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "support/process_runner.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kXvfbPath = "/usr/bin/Xvfb";
constexpr const char* kXdotoolPath = "/usr/bin/xdotool";
constexpr const char* kSoftwareWarningTitle = "!!OpenGL Software Emulation!!";

// Windows come and go while a test looks at them; a request on a vanished window must
// not end the test process, as Xlib's default handler would.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

class Connection {
 public:
  explicit Connection(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
    XSetErrorHandler(IgnoreXErrors);
  }
  ~Connection() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Display* get() const { return display_; }

 private:
  Display* display_;
};

std::string TitleOf(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
          Success &&
      data != nullptr && count > 0) {
    title.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  if (!title.empty()) return title;
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

Window SearchTree(Display* display, Window parent, const std::string& title, int depth) {
  Window root = 0;
  Window parentOfParent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    if (TitleOf(display, children[i]) == title) found = children[i];
    else if (depth > 0) found = SearchTree(display, children[i], title, depth - 1);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

XvfbServer::XvfbServer(const std::string& screen) {
  // Display numbers from a starting point that differs between processes; a number in
  // use is seen from its lock file or from the server giving up at once.
  const int first = 120 + static_cast<int>(getpid() % 500) * 3;
  for (int number = first; number < first + 40 && display_.empty(); ++number) {
    const std::string name = ":" + std::to_string(number);
    if (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0) continue;
    const pid_t server = fork();
    if (server == 0) {
      execl(kXvfbPath, kXvfbPath, name.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    if (server < 0) return;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
      int status = 0;
      if (waitpid(server, &status, WNOHANG) == server) break;  // that number was taken
      if (::Display* probe = XOpenDisplay(name.c_str())) {
        XCloseDisplay(probe);
        pid_ = server;
        display_ = name;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (waitpid(server, nullptr, WNOHANG) == 0) {
      kill(server, SIGKILL);
      waitpid(server, nullptr, 0);
    }
  }
}

XvfbServer::~XvfbServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

std::vector<std::string> XvfbServer::Environment() const {
  return {"DISPLAY=" + display_, "SDL_VIDEODRIVER=x11"};
}

unsigned long FindWindowByTitle(const std::string& display, const std::string& title, int timeoutMs) {
  Connection connection(display);
  if (connection.get() == nullptr) return 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const Window found = SearchTree(connection.get(), DefaultRootWindow(connection.get()), title, 2);
    if (found != 0 || Clock::now() >= deadline) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::string WindowTitle(const std::string& display, unsigned long window) {
  Connection connection(display);
  return connection.get() ? TitleOf(connection.get(), window) : "";
}

bool WaitForWindowTitle(const std::string& display, unsigned long window, const std::string& title,
                        int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (WindowTitle(display, window) == title) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

WindowGeometry GetWindowGeometry(const std::string& display, unsigned long window) {
  Connection connection(display);
  WindowGeometry geometry;
  XWindowAttributes attributes;
  if (connection.get() == nullptr || !XGetWindowAttributes(connection.get(), window, &attributes)) return geometry;
  Window child = 0;
  XTranslateCoordinates(connection.get(), window, attributes.root, 0, 0, &geometry.x, &geometry.y, &child);
  geometry.width = attributes.width;
  geometry.height = attributes.height;
  return geometry;
}

bool SendCloseRequest(const std::string& display, unsigned long window) {
  Connection connection(display);
  Display* d = connection.get();
  if (d == nullptr) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, window, &attributes)) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d, window, False, NoEventMask, &event) != 0;
  XSync(d, False);
  return sent;
}

unsigned long ScreenRootWindow(const std::string& display) {
  Connection connection(display);
  return connection.get() ? DefaultRootWindow(connection.get()) : 0;
}

int RunXdotool(const std::string& display, const std::vector<std::string>& arguments) {
  return RunProcess(kXdotoolPath, arguments, {"DISPLAY=" + display}, 20).exitCode;
}

bool FocusWindow(const std::string& display, unsigned long window) {
  return RunXdotool(display, {"windowfocus", "--sync", std::to_string(window)}) == 0;
}

void HoldKey(const std::string& display, const std::string& key, int holdMs) {
  RunXdotool(display, {"keydown", key});
  std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
  RunXdotool(display, {"keyup", key});
}

bool DismissSoftwareWarning(const std::string& display, int timeoutMs) {
  const unsigned long box = FindWindowByTitle(display, kSoftwareWarningTitle, timeoutMs);
  if (box == 0) return false;
  FocusWindow(display, box);
  // The box is gone once the engine goes on. A box that has not answered after a few
  // seconds (not yet ready for keys, or a busy machine) gets a close request, then the
  // key again, in turn, until the time is up.
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (int attempt = 0;; ++attempt) {
    if (attempt % 2 == 0) {
      RunXdotool(display, {"key", "--window", std::to_string(box), "Return"});
    } else {
      SendCloseRequest(display, box);
    }
    const auto nextAttempt = std::min(deadline, Clock::now() + std::chrono::seconds(3));
    while (Clock::now() < nextAttempt) {
      if (FindWindowByTitle(display, kSoftwareWarningTitle, 0) == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (Clock::now() >= deadline) return FindWindowByTitle(display, kSoftwareWarningTitle, 0) == 0;
  }
}
