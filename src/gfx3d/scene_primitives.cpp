#include "gfx3d/scene_primitives.h"

#include <cmath>

#include "gfx2d/drawing_state.h"
#include "gfx3d/scene_camera.h"
#include "host/renderer.h"

namespace {

constexpr float kAxisLength = 20;
// Arrow heads, in units of the arrow's length: two short lines back from the tip.
constexpr float kArrowHeadBack = 0.75f;
constexpr float kArrowHeadSide = 0.25f;
// The unit icosahedron: (0, +-a, +-b) and its cyclic permutations.
constexpr float kIcosahedronA = 0.525731f;
constexpr float kIcosahedronB = 0.850651f;

void SetPackedColour(std::int32_t colour) {
  glColor4ub(static_cast<GLubyte>(colour & 0xFF), static_cast<GLubyte>((colour >> 8) & 0xFF),
             static_cast<GLubyte>((colour >> 16) & 0xFF), 255);
}

// 3D drawing runs with the current colour (a, a, a, a), a the renderer's current alpha.
void RestoreSceneColour(const Diveduva3D& scene) {
  const float alpha = scene.renderer.currentAlpha;
  glColor4f(alpha, alpha, alpha, alpha);
}

Vector3 Unit(const Vector3& v) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return {v[0] / length, v[1] / length, v[2] / length};
}

Vector3 Midpoint(const Vector3& a, const Vector3& b) {
  return Unit({(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2});
}

void LineLoop(const Vector3& centre, float radius, const Vector3& a, const Vector3& b, const Vector3& c) {
  glBegin(GL_LINE_LOOP);
  for (const Vector3* v : {&a, &b, &c}) {
    glVertex3f(centre[0] + radius * (*v)[0], centre[1] + radius * (*v)[1], centre[2] + radius * (*v)[2]);
  }
  glEnd();
}

}  // namespace

void DrawLine3D(Diveduva3D& scene, const Vector3& from, const Vector3& to, std::int32_t colour, float width) {
  if (!SceneHasContext(scene)) return;
  UntexturedDrawing untextured(scene.renderer);
  const bool lit = scene.lightMask != 0;
  if (lit) glDisable(GL_LIGHTING);
  glEnable(GL_LINE_SMOOTH);
  glLineWidth(width);
  SetPackedColour(colour);
  glBegin(GL_LINES);
  glVertex3f(from[0], from[1], from[2]);
  glVertex3f(to[0], to[1], to[2]);
  glEnd();
  glLineWidth(1);
  glDisable(GL_LINE_SMOOTH);
  if (lit) glEnable(GL_LIGHTING);
  RestoreSceneColour(scene);
}

void DrawPoint3D(Diveduva3D& scene, const Vector3& at, std::int32_t colour, float size) {
  if (!SceneHasContext(scene)) return;
  UntexturedDrawing untextured(scene.renderer);
  glEnable(GL_POINT_SMOOTH);
  glPointSize(size);
  SetPackedColour(colour);
  glBegin(GL_POINTS);
  glVertex3f(at[0], at[1], at[2]);
  glEnd();
  glPointSize(1);
  glDisable(GL_POINT_SMOOTH);
  RestoreSceneColour(scene);
}

void DrawAxes(Diveduva3D& scene, const Vector3& origin) {
  if (!SceneHasContext(scene)) return;
  UntexturedDrawing untextured(scene.renderer);
  const GLboolean lit = glIsEnabled(GL_LIGHTING);
  glDisable(GL_LIGHTING);
  glEnable(GL_LINE_SMOOTH);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadMatrixf(scene.cameraMatrix.data());
  glTranslatef(origin[0], origin[1], origin[2]);
  glScalef(kAxisLength, kAxisLength, kAxisLength);
  constexpr std::int32_t kAxisColours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  for (int axis = 0; axis < 3; ++axis) {
    // The arrow runs along `axis`; its head leans into the two other axes' planes.
    const int side1 = (axis + 1) % 3;
    const int side2 = (axis + 2) % 3;
    Vector3 tip{0, 0, 0}, head1{0, 0, 0}, head2{0, 0, 0};
    tip[axis] = 1;
    head1[axis] = head2[axis] = kArrowHeadBack;
    head1[side1] = kArrowHeadSide;
    head2[side2] = -kArrowHeadSide;
    SetPackedColour(kAxisColours[axis]);
    glBegin(GL_LINE_STRIP);
    glVertex3f(0, 0, 0);
    glVertex3fv(tip.data());
    glVertex3fv(head1.data());
    glEnd();
    glBegin(GL_LINES);
    glVertex3fv(tip.data());
    glVertex3fv(head2.data());
    glEnd();
  }
  glPopMatrix();
  glDisable(GL_LINE_SMOOTH);
  if (lit) glEnable(GL_LIGHTING);
  RestoreSceneColour(scene);
}

void DrawDebugSphere(Diveduva3D& scene, const Vector3& centre, float radius, std::int32_t colour, float lineWidth) {
  if (!SceneHasContext(scene)) return;
  constexpr float a = kIcosahedronA, b = kIcosahedronB;
  static const Vector3 kVertices[12] = {
      {-a, 0, b}, {a, 0, b}, {-a, 0, -b}, {a, 0, -b}, {0, b, a}, {0, b, -a},
      {0, -b, a}, {0, -b, -a}, {b, a, 0}, {-b, a, 0}, {b, -a, 0}, {-b, -a, 0}};
  static const int kFaces[20][3] = {{0, 4, 1},  {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},
                                    {8, 10, 1}, {8, 3, 10}, {5, 3, 8},  {5, 2, 3},  {2, 7, 3},
                                    {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6}, {0, 1, 6},
                                    {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}};
  UntexturedDrawing untextured(scene.renderer);
  glDisable(GL_BLEND);
  glLineWidth(lineWidth);
  SetPackedColour(colour);
  for (const auto& face : kFaces) {
    const Vector3& v1 = kVertices[face[0]];
    const Vector3& v2 = kVertices[face[1]];
    const Vector3& v3 = kVertices[face[2]];
    const Vector3 m12 = Midpoint(v1, v2), m23 = Midpoint(v2, v3), m31 = Midpoint(v3, v1);
    LineLoop(centre, radius, v1, m12, m31);
    LineLoop(centre, radius, v2, m23, m12);
    LineLoop(centre, radius, v3, m31, m23);
    LineLoop(centre, radius, m12, m23, m31);
  }
  glLineWidth(1);
  glColor4f(1, 1, 1, 1);
}
