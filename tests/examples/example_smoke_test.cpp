// The example games on private X servers: each plays itself for a number of frames
// ("--frames"), shows a picture that is not black, and ends with code 0 on Escape; two
// network examples on one machine see each other and exchange chat lines; the 3D example
// stops at a wall and picks a crystal.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"
#include "support/x11_screenshot.h"

namespace {

// Generous: the machine running the tests may be heavily loaded.
constexpr int kStartTimeoutMs = 60000;
constexpr int kPlayTimeoutMs = 180000;
constexpr const char* kFrames = "120";

// One example game on its own Xvfb server.
class RunningExample {
 public:
  RunningExample(const std::string& program, std::vector<std::string> arguments, const std::string& title)
      : title_(title) {
    arguments.insert(arguments.end(), {"--frames", kFrames});
    std::vector<std::string> environment = server_.Environment();
    environment.push_back("TMPDIR=" + scratch_.Path());
    game_ = std::make_unique<ChildProcess>(ProgramPath(program), arguments, environment);
  }

  // Up to "Init OK", closing the software-rendering warning as a player would.
  void Start() {
    ASSERT_TRUE(server_.Ready()) << "Xvfb did not start";
    ASSERT_TRUE(DismissSoftwareWarning(server_.Display(), kStartTimeoutMs)) << game_->Output();
    ASSERT_TRUE(game_->WaitForOutput("Init OK\n", kStartTimeoutMs)) << game_->Output();
  }

  void WaitForFrames() { ASSERT_TRUE(game_->WaitForOutput("Frames done\n", kPlayTimeoutMs)) << game_->Output(); }

  // What the window shows (the game is waiting on its last frame, so it stays put);
  // empty when the window cannot be found.
  WindowPicture Shown() {
    const unsigned long window = FindWindowByTitle(server_.Display(), title_, 5000);
    return window == 0 ? WindowPicture{} : CaptureWindow(server_.Display(), window);
  }

  // Share of the window's pixels with a channel above 16.
  double LitShare() {
    const WindowPicture shown = Shown();
    if (shown.Empty()) return 0;
    int lit = 0;
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        const std::uint8_t* pixel = shown.At(x, y);
        if (pixel[0] > 16 || pixel[1] > 16 || pixel[2] > 16) ++lit;
      }
    }
    return static_cast<double>(lit) / (shown.width * shown.height);
  }

  // Escape ends the game; its exit code. A key tap a busy machine let pass unseen is
  // repeated.
  int End() {
    for (int attempt = 0; attempt < 10; ++attempt) {
      const unsigned long window = FindWindowByTitle(server_.Display(), title_, 5000);
      if (window != 0 && FocusWindow(server_.Display(), window)) RunXdotool(server_.Display(), {"key", "Escape"});
      const int code = game_->Wait(3000);
      if (code != -1) return code;
    }
    return game_->Wait(0);
  }

  const std::string& Output() const { return game_->Output(); }

 private:
  XvfbServer server_{"800x600x24"};
  ScratchDirectory scratch_;
  std::string title_;
  std::unique_ptr<ChildProcess> game_;
};

struct ExampleCase {
  const char* program;
  const char* title;
};

void PrintTo(const ExampleCase& example, std::ostream* out) { *out << example.program; }

class ExampleSmoke : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(ExampleSmoke, PlaysItselfShowsAPictureAndEndsOnEscape) {
  RunningExample game(GetParam().program, {}, GetParam().title);
  ASSERT_NO_FATAL_FAILURE(game.Start());
  ASSERT_NO_FATAL_FAILURE(game.WaitForFrames());
  EXPECT_GT(game.LitShare(), 0.5) << "the window is mostly black";
  EXPECT_EQ(game.End(), 0) << game.Output();
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSmoke,
                         ::testing::Values(ExampleCase{"arcade", "Rock Runner"},
                                           ExampleCase{"pathfinder", "Path Finder"}),
                         [](const auto& info) { return std::string(info.param.program); });

// The 3D example backs its camera up into the wall behind it, points at one crystal after
// another and says which one its last frame picked, and where.
TEST(ThreeDExample, TheWallStopsTheCameraAndThePickedCrystalGlows) {
  RunningExample game("crystalyard", {}, "Crystal Yard");
  ASSERT_NO_FATAL_FAILURE(game.Start());
  ASSERT_NO_FATAL_FAILURE(game.WaitForFrames());
  const std::string& output = game.Output();

  // The back wall's inner face lies at z 10 (9.96 as the model packs it); the camera is a
  // sphere of radius 0.5 that moves 0.1 a frame.
  double x = -1, z = -1;
  const std::size_t stop = output.find("The wall stopped the camera at ");
  ASSERT_NE(stop, std::string::npos) << output;
  ASSERT_EQ(std::sscanf(output.c_str() + stop, "The wall stopped the camera at x %lf, z %lf", &x, &z), 2);
  EXPECT_DOUBLE_EQ(x, 0);
  EXPECT_GT(z, 9.3);
  EXPECT_LT(z, 9.5);

  // The picked crystal glows gold (also in its own shadow) where the others are blue.
  int crystal = 0, pickX = 0, pickY = 0;
  const std::size_t last = output.find("Last frame: crystal ");
  ASSERT_NE(last, std::string::npos) << output;
  ASSERT_EQ(std::sscanf(output.c_str() + last, "Last frame: crystal %d picked at %d, %d", &crystal, &pickX, &pickY), 3);
  EXPECT_GE(crystal, 1) << output;
  const WindowPicture shown = game.Shown();
  ASSERT_FALSE(shown.Empty());
  int gold = 0, counted = 0;
  for (int y = pickY - 4; y <= pickY + 4; ++y) {
    for (int x = pickX - 4; x <= pickX + 4; ++x) {
      if (x < 0 || y < 0 || x >= shown.width || y >= shown.height) continue;
      const std::uint8_t* pixel = shown.At(x, y);
      ++counted;
      if (pixel[0] > pixel[2] + 40 && pixel[1] > pixel[2] + 20) ++gold;
    }
  }
  EXPECT_GT(gold * 2, counted) << "no glow round " << pickX << ", " << pickY;
  EXPECT_GT(game.LitShare(), 0.5) << "the window is mostly black";
  EXPECT_EQ(game.End(), 0) << output;
}

// A UDP port on the loopback interface that nothing uses right now.
int FreeUdpPort() {
  const int probe = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(probe);
  return port;
}

TEST(NetworkExample, AHostAndAJoiningPlayerSeeEachOtherAndChat) {
  const std::string port = std::to_string(FreeUdpPort());
  ASSERT_NE(port, "0");
  RunningExample host("netgame", {"--host", "--port", port, "--name", "Ann"}, "Hover Chat");
  ASSERT_NO_FATAL_FAILURE(host.Start());
  RunningExample guest("netgame", {"--join", "127.0.0.1", "--port", port, "--name", "Bob"}, "Hover Chat");
  ASSERT_NO_FATAL_FAILURE(guest.Start());

  // Each ends its frames only after a chat line from the other has arrived.
  ASSERT_NO_FATAL_FAILURE(host.WaitForFrames());
  ASSERT_NO_FATAL_FAILURE(guest.WaitForFrames());
  EXPECT_NE(host.Output().find("Bob is here\n"), std::string::npos) << host.Output();
  EXPECT_NE(host.Output().find("Bob: hello from Bob\n"), std::string::npos) << host.Output();
  EXPECT_NE(guest.Output().find("Ann: hello from Ann\n"), std::string::npos) << guest.Output();
  EXPECT_GT(host.LitShare(), 0.5) << "the host's window is mostly black";
  EXPECT_EQ(guest.End(), 0) << guest.Output();
  EXPECT_EQ(host.End(), 0) << host.Output();
}

}  // namespace
