// The "Loading..." screen of start-up, seen by a whole program that reads back the frame
// start-up presented.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "picture_files.h"
#include "support/process_runner.h"

namespace {

struct LoadingScreen {
  int lit = -1;
  int left = 0, top = 0, right = 0, bottom = 0;
  int font = -1, cellWidth = 0, cellHeight = 0;
};

LoadingScreen RunProbe(const std::string& program, const ScratchDirectory& scratch) {
  const ProcessResult result =
      RunProcess(program, {}, {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "TMPDIR=" + scratch.Path()});
  EXPECT_EQ(result.exitCode, 0) << result.output;
  LoadingScreen screen;
  const std::size_t lit = result.output.find("lit ");
  const std::size_t font = result.output.find("font ");
  EXPECT_NE(lit, std::string::npos) << result.output;
  EXPECT_NE(font, std::string::npos) << result.output;
  if (lit == std::string::npos || font == std::string::npos) return screen;
  std::sscanf(result.output.c_str() + lit, "lit %d box %d %d %d %d", &screen.lit, &screen.left, &screen.top,
              &screen.right, &screen.bottom);
  std::sscanf(result.output.c_str() + font, "font %d %d %d", &screen.font, &screen.cellWidth, &screen.cellHeight);
  return screen;
}

TEST(LoadingScreenTest, BuiltinFontShowsLoadingCentred) {
  // No "smalfont.bmp" beside the program: font 0 is the built-in 8 x 8 font, and the ten
  // cells of "Loading..." span x 280 .. 359 and y 236 .. 243 of the 640 x 480 screen.
  ScratchDirectory scratch;
  const LoadingScreen screen = RunProbe(ProgramPath("test_loading_probe"), scratch);
  EXPECT_EQ(screen.font, 0);
  EXPECT_EQ(screen.cellWidth, 8);
  EXPECT_EQ(screen.cellHeight, 8);
  EXPECT_GT(screen.lit, 100);
  EXPECT_GE(screen.left, 280);
  EXPECT_LT(screen.left, 288);  // the "L" lies in the first cell
  EXPECT_GE(screen.right, 352);  // the last "." in the tenth
  EXPECT_LE(screen.right, 359);
  EXPECT_GE(screen.top, 236);
  EXPECT_LE(screen.bottom, 243);
}

TEST(LoadingScreenTest, SmallFontPictureBesideTheProgramReplacesTheBuiltinFont) {
  // A copy of the program with a "smalfont.bmp" of solid white 16 x 16 cells beside it:
  // "Loading..." becomes one white block of 160 x 16 pixels in the middle of the screen.
  ScratchDirectory scratch;
  const std::string program = scratch.Path() + "/loading_probe";
  std::filesystem::copy_file(ProgramPath("test_loading_probe"), program);
  WriteBmp(scratch.Path() + "/smalfont.bmp", 256, 128, [](int, int) { return Rgb{255, 255, 255}; });
  const LoadingScreen screen = RunProbe(program, scratch);
  EXPECT_EQ(screen.font, 0);
  EXPECT_EQ(screen.cellWidth, 16);
  EXPECT_EQ(screen.cellHeight, 16);
  EXPECT_EQ(screen.lit, 160 * 16);
  EXPECT_EQ(screen.left, 240);
  EXPECT_EQ(screen.right, 399);
  EXPECT_EQ(screen.top, 232);
  EXPECT_EQ(screen.bottom, 247);
}

}  // namespace
