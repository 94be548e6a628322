// Crystal Yard: a walk round a walled yard that shows the 3D side of the engine.
//
// A creature loaded from a model file hops in the middle, its frames blended into a
// smooth loop; five crystals (built vertex by vertex) float round it; a point light
// lights everything and casts stencil shadows of the creature and the crystals on the
// floor. C switches the creature's cel shading on and off. The crystal under the mouse
// is found by casting a ray through the mouse position and glows. The camera is a
// sphere: the walls stop it. Arrow keys walk and turn; Escape ends the game.
//
// "--frames N" backs the camera up to the wall behind it by itself, points at each
// crystal in turn and switches cel shading on halfway; after N frames it prints "Frames
// done" and waits for a click (or Escape). It also prints where the wall stopped the
// camera and which crystal the last frame picked at which screen position: the smoke
// test checks those lines and the picture.

#include <cstdio>

#include "../common/example_options.h"
#include "engine.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Object slots.
constexpr int kBlobSlot = 1;
constexpr int kYardSlot = 2;
constexpr int kFloorSlot = 3;
constexpr int kCrystalSlot = 4;
// Sprite slots of the textures.
constexpr int kFloorTexture = 1;
constexpr int kWallTexture = 2;
constexpr int kCrystalTexture = 3;
constexpr int kGlintTexture = 4;

// The creature's loop: frames 0 .. 8 (8 equals 0), one loop in this many frames.
constexpr int kBlobLastFrame = 8;
constexpr int kHopFrames = 48;

constexpr int kCrystalCount = 5;
constexpr double kCrystalRing = 4.5;  // distance from the yard's centre
constexpr double kCrystalHeight = 1.3;

// The camera: a sphere of this radius at eye height.
constexpr double kEyeHeight = 1.6;
constexpr double kEyeRadius = 0.5;
constexpr double kWalkStep = 0.1;
constexpr double kTurnStep = 2.0;  // degrees a frame

constexpr double kFloorHalf = 10;
constexpr double kFloorCell = 2;

// The one light: a point light above the yard, left of the start view.
constexpr double kLightX = -6, kLightY = 11, kLightZ = 3;
constexpr int kWhite = 0xFFFFFF;
constexpr int kSky = 140 + 200 * 256 + 235 * 65536;
constexpr int kPanel = 30 + 30 * 256 + 40 * 65536;

// The effect light's indices: cel shading, stencil shadows.
constexpr int kCelLight = -2;
constexpr int kShadowLight = -3;

struct Vector {
  double x, y, z;
};

// Centre of crystal i at the given frame: a ring round the creature, each bobbing.
Vector CrystalCentre(int crystal, int frame) {
  const double angle = 360.0 * crystal / kCrystalCount + 20;
  return {kCrystalRing * SinDeg(angle), kCrystalHeight + 0.2 * SinDeg(frame * 3.0 + crystal * 70.0),
          kCrystalRing * CosDeg(angle)};
}

// Level 0 of the object transform stack back to no translation, rotation or scale, so
// that the collision and picking tests see the yard as it is drawn.
void ResetObjectTransform() {
  SetObjectScale(1, 1, 1);
  SetObjectTranslation(0, 0, 0);
}

void PlaceCrystal(int crystal, int frame) {
  const Vector centre = CrystalCentre(crystal, frame);
  SetObjectTranslation(centre.x, centre.y, centre.z);
  AddObjectRotation(frame * 2.0 + crystal * 40.0, 0, 1, 0);
}

// The yard's floor: rows of textured cells, one strip a row, facing up.
void BuildFloor() {
  StartObject(kFloorSlot);
  const int cells = static_cast<int>(2 * kFloorHalf / kFloorCell);
  for (int row = 0; row < cells; ++row) {
    if (row > 0) NewObjectStrip();
    const double z0 = -kFloorHalf + row * kFloorCell;
    for (int column = 0; column <= cells; ++column) {
      const double x = -kFloorHalf + column * kFloorCell;
      AddObjectVertex(x, 0, z0, column, 0, kWhite);
      AddObjectVertex(x, 0, z0 + kFloorCell, column, 1, kWhite);
    }
  }
  EndObject();
}

// A crystal: an octahedron stretched upwards, one strip of one triangle a face.
void BuildCrystal() {
  static constexpr double kTip = 0.8, kWaist = 0.45;
  const Vector waist[4] = {{kWaist, 0, 0}, {0, 0, -kWaist}, {-kWaist, 0, 0}, {0, 0, kWaist}};
  StartObject(kCrystalSlot);
  for (int tip = 0; tip < 2; ++tip) {
    const double tipY = tip == 0 ? kTip : -kTip;
    for (int side = 0; side < 4; ++side) {
      if (tip + side > 0) NewObjectStrip();
      // Counter-clockwise seen from outside: the upper faces run one way round, the
      // lower ones the other.
      const Vector& a = waist[side];
      const Vector& b = waist[(side + 1) % 4];
      const Vector& first = tip == 0 ? a : b;
      const Vector& second = tip == 0 ? b : a;
      AddObjectVertex(first.x, 0, first.z, 0, 1, kWhite);
      AddObjectVertex(second.x, 0, second.z, 1, 1, kWhite);
      AddObjectVertex(0, tipY, 0, 0.5, 0, kWhite);
    }
  }
  EndObject();
}

class CrystalYard {
 public:
  explicit CrystalYard(int autopilotFrames) : autopilotFrames_(autopilotFrames) {}

  int Run() {
    if (!LoadAssets()) return 0;
    BuildFloor();
    BuildCrystal();
    SetMouseFree(1);  // the system cursor shows where the picking ray starts
    for (frame_ = 0; autopilotFrames_ == 0 || frame_ < autopilotFrames_; ++frame_) {
      BeginScene();
      if (autopilotFrames_ > 0) {
        Autopilot();
      } else {
        HandleInput();
      }
      picked_ = PickCrystal();
      DrawScene();
      DrawShadows();
      EndScene3D();
      DrawPanel();
      PresentFrame();
    }
    std::printf("Last frame: crystal %d picked at %.0f, %.0f\n", picked_ + 1, mouseX_, mouseY_);
    example::FinishAutopilot();
    return 0;
  }

 private:
  bool LoadAssets() {
    SelectArchive("crystalyard", "");
    const bool loaded = LoadObject("blob.ddd", kBlobSlot) != 0 && LoadObject("yard.ddd", kYardSlot) != 0;
    LoadSprite("floor.bmp", kFloorTexture);
    LoadSprite("wall.bmp", kWallTexture);
    LoadSprite("crystal.bmp", kCrystalTexture);
    LoadSprite("glint.bmp", kGlintTexture);
    SelectArchive("", "");
    if (!loaded) {
      std::printf("The models could not be loaded from the archive\n");
      return false;
    }
    std::printf("Creature: %g triangles; yard: %g triangles\n", CountObjectVertices(kBlobSlot) / 3,
                CountObjectVertices(kYardSlot) / 3);
    std::fflush(stdout);
    return true;
  }

  // Sky, camera and lights. The camera is set before input is read, so that picking
  // sees this frame's projection.
  void BeginScene() {
    DrawRect(0, 0, kScreenWidth - 1, kScreenHeight - 1, kSky);
    SetCamera(0.1, 100, 60);
    SetFaceOrientation(-1);
    SetCameraPosition(eyeX_, kEyeHeight, eyeZ_, eyeX_ + SinDeg(heading_), kEyeHeight - 0.15,
                      eyeZ_ - CosDeg(heading_));
    SwitchLights(true);
  }

  // The point light and a dim light from the viewer; cutoff 0 switches a light off.
  static void SwitchLights(bool on) {
    SetLight(0, kWhite, kLightX, kLightY, kLightZ, 0, 0, 0, on ? 120 : 0);
    SetLight(1, 0x404040, 0, 0, 0, 0, 0, 0, on ? 180 : 0);
  }

  void HandleInput() {
    const double forward = GetKeyDown(key::kUp) - GetKeyDown(key::kDown);
    heading_ += kTurnStep * (GetKeyDown(key::kRight) - GetKeyDown(key::kLeft));
    Walk(forward * kWalkStep);
    // C switches on the press, not for as long as it is held.
    const bool celKey = GetKeyDown(key::kC) != 0;
    if (celKey && !celKeyWasDown_) celShading_ = !celShading_;
    celKeyWasDown_ = celKey;
    double left = 0, right = 0;
    GetMouseState(mouseX_, mouseY_, left, right);
  }

  // Backs up until the wall stops the camera, points at each crystal in turn (where it
  // shows on the screen) and switches cel shading on halfway.
  void Autopilot() {
    Walk(-kWalkStep);
    celShading_ = frame_ >= autopilotFrames_ / 2;
    const int target = (frame_ / 30) % kCrystalCount;
    const Vector centre = CrystalCentre(target, frame_);
    double depth = 0;
    ProjectToScreen(centre.x, centre.y, centre.z, mouseX_, mouseY_, depth);
  }

  // Moves the camera along its heading unless its sphere would then touch the yard;
  // blocked across, it still slides along the wall.
  void Walk(double distance) {
    if (distance == 0) return;
    const double dx = distance * SinDeg(heading_);
    const double dz = -distance * CosDeg(heading_);
    ResetObjectTransform();
    const auto free = [](double x, double z) { return SphereHitsObject(kYardSlot, 0, kEyeRadius, x, kEyeHeight, z) == 0; };
    if (free(eyeX_ + dx, eyeZ_ + dz)) {
      eyeX_ += dx, eyeZ_ += dz;
      blocked_ = false;
      return;
    }
    if (free(eyeX_ + dx, eyeZ_)) eyeX_ += dx;
    else if (free(eyeX_, eyeZ_ + dz)) eyeZ_ += dz;
    if (!blocked_) {
      std::printf("The wall stopped the camera at x %.2f, z %.2f\n", eyeX_, eyeZ_);
      std::fflush(stdout);
    }
    blocked_ = true;
  }

  // The crystal nearest ahead on the ray from the eye through the mouse position; -1
  // for none or when the position is off the screen.
  int PickCrystal() {
    if (mouseX_ < 0 || mouseY_ < 0 || mouseX_ >= kScreenWidth || mouseY_ >= kScreenHeight) return -1;
    double nearX = 0, nearY = 0, nearZ = 0, farX = 0, farY = 0, farZ = 0;
    ScreenToWorld(mouseX_, mouseY_, 0, nearX, nearY, nearZ);
    ScreenToWorld(mouseX_, mouseY_, 1, farX, farY, farZ);
    int nearest = -1;
    double nearestDistance = 0;
    for (int crystal = 0; crystal < kCrystalCount; ++crystal) {
      ResetObjectTransform();
      PlaceCrystal(crystal, frame_);
      const double distance =
          RayHitsObject(kCrystalSlot, 0, nearX, nearY, nearZ, farX - nearX, farY - nearY, farZ - nearZ);
      if (distance > 0 && (nearest < 0 || distance < nearestDistance)) nearest = crystal, nearestDistance = distance;
    }
    ResetObjectTransform();
    if (nearest != picked_ && nearest >= 0) {
      std::printf("Picked crystal %d at %.0f, %.0f\n", nearest + 1, mouseX_, mouseY_);
      std::fflush(stdout);
    }
    return nearest;
  }

  void DrawScene() {
    ResetObjectTransform();
    SetObjectTextures(kFloorTexture, -1);
    DrawObjectFrame(kFloorSlot, 0);
    SetObjectTextures(kWallTexture, -1);
    DrawObjectFrame(kYardSlot, 0);
    for (int crystal = 0; crystal < kCrystalCount; ++crystal) {
      const bool glows = crystal == picked_;
      SetObjectTextures(glows ? kGlintTexture : kCrystalTexture, -1);
      // The scale first: setting it forgets the level's rotations.
      if (glows) SetObjectScale(1.25, 1.25, 1.25);
      PlaceCrystal(crystal, frame_);
      DrawObjectFrame(kCrystalSlot, 0);
      ResetObjectTransform();
    }
    SetObjectTextures(-1, -1);
    if (!celShading_) {
      DrawBlob();
      return;
    }
    // The cel ramp alone shades the creature, in flat bands with a black outline.
    SwitchLights(false);
    SetLight(kCelLight, kWhite, kLightX, kLightY, kLightZ, 0, 0, 0, 1);
    DrawBlob();
    SetLight(kCelLight, kWhite, 0, 0, 0, 0, 0, 0, 0);
    SwitchLights(true);
  }

  // The creature hops on the spot, looking from side to side; the blend runs from frame
  // 0 to the last, which equals the first, so the loop has no seam.
  void DrawBlob() {
    SetObjectTranslation(0, 0, 0);
    AddObjectRotation(35 * SinDeg(frame_ * 0.7), 0, 1, 0);
    const double loop = static_cast<double>(frame_ % kHopFrames) / kHopFrames;
    DrawObject(kBlobSlot, 0, kBlobLastFrame, loop, 1);
    ResetObjectTransform();
  }

  // The same objects again with the shadow light on: they only mark their shadow volumes
  // in the stencil buffer; switching it off darkens what they shadow.
  void DrawShadows() {
    SetLight(kShadowLight, 0, kLightX, kLightY, kLightZ, 0, 0, 0, 1);
    DrawBlob();
    for (int crystal = 0; crystal < kCrystalCount; ++crystal) {
      PlaceCrystal(crystal, frame_);
      DrawObjectFrame(kCrystalSlot, 0);
    }
    ResetObjectTransform();
    SetLight(kShadowLight, 0, 0, 0, 0, 0, 0, 0, 0);
  }

  void DrawPanel() {
    DrawRect(0, kScreenHeight - 36, kScreenWidth - 1, kScreenHeight - 1, kPanel);
    BasicString status = BasicString("Cel shading ") + (celShading_ ? "on" : "off");
    status = status + "   Picked: " + (picked_ >= 0 ? BasicString("crystal ") + (picked_ + 1) : BasicString("none"));
    if (blocked_) status = status + "   The wall stops you";
    PrintText(status, 8, kScreenHeight - 32);
    PrintText("Arrows: walk and turn   C: cel shading   Mouse: pick a crystal", 8, kScreenHeight - 16);
  }

  int autopilotFrames_;
  int frame_ = 0;
  double eyeX_ = 0, eyeZ_ = 4.5;
  double heading_ = 0;  // degrees; 0 looks along -z
  bool celShading_ = false;
  bool celKeyWasDown_ = false;
  bool blocked_ = false;
  int picked_ = -1;
  double mouseX_ = -1, mouseY_ = -1;
};

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.screenWidth = kScreenWidth;
  settings.screenHeight = kScreenHeight;
  settings.frameRate = 60;
  settings.useDirectInputMouse = 0;
  settings.title = "Crystal Yard";
  return settings;
}

int GameMain() { return CrystalYard(example::AutopilotFrames(example::CommandLineWords())).Run(); }
