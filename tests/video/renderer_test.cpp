// The renderer's window, context, viewport mapping and 2D state, on the offscreen driver.

#include <gtest/gtest.h>

#include "support/renderer_fixture.h"
#include "video/display_mode.h"
#include "video/frame_clock.h"
#include "video/game_window.h"
#include "video/renderer.h"
#include "video/software_renderer.h"

namespace {

using Renderer = RendererFixture;

TEST_F(Renderer, TheSurfaceHasTheRequestedSizeAndTheBuffersAsked) {
  EXPECT_EQ(renderer->surfaceWidth, 640);
  EXPECT_EQ(renderer->surfaceHeight, 480);
  EXPECT_EQ(renderer->glReady, 1);
  EXPECT_EQ(renderer->fullscreenActive, 0);
  EXPECT_GT(renderer->colourDepth, 0);
  EXPECT_DOUBLE_EQ(renderer->frameInterval, 1000.0 / 60.0);
  int depth = 0, stencil = 0, profile = 0;
  SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
  SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
  EXPECT_GE(depth, 24);
  EXPECT_GE(stencil, 8);
  EXPECT_EQ(profile, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  EXPECT_EQ(std::string(SDL_GetWindowTitle(renderer->window)), "Trovane");
}

TEST_F(Renderer, AWholeSurfaceViewportIgnoresXAndY) {
  SetViewport2D(*renderer, 13, 17, 0, 0);
  EXPECT_EQ(renderer->viewportX, 0);
  EXPECT_EQ(renderer->viewportY, 0);
  EXPECT_EQ(renderer->viewportWidth, 640);
  EXPECT_EQ(renderer->viewportHeight, 480);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
  SetViewport2D(*renderer, 5, 5, 100, -1);
  EXPECT_EQ(renderer->viewportWidth, 640);
}

TEST_F(Renderer, AQuadAt2DCoordinatesLandsOnThosePixels) {
  glClear(GL_COLOR_BUFFER_BIT);
  FillRect2D(10, 20, 30, 40);
  EXPECT_EQ(PixelAt(10, 20), kRed);
  EXPECT_EQ(PixelAt(39, 59), kRed);
  EXPECT_EQ(PixelAt(9, 20), kBlack);
  EXPECT_EQ(PixelAt(10, 19), kBlack);
  EXPECT_EQ(PixelAt(40, 20), kBlack);
  EXPECT_EQ(PixelAt(39, 60), kBlack);
  // The far corner of the surface.
  FillRect2D(630, 470, 10, 10);
  EXPECT_EQ(PixelAt(639, 479), kRed);
}

TEST_F(Renderer, AViewportMovesTheOriginAndClipsAtItsEdges) {
  SetViewport2D(*renderer, 100, 50, 200, 100);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 100);
  EXPECT_EQ(viewport[1], 480 - 100 - 50);
  glClear(GL_COLOR_BUFFER_BIT);
  FillRect2D(0, 0, 10, 10);
  EXPECT_EQ(PixelAt(100, 50), kRed);
  EXPECT_EQ(PixelAt(109, 59), kRed);
  EXPECT_EQ(PixelAt(99, 50), kBlack);
  EXPECT_EQ(PixelAt(100, 49), kBlack);
  FillRect2D(190, 90, 50, 50);
  EXPECT_EQ(PixelAt(299, 149), kRed);
  EXPECT_EQ(PixelAt(300, 149), kBlack);
  EXPECT_EQ(PixelAt(299, 150), kBlack);
}

TEST_F(Renderer, SetSurfaceSizeResetsTheViewportToTheNewSurface) {
  SetViewport2D(*renderer, 10, 10, 50, 50);
  SetSurfaceSize(*renderer, 320, 200);
  EXPECT_EQ(renderer->viewportWidth, 320);
  EXPECT_EQ(renderer->viewportHeight, 200);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[3], 200);
}

TEST_F(Renderer, TheViewportSetsTheFixed2DState) {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_STENCIL_TEST);
  glDisable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);
  SetViewport2D(*renderer, 0, 0, 0, 0);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  EXPECT_FALSE(glIsEnabled(GL_DITHER));
  GLint value = 0;
  glGetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, GL_CCW);
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_FLAT);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
  EXPECT_EQ(value, GL_GREATER);
  GLfloat reference = 0;
  glGetFloatv(GL_ALPHA_TEST_REF, &reference);
  EXPECT_NEAR(reference, 0.15f, 1e-3);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_FLOAT_EQ(projection[0], 2.0f / 640);  // x: 0 .. width
  EXPECT_FLOAT_EQ(projection[5], 2.0f / 480);  // y: -height .. 0
  EXPECT_FLOAT_EQ(projection[13], 1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Renderer, ExtensionEntryPointsArePresentOnLlvmpipe) {
  ASSERT_EQ(HasWglExtension("GL_ARB_multitexture"), 1);
  ASSERT_EQ(HasWglExtension("GL_ARB_fragment_program"), 1);
  EXPECT_EQ(HasWglExtension("GL_ARB_multi"), 0);
  EXPECT_EQ(HasWglExtension(""), 0);
  const GlExtensionEntryPoints& e = renderer->extensions;
  for (const void* entryPoint :
       {reinterpret_cast<const void*>(e.glActiveTextureARB), reinterpret_cast<const void*>(e.glMultiTexCoord2fARB),
        reinterpret_cast<const void*>(e.glClientActiveTextureARB), reinterpret_cast<const void*>(e.glGenBuffersARB),
        reinterpret_cast<const void*>(e.glBindBufferARB), reinterpret_cast<const void*>(e.glBufferDataARB),
        reinterpret_cast<const void*>(e.glDeleteBuffersARB), reinterpret_cast<const void*>(e.glMapBufferARB),
        reinterpret_cast<const void*>(e.glUnmapBufferARB), reinterpret_cast<const void*>(e.glCreateProgramObjectARB),
        reinterpret_cast<const void*>(e.glDeleteObjectARB), reinterpret_cast<const void*>(e.glCreateShaderObjectARB),
        reinterpret_cast<const void*>(e.glShaderSourceARB), reinterpret_cast<const void*>(e.glCompileShaderARB),
        reinterpret_cast<const void*>(e.glGetObjectParameterivARB), reinterpret_cast<const void*>(e.glAttachObjectARB),
        reinterpret_cast<const void*>(e.glGetInfoLogARB), reinterpret_cast<const void*>(e.glLinkProgramARB),
        reinterpret_cast<const void*>(e.glUseProgramObjectARB),
        reinterpret_cast<const void*>(e.glGetUniformLocationARB), reinterpret_cast<const void*>(e.glUniform1fARB),
        reinterpret_cast<const void*>(e.glUniform1iARB)}) {
    EXPECT_NE(entryPoint, nullptr);
  }
  // The loaded entry points work: a buffer object round trip.
  GLuint buffer = 0;
  e.glGenBuffersARB(1, &buffer);
  EXPECT_NE(buffer, 0u);
  e.glDeleteBuffersARB(1, &buffer);
}

TEST_F(Renderer, TheSoftwareRendererIsLoggedAndWarnedAboutOncePerProcess) {
  EXPECT_TRUE(IsSoftwareRenderer(renderer->rendererName)) << renderer->rendererName;
  EXPECT_TRUE(renderer->softwareWarningShown);
  const std::string log = ReadErrorLog();
  EXPECT_NE(log.find("OpenGL Software Emulation\r\n"), std::string::npos);
  // Another window of the same process checks nothing more and logs nothing.
  ChangeScreenMode(*renderer, 1024, 768, 0, 1);
  EXPECT_EQ(CountOf(ReadErrorLog(), "OpenGL"), CountOf(log, "OpenGL"));
}

TEST_F(Renderer, ReleaseDestroysTheWindowAndKeepsTheContextForTheDestructor) {
  ReleaseRenderer(*renderer);
  EXPECT_EQ(renderer->window, nullptr);
  EXPECT_EQ(renderer->surfaceWidth, 0);
  EXPECT_EQ(renderer->surfaceHeight, 0);
  EXPECT_NE(renderer->context, nullptr);
  ReleaseRenderer(*renderer);  // a second release finds nothing to do
  EXPECT_EQ(renderer->window, nullptr);
}

class MultisampledRenderer : public RendererFixture {
 protected:
  MultisampledRenderer() { multisampleCount = 8; }
};

TEST_F(MultisampledRenderer, EightSamplesFallBackToTheFourLlvmpipeOffers) {
  EXPECT_EQ(renderer->multisampleCount, 8);
  int buffers = 0, samples = 0;
  SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
  SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
  EXPECT_EQ(buffers, 1);
  EXPECT_EQ(samples, 4);
  GLint glSamples = 0;
  glGetIntegerv(GL_SAMPLES, &glSamples);
  EXPECT_EQ(glSamples, 4);
}

TEST_F(MultisampledRenderer, TheSearchHalvesTheSampleCount) {
  EXPECT_EQ(FindMultisampleFormat(8), 4);
  EXPECT_EQ(FindMultisampleFormat(7), 3);  // 7 fails, 3 fits within the 4 offered
  EXPECT_EQ(FindMultisampleFormat(4), 4);
  EXPECT_EQ(FindMultisampleFormat(64), 4);
  EXPECT_EQ(FindMultisampleFormat(0), 0);
  EXPECT_EQ(FindMultisampleFormat(-8), 0);
}

}  // namespace
