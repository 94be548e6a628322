// The engine's side of the mesh-drawing benchmark: a game that loads the torus as a
// two-frame model file and draws it with the game commands, static, blended between its
// frames, cel-shaded and as a stencil shadow caster, each drawn and with the rasterizer
// discarding everything (what submitting the frame costs). It also reports the first
// frame of a 100,000-triangle shadow caster, which builds the edge adjacency.
//
//   engine_mesh_draw [workload ...]   (static blended cel shadow shadow-small; all by default)
//
// Run it with run_mesh_draw.sh, which puts it on a display beside the other programs.

#include <GL/gl.h>
#include <GL/glext.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx2d/texture_commands.h"
#include "gfx3d/draw_commands.h"
#include "gfx3d/mesh_object.h"
#include "gfx3d/model_binary.h"
#include "gfx3d/model_pack.h"
#include "gfx3d/object_commands.h"
#include "gfx3d/scene_commands.h"
#include "host/frame_present.h"
#include "host/game_interface.h"
#include "host/program_commands.h"
#include "torus_workload.h"

namespace {

using namespace torus_workload;

constexpr double kTexture = 1;
constexpr double kLargeSlot = 1;
constexpr double kSmallSlot = 2;
constexpr double kFloorSlot = 3;
constexpr double kFirstShadowSlot = 4;  // fresh copies: their edge adjacency is not built yet
constexpr double kFirstSmallShadowSlot = 5;
constexpr double kWhite = 0xFFFFFF;
constexpr double kDirectional = 180;
constexpr double kLightOff = 0;
constexpr double kCelEffect = -2;
constexpr double kShadowEffect = -3;

// The model file of a torus: one list group per frame, the marker slot first.
std::string TorusModelFile(const TorusSize& size) {
  MeshObject object;
  object.frames.resize(2);
  for (int f = 0; f < 2; ++f) {
    std::vector<MeshVertex>& full = object.frames[static_cast<std::size_t>(f)].fullVertices;
    MeshVertex marker{};
    marker.colour = kListMarker;
    full.push_back(marker);
    for (const Vertex& v : TorusTriangles(size, f)) {
      MeshVertex m{};
      for (int k = 0; k < 3; ++k) {
        m.position[k] = v.position[k];
        m.normal[k] = v.normal[k];
      }
      m.texCoord[0] = v.u;
      m.texCoord[1] = -v.v;  // the loader negates v
      m.colour = v.rgba[0] | (v.rgba[1] << 8) | (static_cast<std::uint32_t>(v.rgba[2]) << 16);
      full.push_back(m);
    }
  }
  PackMeshObject(object);
  return FormatBinaryModel(object);
}

// A 24-bit bottom-up BMP of the checker.
std::string CheckerBitmap() {
  const std::vector<std::uint8_t> texels = CheckerTexels();
  const std::uint32_t rowBytes = kTextureSize * 3, pixelBytes = rowBytes * kTextureSize, offset = 54;
  std::ostringstream out;
  auto u16 = [&](std::uint32_t v) { out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>((v >> 8) & 0xFF)); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  out << "BM";
  u32(offset + pixelBytes), u32(0), u32(offset);
  u32(40), u32(kTextureSize), u32(kTextureSize), u16(1), u16(24), u32(0), u32(pixelBytes), u32(2835), u32(2835),
      u32(0), u32(0);
  for (int y = kTextureSize - 1; y >= 0; --y) {
    for (int x = 0; x < kTextureSize; ++x) {
      const std::uint8_t* texel = &texels[(static_cast<std::size_t>(y) * kTextureSize + x) * 4];
      out.put(static_cast<char>(texel[2])).put(static_cast<char>(texel[1])).put(static_cast<char>(texel[0]));
    }
  }
  return out.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

void BuildFloor() {
  StartObject(kFloorSlot);
  const double h = kFloorHalfSize, y = kFloorY;
  // A strip of two triangles, counter-clockwise seen from above.
  AddObjectVertex(-h, y, -h, 0, 0, 0xC0C0C0);
  AddObjectVertex(-h, y, h, 0, 4, 0xC0C0C0);
  AddObjectVertex(h, y, -h, 4, 0, 0xC0C0C0);
  AddObjectVertex(h, y, h, 4, 4, 0xC0C0C0);
  EndObject();
}

void BeginFrame(bool discard) {
  if (discard) glEnable(GL_RASTERIZER_DISCARD);
  SetCamera(kNear, kFar, kFieldOfView);
  SetCameraPosition(kEye[0], kEye[1], kEye[2], kTarget[0], kTarget[1], kTarget[2]);
  SetFaceOrientation(-1);
  SetLight(0, kWhite, 0, 0, 0, -kLightPosition[0], -kLightPosition[1], -kLightPosition[2], kDirectional);
  SetObjectTextures(kTexture, -1);
}

void EndFrame(bool discard) {
  EndScene3D();
  if (discard) glDisable(GL_RASTERIZER_DISCARD);
  SavePendingFrame();
  PresentFrame();
}

void LightEffect(double effect, bool on) {
  SetLight(effect, kWhite, kLightPosition[0], kLightPosition[1], kLightPosition[2], 0, 0, 0,
           on ? kDirectional : kLightOff);
}

void DrawShadowFrame(double caster, bool discard) {
  BeginFrame(discard);
  DrawObjectFrame(kFloorSlot, 0);
  DrawObjectFrame(caster, 0);
  LightEffect(kShadowEffect, true);
  DrawObjectFrame(caster, 0);
  LightEffect(kShadowEffect, false);
  EndFrame(discard);
}

void RunWorkloads(const std::vector<std::string>& names) {
  const int large = kLargeTorus.Triangles(), small = kSmallTorus.Triangles();
  for (bool discard : {false, true}) {
    if (Wanted(names, "static")) {
      MeasureWorkload("engine", "static", discard, large, [&](int) {
        BeginFrame(discard);
        DrawObjectFrame(kLargeSlot, 0);
        EndFrame(discard);
      });
    }
    if (Wanted(names, "blended")) {
      MeasureWorkload("engine", "blended", discard, large, [&](int frame) {
        BeginFrame(discard);
        DrawObject(kLargeSlot, 0, 1, BlendWeight(frame), 0);
        EndFrame(discard);
      });
    }
    if (Wanted(names, "cel")) {
      MeasureWorkload("engine", "cel", discard, large, [&](int) {
        BeginFrame(discard);
        LightEffect(kCelEffect, true);
        DrawObjectFrame(kLargeSlot, 0);
        LightEffect(kCelEffect, false);
        EndFrame(discard);
      });
    }
    if (Wanted(names, "shadow")) {
      if (!discard) {
        MeasureFirstFrame("engine", "shadow", [&] { DrawShadowFrame(kFirstShadowSlot, discard); });
      }
      MeasureWorkload("engine", "shadow", discard, large, [&](int) { DrawShadowFrame(kLargeSlot, discard); });
    }
    if (Wanted(names, "shadow-small")) {
      if (!discard) {
        MeasureFirstFrame("engine", "shadow-small", [&] { DrawShadowFrame(kFirstSmallShadowSlot, discard); });
      }
      MeasureWorkload("engine", "shadow-small", discard, small, [&](int) { DrawShadowFrame(kSmallSlot, discard); });
    }
  }
}

std::vector<std::string> WorkloadNames() {
  std::istringstream words(GetCommandLine().TextPointer());
  std::vector<std::string> names;
  for (std::string word; words >> word;) names.push_back(word);
  return names;
}

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Engine mesh drawing";
  settings.frameRate = 0;  // no pacing: every frame as fast as it goes
  return settings;
}

int GameMain() {
  char folder[] = "/tmp/mesh_draw_XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string base = folder;
  const bool written = WriteFile(base + "/large.ddd", TorusModelFile(kLargeTorus)) &&
                       WriteFile(base + "/small.ddd", TorusModelFile(kSmallTorus)) &&
                       WriteFile(base + "/checker.bmp", CheckerBitmap());
  bool loaded = false;
  if (written) {
    LoadSprite((base + "/checker.bmp").c_str(), kTexture);
    loaded = LoadObject((base + "/large.ddd").c_str(), kLargeSlot) != 0 &&
             LoadObject((base + "/small.ddd").c_str(), kSmallSlot) != 0 &&
             LoadObject((base + "/large.ddd").c_str(), kFirstShadowSlot) != 0 &&
             LoadObject((base + "/small.ddd").c_str(), kFirstSmallShadowSlot) != 0;
  }
  for (const char* name : {"large.ddd", "small.ddd", "checker.bmp"}) unlink((base + "/" + name).c_str());
  rmdir(folder);
  if (!loaded) {
    std::fprintf(stderr, "engine_mesh_draw: the models could not be written or loaded\n");
    return 1;
  }
  BuildFloor();
  RunWorkloads(WorkloadNames());
  return 0;
}
