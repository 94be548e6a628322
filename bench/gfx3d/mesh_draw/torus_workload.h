#pragma once
// The mesh-drawing workloads shared by the engine's program and the two it is measured
// against: the torus (two animation frames, vertex colours, texture coordinates), the
// checker texture, the camera and light, and the timing and report of one workload.
//
// Every program draws the same triangles at 640 x 480 with one light and one texture,
// back faces culled, and prints one line per measurement:
//   RESULT <program> <workload> <drawn|discard> <frames> <frames per second> <triangles>
//          <processor milliseconds per frame, every thread of the process>
//   FIRST <program> <workload> <milliseconds> <processor milliseconds>
// which run_mesh_draw.sh gathers into one table. Header only: the comparison programs
// link nothing of the engine.

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace torus_workload {

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;
inline constexpr int kTextureSize = 256;

// 250 x 200 quads = 100,000 triangles; the small caster 75 x 70 = 10,500.
struct TorusSize {
  int rings;
  int sides;
  int Triangles() const { return rings * sides * 2; }
};
inline constexpr TorusSize kLargeTorus{250, 200};
inline constexpr TorusSize kSmallTorus{75, 70};

inline constexpr float kMajorRadius = 10;
inline constexpr float kMinorRadius = 4;

// The camera, the light (a direction towards it from the origin) and the floor plane
// the shadow falls on.
inline constexpr float kEye[3] = {0, 22, 30};
inline constexpr float kTarget[3] = {0, -2, 0};
inline constexpr float kFieldOfView = 60;
inline constexpr float kNear = 1;
inline constexpr float kFar = 500;
inline constexpr float kLightPosition[3] = {20, 60, 10};
inline constexpr float kFloorY = -8;
inline constexpr float kFloorHalfSize = 40;

struct Vertex {
  float position[3];
  float normal[3];
  float u, v;
  std::uint8_t rgba[4];
};

// Frame 0 is a round torus; frame 1 swells and shrinks the tube three times around, so a
// blend moves every position and every normal.
inline Vertex TorusPoint(const TorusSize& size, int frame, int ring, int side) {
  constexpr float kPi = 3.14159265f;
  const float a = 2 * kPi * static_cast<float>(ring) / static_cast<float>(size.rings);
  const float b = 2 * kPi * static_cast<float>(side) / static_cast<float>(size.sides);
  const float minor = kMinorRadius * (frame == 0 ? 1.0f : 1.0f + 0.25f * std::sin(3 * a));
  Vertex p{};
  p.position[0] = (kMajorRadius + minor * std::cos(b)) * std::cos(a);
  p.position[1] = minor * std::sin(b);
  p.position[2] = (kMajorRadius + minor * std::cos(b)) * std::sin(a);
  p.normal[0] = std::cos(b) * std::cos(a);
  p.normal[1] = std::sin(b);
  p.normal[2] = std::cos(b) * std::sin(a);
  p.u = 8.0f * static_cast<float>(ring) / static_cast<float>(size.rings);
  p.v = 2.0f * static_cast<float>(side) / static_cast<float>(size.sides);
  // 32 colours around the ring: few enough for a model file's byte-wide colour index.
  const int band = ring * 32 / size.rings;
  p.rgba[0] = static_cast<std::uint8_t>(128 + 120 * std::cos(2 * kPi * band / 32));
  p.rgba[1] = static_cast<std::uint8_t>(128 + 120 * std::sin(2 * kPi * band / 32));
  p.rgba[2] = 200;
  p.rgba[3] = 255;
  return p;
}

// The triangle list of one frame, three vertices per triangle, counter-clockwise seen
// from outside.
inline std::vector<Vertex> TorusTriangles(const TorusSize& size, int frame) {
  std::vector<Vertex> vertices;
  vertices.reserve(static_cast<std::size_t>(size.Triangles()) * 3);
  for (int ring = 0; ring < size.rings; ++ring) {
    for (int side = 0; side < size.sides; ++side) {
      const Vertex a = TorusPoint(size, frame, ring, side), b = TorusPoint(size, frame, ring + 1, side);
      const Vertex c = TorusPoint(size, frame, ring + 1, side + 1), d = TorusPoint(size, frame, ring, side + 1);
      for (const Vertex& v : {a, d, c, a, c, b}) vertices.push_back(v);
    }
  }
  return vertices;
}

// A grey and white checker of 8 x 8 squares, RGBA bytes, top row first.
inline std::vector<std::uint8_t> CheckerTexels() {
  std::vector<std::uint8_t> texels(static_cast<std::size_t>(kTextureSize) * kTextureSize * 4);
  for (int y = 0; y < kTextureSize; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      const std::uint8_t level = ((x / 32 + y / 32) % 2) != 0 ? 255 : 170;
      std::uint8_t* texel = &texels[(static_cast<std::size_t>(y) * kTextureSize + x) * 4];
      texel[0] = texel[1] = texel[2] = level;
      texel[3] = 255;
    }
  }
  return texels;
}

// The blend weight of frame n: never 0 or 1, so every frame blends.
inline float BlendWeight(int frame) { return 0.5f + 0.45f * std::sin(static_cast<float>(frame) * 0.1f); }

inline double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor time of the whole process: on a busy machine it says what a frame costs
// better than the wall clock, which also counts the time other programs ran.
inline double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// What one run of a workload measures; the defaults suit a software renderer.
// MESH_DRAW_SECONDS changes the measured time.
inline constexpr int kWarmUpFrames = 10;
inline constexpr double kMeasuredSeconds = 3.0;
inline constexpr int kMostFrames = 2000;

inline double MeasuredSeconds() {
  const char* text = std::getenv("MESH_DRAW_SECONDS");
  const double seconds = text != nullptr ? std::atof(text) : 0;
  return seconds > 0 ? seconds : kMeasuredSeconds;
}

// With MESH_DRAW_SHOTS naming a folder, one frame of each drawn workload is saved there
// as <program>-<workload>.ppm, to compare what the programs draw. The name of the frame
// to save is pending until the program calls SavePendingFrame before it presents.
inline std::string& PendingFrameName() {
  static std::string name;
  return name;
}

inline void SavePendingFrame() {
  const char* folder = std::getenv("MESH_DRAW_SHOTS");
  if (folder == nullptr || PendingFrameName().empty()) return;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  const std::string path = std::string(folder) + "/" + PendingFrameName() + ".ppm";
  PendingFrameName().clear();
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fprintf(file, "P6 %d %d 255\n", kWidth, kHeight);
    for (int y = kHeight - 1; y >= 0; --y) {
      std::fwrite(&pixels[static_cast<std::size_t>(y) * kWidth * 3], 1, kWidth * 3, file);
    }
    std::fclose(file);
  }
}

// Draws warm-up frames, then frames until the measured time has passed, and prints the
// result line. drawFrame(n) draws and presents frame n (the caller finishes the frame
// so that the time covers the renderer's work).
template <typename DrawFrame>
void MeasureWorkload(const char* program, const char* workload, bool discard, int triangles,
                     DrawFrame&& drawFrame) {
  int frame = 0;
  for (; frame < kWarmUpFrames; ++frame) {
    if (frame == kWarmUpFrames - 1 && !discard) PendingFrameName() = std::string(program) + "-" + workload;
    drawFrame(frame);
  }
  const double start = Seconds(), seconds = MeasuredSeconds(), processorStart = ProcessorSeconds();
  int counted = 0;
  while (counted < kMostFrames && Seconds() - start < seconds) {
    drawFrame(frame++);
    ++counted;
  }
  const double elapsed = Seconds() - start, processor = ProcessorSeconds() - processorStart;
  std::printf("RESULT %s %s %s %d %.2f %d %.2f\n", program, workload, discard ? "discard" : "drawn", counted,
              counted / elapsed, triangles, processor * 1000 / counted);
  std::fflush(stdout);
}

// Times one frame from its start to the end of the renderer's work.
template <typename DrawFrame>
void MeasureFirstFrame(const char* program, const char* workload, DrawFrame&& drawFrame) {
  const double start = Seconds(), processorStart = ProcessorSeconds();
  drawFrame();
  glFinish();
  std::printf("FIRST %s %s %.1f %.1f\n", program, workload, (Seconds() - start) * 1000,
              (ProcessorSeconds() - processorStart) * 1000);
  std::fflush(stdout);
}

// The workloads a program is asked for: the names on its command line, every one when
// there are none.
inline bool Wanted(const std::vector<std::string>& names, const char* workload) {
  if (names.empty()) return true;
  for (const std::string& name : names) {
    if (name == workload) return true;
  }
  return false;
}

}  // namespace torus_workload
