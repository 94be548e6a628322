// The platform-free choices behind the window: fullscreen modes, colour channels, the
// extension word test and the software renderer names.

#include <gtest/gtest.h>

#include "video/display_mode.h"
#include "video/game_window.h"
#include "video/gl_extensions.h"
#include "video/software_renderer.h"

namespace {

const std::vector<DisplayModeChoice> kModes = {
    {1920, 1080, 32}, {1024, 768, 32}, {1024, 768, 16}, {800, 600, 16}, {640, 480, 32},
};

TEST(FullscreenMode, OnlyAnExactSizeIsAccepted) {
  EXPECT_EQ(ChooseFullscreenMode(kModes, 640, 480, 32, 32), 4);
  EXPECT_EQ(ChooseFullscreenMode(kModes, 1024, 768, 0, 32), 1);
  EXPECT_EQ(ChooseFullscreenMode(kModes, 1000, 700, 0, 32), -1);
  EXPECT_EQ(ChooseFullscreenMode(kModes, 640, 481, 0, 32), -1);
  EXPECT_EQ(ChooseFullscreenMode({}, 640, 480, 0, 32), -1);
}

TEST(FullscreenMode, ADepthOtherThanTheDesktopsIsTriedFirstThenSizeOnly) {
  EXPECT_EQ(ChooseFullscreenMode(kModes, 1024, 768, 16, 32), 2);
  // No 800 x 600 mode at 32 bits: the second try takes the size alone.
  EXPECT_EQ(ChooseFullscreenMode(kModes, 800, 600, 32, 24), 3);
  // The desktop's own depth asks for the size only.
  EXPECT_EQ(ChooseFullscreenMode(kModes, 1024, 768, 32, 32), 1);
  EXPECT_EQ(FindExactDisplayMode(kModes, 800, 600, 32), -1);
}

TEST(ColourChannels, FollowTheRequestedDepth) {
  const ColourChannelBits deep = ChannelBitsForDepth(32);
  EXPECT_EQ(deep.red + deep.green + deep.blue, 24);
  EXPECT_EQ(ChannelBitsForDepth(24).green, 8);
  EXPECT_EQ(ChannelBitsForDepth(16).green, 6);
  EXPECT_EQ(ChannelBitsForDepth(16).red, 5);
  EXPECT_EQ(ChannelBitsForDepth(15).green, 5);
}

TEST(ExtensionWord, MatchesOnlyWholeBlankSeparatedWords) {
  const char* list = "GL_ARB_multitexture_extra GL_EXT_x GL_ARB_multitexture GL_ARB_fragment_program_shadow";
  EXPECT_TRUE(HasExtensionWord(list, "GL_ARB_multitexture"));
  EXPECT_TRUE(HasExtensionWord(list, "GL_EXT_x"));
  EXPECT_FALSE(HasExtensionWord(list, "GL_ARB_fragment_program"));
  EXPECT_FALSE(HasExtensionWord(list, "ARB_multitexture"));
  EXPECT_FALSE(HasExtensionWord(list, "GL_EXT"));
  EXPECT_TRUE(HasExtensionWord("GL_A", "GL_A"));
  EXPECT_TRUE(HasExtensionWord("GL_A ", "GL_A"));
  EXPECT_FALSE(HasExtensionWord("GL_AB", "GL_A"));
  EXPECT_FALSE(HasExtensionWord(list, ""));
  EXPECT_FALSE(HasExtensionWord(nullptr, "GL_A"));
  EXPECT_FALSE(HasExtensionWord(list, nullptr));
}

TEST(SoftwareRenderer, RecognisesTheRasterisersThatRunOnTheProcessor) {
  EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRenderer("Gallium 0.4 on softpipe"));
  EXPECT_TRUE(IsSoftwareRenderer("Software Rasterizer"));
  EXPECT_TRUE(IsSoftwareRenderer("Mesa DRI Intel(R) swrast"));
  EXPECT_TRUE(IsSoftwareRenderer("GDI Generic"));
  EXPECT_TRUE(IsSoftwareRenderer("Mesa Windows GDI Driver"));
  EXPECT_FALSE(IsSoftwareRenderer("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
  EXPECT_FALSE(IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
  EXPECT_FALSE(IsSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(IsSoftwareRenderer(""));
}

TEST(SoftwareRenderer, NoMessageBoxWhereThereIsNoScreen) {
  EXPECT_FALSE(CanShowMessageBox("offscreen"));
  EXPECT_FALSE(CanShowMessageBox("dummy"));
  EXPECT_FALSE(CanShowMessageBox(nullptr));
  EXPECT_TRUE(CanShowMessageBox("x11"));
  EXPECT_TRUE(CanShowMessageBox("wayland"));
}

}  // namespace
