#pragma once
// The 3D engine object: camera, lights, fog, the object transform stack, the shadow
// mode, shader programs, a few drawing switches and the object slots.
//
// One Diveduva3D exists per process. StartEngine creates it on the renderer, whose 2D
// state (viewport, texture bindings, current alpha) it borrows; ShutdownEngine deletes it
// while the GL context still exists. It is reached through Subsystems().scene.

#include <array>
#include <cstdint>
#include <vector>

#include <GL/gl.h>

#include "gfx3d/object_slots.h"

class OpenGLDiveduva;

inline constexpr int kObjectTransformLevels = 16;  // level 0 and at most 15 pushed levels
inline constexpr int kTransformsPerLevel = 16;     // rotations, and matrices, per level
inline constexpr int kShaderProgramSlots = 255;    // shader indices 0 to 254
inline constexpr int kSceneLights = 8;

using Matrix4 = std::array<float, 16>;  // column after column, as glMultMatrixf takes it
using Vector3 = std::array<float, 3>;

// One level of the object transform stack. Applied as: matrices in order, translation,
// rotations from the last added to the first, scale.
struct ObjectTransformLevel {
  int matrixCount = 0;
  std::array<Matrix4, kTransformsPerLevel> matrices{};
  int rotationCount = 0;
  std::array<std::array<float, 4>, kTransformsPerLevel> rotations{};  // angle in degrees, axis x, y, z
  Vector3 scale{1, 1, 1};
  Vector3 translation{0, 0, 0};
};

// The light that drives the three effect modes of mesh drawing.
enum class EffectMode : int { kNone = 0, kBump = 1, kCel = 2, kStencilShadow = 3 };

struct EffectLight {
  bool on = false;
  Vector3 position{0, 0, 0};
  Vector3 colour{0, 0, 0};  // red, green, blue in 0..1
  EffectMode mode = EffectMode::kNone;
};

// The three GL object names of one shader table entry; 0 where none exists.
struct ShaderProgramEntry {
  GLuint program = 0;
  GLuint vertexShader = 0;
  GLuint fragmentShader = 0;
};

class Diveduva3D {
 public:
  // debug is the program-wide debug setting, fixed for the run.
  Diveduva3D(OpenGLDiveduva& renderer, bool debug);
  // Deletes the shader programs while the renderer's context still exists; the object
  // slots release their own objects.
  virtual ~Diveduva3D();
  Diveduva3D(const Diveduva3D&) = delete;
  Diveduva3D& operator=(const Diveduva3D&) = delete;

  OpenGLDiveduva& renderer;  // borrowed: viewport, texture bindings, current alpha

  ObjectSlots objects;

  // Camera.
  float cameraNear = 0;
  float cameraFar = 0;  // near and far are also the default fog range
  Vector3 eye{0, 0, 0};
  Vector3 target{0, 0, 0};
  Vector3 up{0, 1, 0};
  float viewConeFactor = 0;  // tan of the half view angle plus a margin, for visibility tests
  Matrix4 cameraMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  std::uint8_t lightMask = 0;  // bit i: light i is on
  EffectLight effectLight;

  int transformLevel = 0;
  std::array<ObjectTransformLevel, kObjectTransformLevels> transformStack{};

  bool shadowMode = false;
  int faceOrientation = 0;  // -1, 0 or 1
  int tangentSetting = 2;   // 0, 1 or 2
  float textureOffsetU = 0;  // added to drawn texture coordinates
  float textureOffsetV = 0;
  bool sphereMapping = false;
  bool debug = false;  // collision commands draw what they test; shader errors go to the debugger
  int textureMipmapping = 0;  // mipmap choice the 3D texture commands pass on
  // Cel shading ramp: brightness bytes from the dark to the lit side of an object.
  std::vector<std::uint8_t> celRamp{100, 160, 160, 160, 160, 160, 160, 207, 255, 255, 255, 255, 255, 255, 255, 255};

  std::array<ShaderProgramEntry, kShaderProgramSlots> shaders{};
  int currentShader = -1;  // -1: the fixed function
  bool shaderSupportReported = false;  // the missing extension is reported once per run
};

// True when the renderer has a GL context to draw with.
bool SceneHasContext(const Diveduva3D& scene);
// True when the effect light is on with an effect mode, so mesh draws apply that effect.
bool EffectOn(const Diveduva3D& scene);
