#include "gfx3d/mesh_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx2d/drawing_state.h"
#include "gfx3d/cel_shading.h"
#include "gfx3d/mesh_collision.h"
#include "gfx3d/mesh_tangents.h"
#include "gfx3d/mesh_vertex_arrays.h"
#include "gfx3d/object_transforms.h"
#include "gfx3d/scene_camera.h"
#include "gfx3d/shadow_volume.h"
#include "video/renderer.h"

namespace {

constexpr double kSmallSquare = 1e-7;
constexpr float kDarkestCel = 0.05f;
constexpr float kBrightestCel = 0.95f;
constexpr float kOutlinePerDistance = 0.003f;
constexpr float kWidestOutlineShare = 0.125f;
constexpr float kThinnestOutline = 1e-7f;

const GlExtensionEntryPoints& Gl(const Diveduva3D& scene) { return scene.renderer.extensions; }

// Runs each effect's one-off preparation; the object keeps what it builds.
void PrepareEffect(Diveduva3D& scene, MeshObjectX& object) {
  switch (scene.effectLight.mode) {
    case EffectMode::kCel:
      ComputeTangents(object, true, false, false);
      BuildCelTexture(scene, object);
      break;
    case EffectMode::kBump:
      ComputeTangents(object, true, scene.tangentSetting == 2, true);
      break;
    case EffectMode::kStencilShadow:
      ComputeTangents(object, true, false, false);
      BuildEdgeAdjacency(object);
      break;
    case EffectMode::kNone:
      break;
  }
}

// Blends, lights and offsets the current vertices from the chosen frames.
void FillCurrentVertices(const Diveduva3D& scene, MeshObjectX& object, const FrameChoice& choice,
                         const Vector3& light) {
  const std::vector<MeshVertex>& base = object.frames[static_cast<std::size_t>(choice.base)].triangleVertices;
  const std::vector<MeshVertex>& other = object.frames[static_cast<std::size_t>(choice.other)].triangleVertices;
  std::vector<MeshVertex>& current = object.currentVertices;
  const std::size_t count = std::min({current.size(), base.size(), other.size()});
  if (object.motionBehind) CatchUpMotion(object, count);
  object.restChanged = true;
  const bool effect = EffectOn(scene) && HasMultitexture(scene);
  const float w = choice.weight;
  for (std::size_t i = 0; i < count; ++i) {
    MeshVertex& v = current[i];
    if (w != 0) {
      BlendMotion(base[i], other[i], w, v.position, v.normal);
    } else {
      v = base[i];
    }
    if (effect) {
      float l[3] = {light[0] - v.position[0], light[1] - v.position[1], light[2] - v.position[2]};
      const double square = double(l[0]) * l[0] + double(l[1]) * l[1] + double(l[2]) * l[2];
      if (square > kSmallSquare) {
        const float scale = static_cast<float>(1 / std::sqrt(square));
        for (float& c : l) c *= scale;
      } else {
        l[0] = l[1] = l[2] = 0;
      }
      auto dot = [&](const float* a) { return l[0] * a[0] + l[1] * a[1] + l[2] * a[2]; };
      if (scene.effectLight.mode == EffectMode::kBump) {
        v.lightVector[0] = dot(v.tangent) * 0.5f + 0.5f;
        v.lightVector[1] = dot(v.bitangent) * 0.5f + 0.5f;
        v.lightVector[2] = dot(v.normal) * 0.5f + 0.5f;
      } else if (scene.effectLight.mode == EffectMode::kCel) {
        v.bitangent[0] = std::clamp(dot(v.normal), kDarkestCel, kBrightestCel);
        v.bitangent[1] = (static_cast<float>(v.colourIndex) + 0.5f) * object.celRowStep;
      }
    }
    v.texCoord[0] += scene.textureOffsetU;
    v.texCoord[1] += scene.textureOffsetV;
  }
}

// Texture unit 1 as the 2D binding left it; the cel texture borrows the unit for one draw.
struct SecondUnitState {
  GLint texture = 0;
  GLboolean enabled = GL_FALSE;
  bool markedOff = true;
};

SecondUnitState SaveSecondUnit(const Diveduva3D& scene) {
  SecondUnitState state;
  Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &state.texture);
  state.enabled = glIsEnabled(GL_TEXTURE_2D);
  Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
  state.markedOff = scene.renderer.drawing2D.secondUnitOff;
  return state;
}

void RestoreSecondUnit(Diveduva3D& scene, const SecondUnitState& state) {
  Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(state.texture));
  if (state.enabled) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
  Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
  scene.renderer.drawing2D.secondUnitOff = state.markedOff;
}

void DrawOutline(Diveduva3D& scene, MeshObjectX& object, const MeshFrame& base, const Matrix4& transform) {
  const Vector3 eye = InverseRigidTransform(transform, scene.eye);
  const float dx = eye[0] - base.centre[0], dy = eye[1] - base.centre[1], dz = eye[2] - base.centre[2];
  float width = std::sqrt(dx * dx + dy * dy + dz * dz) * scene.viewConeFactor * kOutlinePerDistance;
  for (int level = 0; level <= scene.transformLevel; ++level) {
    const float y = scene.transformStack[static_cast<std::size_t>(level)].scale[1];
    width /= y * y;
  }
  if (!(width <= base.boundingRadius * kWidestOutlineShare)) return;
  width = std::max(width, kThinnestOutline);
  SetFaceOrientation(scene, -scene.faceOrientation);
  for (MeshVertex& v : object.currentVertices) {
    for (int k = 0; k < 3; ++k) v.position[k] += v.normal[k] * width;
  }
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (HasMultitexture(scene)) {
    Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthFunc(GL_LEQUAL);
  glColor4f(0, 0, 0, scene.renderer.currentAlpha);
  const VertexLayout layout = UploadFullVertices(scene, object, object.currentVertices, false);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, layout.moving.stride, layout.moving.base + layout.position);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(object.currentVertices.size()));
  glDisableClientState(GL_VERTEX_ARRAY);
  UnbindArrayBuffer(scene);
  glPopAttrib();
  glDepthFunc(GL_LESS);
  SetFaceOrientation(scene, -scene.faceOrientation);
}

}  // namespace

FrameChoice ChooseFrames(int frameCount, int a, int b, float t, bool interpolate) {
  FrameChoice choice{b, a, t};
  if (interpolate) {
    if (t > 1 || t < 0) t = std::fabs(std::fmod(t, 1.0f));
    if (!std::isfinite(t)) t = 0;
    const double p = a + (double(b) - a) * t;
    const int k = static_cast<int>(std::clamp(p, -2e9, 2e9));
    if (a < b) {
      choice = {k, k + 1, static_cast<float>(1 - (p - k))};
    } else if (a > b) {
      choice = {k + 1, k, static_cast<float>(p - k)};
    } else {
      choice = {a, b, 0};
    }
  }
  if (!std::isfinite(choice.weight)) choice.weight = 0;
  const int last = std::max(frameCount - 1, 0);
  choice.base = std::clamp(choice.base, 0, last);
  choice.other = std::clamp(choice.other, 0, last);
  return choice;
}

bool ObjectMayShow(const Diveduva3D& scene, const MeshFrame& frame) {
  const ObjectTransformLevel& level = scene.transformStack[0];
  const float c[3] = {level.translation[0] + frame.centre[0], level.translation[1] + frame.centre[1],
                      level.translation[2] + frame.centre[2]};
  const float largestScale = std::max({level.scale[0], level.scale[1], level.scale[2]});
  const double r = double(frame.boundingRadius) * largestScale;
  double d[3] = {double(scene.target[0]) - scene.eye[0], double(scene.target[1]) - scene.eye[1],
                 double(scene.target[2]) - scene.eye[2]};
  const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (length > 0) {
    for (double& x : d) x /= length;
  }
  const double v[3] = {double(c[0]) - scene.eye[0], double(c[1]) - scene.eye[1], double(c[2]) - scene.eye[2]};
  const double along = d[0] * v[0] + d[1] * v[1] + d[2] * v[2];
  const double vv = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (along < 0) return vv <= r * r;
  const double p[3] = {v[0] - d[0] * along, v[1] - d[1] * along, v[2] - d[2] * along};
  const double cone = along * scene.viewConeFactor;
  return p[0] * p[0] + p[1] * p[1] + p[2] * p[2] < cone * cone + r * r;
}

void DrawMeshObject(Diveduva3D& scene, MeshObjectX& object, int frameA, int frameB, float t, bool interpolate) {
  if (object.frames.empty() || object.frames[0].packedVertices.empty()) return;
  if (!SceneHasContext(scene)) return;
  const FrameChoice choice = ChooseFrames(static_cast<int>(object.frames.size()), frameA, frameB, t, interpolate);
  const MeshFrame& base = object.frames[static_cast<std::size_t>(choice.base)];
  if (!ObjectMayShow(scene, base)) return;
  const float alpha = scene.renderer.currentAlpha;
  glColor4f(alpha, alpha, alpha, alpha);
  const bool effect = EffectOn(scene);
  if (effect) PrepareEffect(scene, object);
  if (object.currentVertices.empty()) {
    object.BuildTriangles();
    object.restChanged = true;
    object.motionBehind = false;
  }
  const Matrix4 transform = ObjectTransformMatrix(scene);
  const Vector3 light = InverseRigidTransform(transform, scene.effectLight.position);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  ApplyObjectTransforms(scene);
  if (effect && scene.effectLight.mode == EffectMode::kStencilShadow) {
    UnbindArrayBuffer(scene);  // the volume uses client arrays
    DrawShadowVolume(object, base, light);
    glPopMatrix();
    glColor4f(alpha, alpha, alpha, alpha);
    return;
  }
  const bool direct = choice.weight == 0 && !effect && scene.textureOffsetU == 0 && scene.textureOffsetV == 0;
  VertexLayout layout;
  std::size_t count = 0;
  if (!direct && BlendsMotionOnly(scene, object, choice)) {
    layout = StreamBlendedMotion(scene, object, choice);
    count = object.currentVertices.size();
  } else {
    if (!direct) FillCurrentVertices(scene, object, choice, light);
    const std::vector<MeshVertex>& vertices = direct ? base.triangleVertices : object.currentVertices;
    const bool staticFrame = direct && choice.base == 0;
    layout = UploadFullVertices(scene, object, vertices, staticFrame);
    count = vertices.size();
  }
  const bool cel = effect && scene.effectLight.mode == EffectMode::kCel && HasMultitexture(scene);
  const SecondUnitState secondUnit = cel ? SaveSecondUnit(scene) : SecondUnitState{};
  SetUpArrays(scene, object, layout);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  TearDownArrays(scene, cel);
  if (cel && scene.faceOrientation != 0) DrawOutline(scene, object, base, transform);
  if (cel) RestoreSecondUnit(scene, secondUnit);
  glPopMatrix();
  glColor4f(alpha, alpha, alpha, alpha);
}

void DrawObjectSlot(Diveduva3D& scene, long long slot, int frameA, int frameB, float t, bool interpolate) {
  ObjectSlot* found = scene.objects.Find(slot);
  if (found == nullptr || !found->loaded) return;
  Drawing2DState& binding = scene.renderer.drawing2D;
  const Drawing2DState saved = binding;
  // A scene object's texture numbers index the slot's own texture list.
  std::vector<GLuint> sceneTextures;
  if (found->isScene) sceneTextures.assign(found->textures.begin(), found->textures.end());
  for (auto& object : found->objects) {
    if (found->isScene) {
      BindSpriteTexture(scene.renderer, object->textureA, object->textureB, false, sceneTextures.data(),
                        static_cast<int>(sceneTextures.size()));
    }
    DrawMeshObject(scene, *object, frameA, frameB, t, interpolate);
  }
  if (found->isScene) BindSpriteTexture(scene.renderer, saved.currentSlot, saved.secondSlot, saved.useMip);
}
