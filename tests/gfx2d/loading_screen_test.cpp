// The "Loading..." screen of start-up as a player sees it: a whole program on a private
// X server, its window read back from the server once start-up is done.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "picture_files.h"
#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"

namespace {

constexpr int kStartTimeoutMs = 30000;

// The box around the lit (not black) pixels of a window, right and bottom inclusive.
struct LitBox {
  int lit = 0;
  int left = 0, top = 0, right = -1, bottom = -1;
};

LitBox ReadLitBox(const std::string& displayName, unsigned long window, int width, int height) {
  LitBox box;
  box.left = width;
  box.top = height;
  Display* display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) return box;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (image != nullptr) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if ((XGetPixel(image, x, y) & 0xFFFFFF) == 0) continue;
        ++box.lit;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return box;
}

class LoadingScreen : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Ready()) << "Xvfb did not start"; }

  // Runs the probe (a path) to the end of start-up and reads its window. The cell size
  // of the current font comes back in cellWidth and cellHeight.
  LitBox StartAndRead(const std::string& program) {
    std::vector<std::string> environment = server.Environment();
    environment.push_back("TMPDIR=" + scratch.Path());
    ChildProcess probe(program, {}, environment);
    EXPECT_TRUE(DismissSoftwareWarning(server.Display(), kStartTimeoutMs)) << probe.Output();
    EXPECT_TRUE(probe.WaitForOutput("font ", kStartTimeoutMs)) << probe.Output();
    probe.ReadFor(100);
    const std::size_t font = probe.Output().find("font ");
    if (font != std::string::npos) {
      std::sscanf(probe.Output().c_str() + font, "font %d %d %d", &fontNumber, &cellWidth, &cellHeight);
    }
    const unsigned long window = FindWindowByTitle(server.Display(), "Loading probe", 5000);
    EXPECT_NE(window, 0u);
    LitBox box;
    // The presented frame reaches the server shortly after the swap.
    for (int attempt = 0; attempt < 20 && box.lit == 0; ++attempt) {
      box = ReadLitBox(server.Display(), window, 640, 480);
      if (box.lit == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(SendCloseRequest(server.Display(), window));
    EXPECT_EQ(probe.Wait(10000), 0) << probe.Output();
    return box;
  }

  XvfbServer server{"800x600x24"};
  ScratchDirectory scratch;
  int fontNumber = -1, cellWidth = 0, cellHeight = 0;
};

TEST_F(LoadingScreen, BuiltinFontShowsLoadingCentred) {
  // No "smalfont.bmp" beside the program: font 0 is the built-in 8 x 8 font, and the ten
  // cells of "Loading..." span x 280 .. 359 and y 236 .. 243 of the 640 x 480 screen.
  const LitBox box = StartAndRead(ProgramPath("test_loading_probe"));
  EXPECT_EQ(fontNumber, 0);
  EXPECT_EQ(cellWidth, 8);
  EXPECT_EQ(cellHeight, 8);
  EXPECT_GT(box.lit, 100);
  EXPECT_GE(box.left, 280);
  EXPECT_LT(box.left, 288);   // the "L" lies in the first cell
  EXPECT_GE(box.right, 352);  // the last "." in the tenth
  EXPECT_LE(box.right, 359);
  EXPECT_GE(box.top, 236);
  EXPECT_LE(box.bottom, 243);
}

TEST_F(LoadingScreen, SmallFontPictureBesideTheProgramReplacesTheBuiltinFont) {
  // A copy of the program with a "smalfont.bmp" of solid white 16 x 16 cells beside it:
  // "Loading..." becomes one white block of 160 x 16 pixels in the middle of the screen.
  const std::string program = scratch.Path() + "/loading_probe";
  std::filesystem::copy_file(ProgramPath("test_loading_probe"), program);
  WriteBmp(scratch.Path() + "/smalfont.bmp", 256, 128, [](int, int) { return Rgb{255, 255, 255}; });
  const LitBox box = StartAndRead(program);
  EXPECT_EQ(fontNumber, 0);
  EXPECT_EQ(cellWidth, 16);
  EXPECT_EQ(cellHeight, 16);
  EXPECT_EQ(box.lit, 160 * 16);
  EXPECT_EQ(box.left, 240);
  EXPECT_EQ(box.right, 399);
  EXPECT_EQ(box.top, 232);
  EXPECT_EQ(box.bottom, 247);
}

}  // namespace
