// The demo game end to end on a private X server, played as a user would with xdotool:
// it shows its picture, ignores a key press, ends on a click or on Escape.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "gfx2d/bmp_reader.h"
#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/x11_display.h"
#include "support/x11_screenshot.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Upper limits for a loaded machine and a sanitizer build, not expectations: a passing
// run takes a fraction of them.
constexpr int kStartTimeoutMs = 60000;
constexpr int kEndTimeoutMs = 60000;
constexpr const char* kDemoTitle = "SetVantrel";
// The pictures the build drew and packed into the demo's archives.
const std::string kPictureFolder = std::string(TEST_PROGRAM_DIR) + "/../game/pictures/";

class DemoProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Ready()) << "Xvfb did not start"; }

  // Starts the demo and plays the user's part up to "Init OK": Xvfb renders OpenGL in
  // software, and the warning about that is closed with Return.
  void StartDemo() {
    std::vector<std::string> environment = server.Environment();
    environment.push_back("TMPDIR=" + scratch.Path());
    demo = std::make_unique<ChildProcess>(ProgramPath("RizareZaz.exe"), std::vector<std::string>{}, environment);
    ASSERT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << demo->Output();
    ASSERT_TRUE(demo->WaitForOutput("Init OK\n", kStartTimeoutMs)) << demo->Output();
    window = FindWindowByTitle(server.Display(), kDemoTitle, 5000);
    ASSERT_NE(window, 0u) << "no window titled " << kDemoTitle;
    ASSERT_TRUE(FocusWindow(server.Display(), window));
  }

  void Xdotool(const std::vector<std::string>& arguments) {
    ASSERT_EQ(RunXdotool(server.Display(), arguments), 0);
  }

  // The demo's frame: the background with the sprite over its top left corner, the
  // sprite's colour key letting the background through.
  static WindowPicture ExpectedFrame() {
    ImageBuffer background;
    ImageBuffer sprite;
    WindowPicture frame;
    if (!LoadBmp((kPictureFolder + "Vantrel_file.bmp").c_str(), kNoColourKey, background) ||
        !LoadBmp((kPictureFolder + "vt2.bmp").c_str(), kDefaultSpriteKey, sprite)) {
      return frame;
    }
    frame.width = background.width;
    frame.height = background.height;
    frame.rgb.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
    for (int y = 0; y < frame.height; ++y) {
      for (int x = 0; x < frame.width; ++x) {
        const std::uint8_t* pixel = &background.pixels[(static_cast<std::size_t>(y) * background.width + x) * 4];
        if (x < sprite.width && y < sprite.height) {
          const std::uint8_t* over = &sprite.pixels[(static_cast<std::size_t>(y) * sprite.width + x) * 4];
          if (over[3] != 0) pixel = over;
        }
        std::copy(pixel, pixel + 3, &frame.rgb[(static_cast<std::size_t>(y) * frame.width + x) * 3]);
      }
    }
    return frame;
  }

  // Pixels further than a small rounding step from the expected frame.
  static int DifferingPixels(const WindowPicture& shown, const WindowPicture& expected) {
    if (shown.width != expected.width || shown.height != expected.height) return shown.width * shown.height + 1;
    int differing = 0;
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
          if (std::abs(shown.At(x, y)[channel] - expected.At(x, y)[channel]) > 4) {
            ++differing;
            break;
          }
        }
      }
    }
    return differing;
  }

  XvfbServer server{"800x600x24"};
  ScratchDirectory scratch;
  std::unique_ptr<ChildProcess> demo;
  unsigned long window = 0;
};

TEST_F(DemoProgram, ShowsItsPictureIgnoresAKeyAndEndsOnAClick) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());

  const WindowPicture expected = ExpectedFrame();
  ASSERT_FALSE(expected.Empty()) << "the demo's pictures are missing in " << kPictureFolder;
  WindowPicture shown = CaptureWindow(server.Display(), window);
  // The frame is presented right after start-up: look again until it shows.
  const auto deadline = Clock::now() + milliseconds(kStartTimeoutMs);
  while (DifferingPixels(shown, expected) != 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(100));
    shown = CaptureWindow(server.Display(), window);
  }
  const int differing = DifferingPixels(shown, expected);
  if (differing != 0) SaveWindowPicture(shown, ::testing::TempDir() + "demo_frame.png");
  EXPECT_EQ(differing, 0) << "the window does not show the demo's picture; saved as "
                          << ::testing::TempDir() + "demo_frame.png";

  // A key press alone does not end the demo: it waits for a mouse button.
  ASSERT_NO_FATAL_FAILURE(Xdotool({"key", "a", "space", "Return"}));
  demo->ReadFor(700);
  EXPECT_TRUE(demo->Running()) << demo->Output();

  ASSERT_NO_FATAL_FAILURE(Xdotool({"click", "1"}));
  EXPECT_EQ(demo->Wait(kEndTimeoutMs), 0) << demo->Output();
}

TEST_F(DemoProgram, EscapeEndsItWithCodeZero) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  // A press and release as quick as xdotool makes them is still seen.
  ASSERT_NO_FATAL_FAILURE(Xdotool({"key", "Escape"}));
  EXPECT_EQ(demo->Wait(kEndTimeoutMs), 0) << demo->Output();
}

}  // namespace
