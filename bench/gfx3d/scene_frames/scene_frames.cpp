// A whole game that draws a lit 100,000-triangle torus with vertex colours for a number of
// frames as fast as it can and then reports what a frame cost the process: wall time,
// processor time, minor page faults, and the peak resident memory of the run.
//
//   scene_frames [frames]     (default 300; the first 30 frames are not counted)
//
// Run it on a display (run_on_xvfb.sh gives it a private one): the figures are the cost
// of the GL implementation's frame as well as the engine's.

#include <sys/resource.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gfx3d/scene_commands.h"
#include "host/frame_clock.h"
#include "host/frame_present.h"
#include "host/game_interface.h"
#include "host/program_commands.h"

namespace {

constexpr int kRings = 250;  // 250 x 200 quads = 100,000 triangles
constexpr int kSides = 200;
constexpr int kWarmUpFrames = 30;

struct Vertex {
  float x, y, z, nx, ny, nz;
  unsigned char r, g, b, a;
};

Vertex TorusPoint(int ring, int side) {
  constexpr float kPi = 3.14159265f;
  const float u = 2 * kPi * static_cast<float>(ring) / kRings;
  const float v = 2 * kPi * static_cast<float>(side) / kSides;
  const float major = 10, minor = 4;
  Vertex p{};
  p.nx = std::cos(v) * std::cos(u);
  p.ny = std::sin(v);
  p.nz = std::cos(v) * std::sin(u);
  p.x = (major + minor * std::cos(v)) * std::cos(u);
  p.y = minor * std::sin(v);
  p.z = (major + minor * std::cos(v)) * std::sin(u);
  p.r = static_cast<unsigned char>(128 + 127 * std::cos(u));
  p.g = static_cast<unsigned char>(128 + 127 * std::sin(v));
  p.b = 200;
  p.a = 255;
  return p;
}

std::vector<Vertex> TorusTriangles() {
  std::vector<Vertex> vertices;
  vertices.reserve(static_cast<std::size_t>(kRings) * kSides * 6);
  for (int ring = 0; ring < kRings; ++ring) {
    for (int side = 0; side < kSides; ++side) {
      const Vertex a = TorusPoint(ring, side), b = TorusPoint(ring + 1, side);
      const Vertex c = TorusPoint(ring + 1, side + 1), d = TorusPoint(ring, side + 1);
      for (const Vertex& v : {a, d, c, a, c, b}) vertices.push_back(v);
    }
  }
  return vertices;
}

struct Usage {
  double cpuMs;
  long minorFaults;
  long peakKb;
};

Usage ReadUsage() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  return {cpu, usage.ru_minflt, usage.ru_maxrss};
}

void DrawFrame(const std::vector<Vertex>& vertices, int frame) {
  SetCamera(1, 200, 60);
  SetCameraPosition(30 * std::cos(frame * 0.01), 15, 30 * std::sin(frame * 0.01), 0, 0, 0);
  SetLight(0, 0xFFFFFF, 0, 0, 0, -1, -1, -1, 180);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
  glNormalPointer(GL_FLOAT, sizeof(Vertex), &vertices[0].nx);
  glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &vertices[0].r);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  EndScene3D();
  PresentFrame();
}

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Scene frames";
  settings.frameRate = 0;  // no pacing: every frame as fast as it goes
  return settings;
}

int GameMain() {
  const int frames = std::max(1, std::atoi(GetCommandLine().TextPointer()));
  const int counted = GetCommandLine().Length() > 0 ? frames : 300;
  const std::vector<Vertex> vertices = TorusTriangles();
  for (int frame = 0; frame < kWarmUpFrames; ++frame) DrawFrame(vertices, frame);
  const double wallStart = ReadClock();
  const Usage start = ReadUsage();
  for (int frame = 0; frame < counted; ++frame) DrawFrame(vertices, frame);
  const Usage end = ReadUsage();
  const double wall = ReadClock() - wallStart;
  std::printf("frames %d wall_ms_per_frame %.2f cpu_ms_per_frame %.2f minor_faults_per_frame %.0f peak_rss_mb %.1f\n",
              counted, wall / counted, (end.cpuMs - start.cpuMs) / counted,
              static_cast<double>(end.minorFaults - start.minorFaults) / counted, end.peakKb / 1024.0);
  std::fflush(stdout);
  return 0;
}
