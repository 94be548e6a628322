#pragma once
// A renderer on the offscreen driver with the 3D scene on it, installed as the engine's
// scene for the test, and helpers that draw raw GL geometry into the scene.

#include <cmath>

#include "gfx3d/collision_commands.h"
#include "gfx3d/engine3d.h"
#include "support/renderer_fixture.h"

class SceneFixture : public RendererFixture {
 protected:
  void SetUp() override {
    RendererFixture::SetUp();
    renderer->frameInterval = 0;     // no pacing wait in PresentFrame
    Engine().pauseWhenInactive = 0;  // the offscreen window never has the focus
    scene = new Diveduva3D(*renderer, false);
    Subsystems().scene = scene;
    // As a presented frame leaves them: the window's buffers start undefined.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }

  void TearDown() override {
    delete scene;
    Subsystems().scene = nullptr;
    RendererFixture::TearDown();
  }

  // A square of side 2 x half centred on (x, y, z), facing +z, in the current colour.
  static void DrawSquare(float x, float y, float z, float half) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex3f(x - half, y - half, z);
    glVertex3f(x + half, y - half, z);
    glVertex3f(x + half, y + half, z);
    glVertex3f(x - half, y + half, z);
    glEnd();
  }

  // The pixel the scene point (x, y, z) projects to.
  Pixel PixelOver(double x, double y, double z) const {
    double sx = 0, sy = 0, sz = 0;
    ProjectToScreen(x, y, z, sx, sy, sz);
    return PixelAt(static_cast<int>(sx), static_cast<int>(sy));
  }

  static Matrix4 CurrentMatrix(GLenum which) {
    Matrix4 matrix{};
    glGetFloatv(which, matrix.data());
    return matrix;
  }

  static constexpr Pixel kWhite{255, 255, 255, 255};
  Diveduva3D* scene = nullptr;
};
