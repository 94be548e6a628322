#include "gfx3d/shadow_mode.h"

#include "gfx2d/solid_drawing.h"
#include "gfx3d/scene_camera.h"
#include "video/renderer.h"

namespace {

// The darkening covers any surface the engine can open.
constexpr double kDarkeningWidth = 3000;
constexpr double kDarkeningHeight = 2000;
constexpr float kDarkeningAlpha = 0.5f;

void BeginShadowPass() {
  glShadeModel(GL_FLAT);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glEnable(GL_STENCIL_TEST);
  glDepthMask(GL_FALSE);
  glStencilFunc(GL_ALWAYS, 0, ~0u);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
}

// Half-black over the stencilled pixels, drawn in the 2D projection of the viewport.
// The depth test is off for it: shadowed surfaces lie at any depth. Culling is off too:
// the rectangle is counter-clockwise, and a scene with clockwise front faces would
// otherwise cull it and leave every shadow undrawn.
void DarkenShadowedPixels(Diveduva3D& scene) {
  OpenGLDiveduva& renderer = scene.renderer;
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, renderer.viewportWidth, -renderer.viewportHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  renderer.currentAlpha = kDarkeningAlpha;
  glStencilFunc(GL_NOTEQUAL, 0, ~0u);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  DrawRect(0, 0, kDarkeningWidth, kDarkeningHeight, 0);
  renderer.currentAlpha = 1.0f;
  glColor4f(1, 1, 1, 1);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void EndShadowPass(Diveduva3D& scene) {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glDepthMask(GL_TRUE);
  glDepthFunc(GL_LEQUAL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  DarkenShadowedPixels(scene);
  glShadeModel(GL_SMOOTH);
  glDepthFunc(GL_LESS);
  glDisable(GL_STENCIL_TEST);
  glClear(GL_STENCIL_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
}

}  // namespace

void SetShadowMode(Diveduva3D& scene, bool on) {
  if (scene.shadowMode == on) return;
  scene.shadowMode = on;
  if (!SceneHasContext(scene)) return;
  if (on) {
    BeginShadowPass();
  } else {
    EndShadowPass(scene);
  }
}
