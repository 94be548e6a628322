// The limit of the mesh-drawing benchmark: the same workloads drawn by the plainest
// OpenGL program that does the same work, one draw call per pass from buffer objects
// with compact vertices. Static: everything in one static buffer. Blended: positions and
// normals blended into a streamed buffer beside a static buffer of the rest. Cel: the
// ramp coordinates streamed, the outline drawn from streamed pushed-out positions.
// Shadow: the silhouette quads and caps streamed each frame from edge links built once.
//
//   plain_gl_mesh_draw [workload ...]   (as engine_mesh_draw)

#define GL_GLEXT_PROTOTYPES
#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "torus_workload.h"

namespace {

using namespace torus_workload;

// Position and normal: the part a blend changes.
struct Moving {
  float position[3];
  float normal[3];
};
// Texture coordinates and colour: the part every frame shares.
struct Fixed {
  float u, v;
  std::uint8_t rgba[4];
};

struct Model {
  int triangles = 0;
  std::vector<Moving> frames[2];
  std::vector<Fixed> fixed;
  std::vector<float> faceNormals;        // three per triangle of frame 0
  std::vector<std::int32_t> neighbours;  // three per triangle, -1 for none
  GLuint staticMoving = 0, staticFixed = 0, stream = 0;
};

template <typename T>
GLuint StaticBuffer(const std::vector<T>& data) {
  GLuint name = 0;
  glGenBuffers(1, &name);
  glBindBuffer(GL_ARRAY_BUFFER, name);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(), GL_STATIC_DRAW);
  return name;
}

// Orphans the stream buffer, maps it and returns where count items of T go.
template <typename T>
T* MapStream(Model& model, std::size_t count) {
  glBindBuffer(GL_ARRAY_BUFFER, model.stream);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(T)), nullptr, GL_STREAM_DRAW);
  return static_cast<T*>(glMapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
}

void LinkEdges(Model& model) {
  // Corners are the same point when their positions agree to 1e-4.
  auto key = [&](int corner) {
    const float* p = model.frames[0][static_cast<std::size_t>(corner)].position;
    return std::make_tuple(std::lround(p[0] * 1e4), std::lround(p[1] * 1e4), std::lround(p[2] * 1e4));
  };
  std::map<std::tuple<long, long, long>, int> ids;
  std::vector<int> id(static_cast<std::size_t>(model.triangles) * 3);
  for (std::size_t c = 0; c < id.size(); ++c) id[c] = ids.try_emplace(key(static_cast<int>(c)), ids.size()).first->second;
  std::map<std::pair<int, int>, int> open;
  model.neighbours.assign(id.size(), -1);
  for (int side = 0; side < static_cast<int>(id.size()); ++side) {
    const int a = id[static_cast<std::size_t>(side)], b = id[static_cast<std::size_t>(side - side % 3 + (side + 1) % 3)];
    const auto found = open.find({b, a});
    if (found != open.end()) {
      model.neighbours[static_cast<std::size_t>(side)] = found->second / 3;
      model.neighbours[static_cast<std::size_t>(found->second)] = side / 3;
      open.erase(found);
    } else {
      open[{a, b}] = side;
    }
  }
}

Model MakeModel(const TorusSize& size) {
  Model model;
  model.triangles = size.Triangles();
  for (int f = 0; f < 2; ++f) {
    for (const Vertex& v : TorusTriangles(size, f)) {
      model.frames[f].push_back({{v.position[0], v.position[1], v.position[2]}, {v.normal[0], v.normal[1], v.normal[2]}});
      if (f == 0) model.fixed.push_back({v.u, v.v, {v.rgba[0], v.rgba[1], v.rgba[2], v.rgba[3]}});
    }
  }
  for (int t = 0; t < model.triangles; ++t) {
    const float* p0 = model.frames[0][static_cast<std::size_t>(t) * 3].position;
    const float* p1 = model.frames[0][static_cast<std::size_t>(t) * 3 + 1].position;
    const float* p2 = model.frames[0][static_cast<std::size_t>(t) * 3 + 2].position;
    const float a[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
    const float b[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
    model.faceNormals.insert(model.faceNormals.end(),
                             {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]});
  }
  LinkEdges(model);
  model.staticMoving = StaticBuffer(model.frames[0]);
  model.staticFixed = StaticBuffer(model.fixed);
  glGenBuffers(1, &model.stream);
  return model;
}

GLuint MakeTexture(int width, int height, const std::vector<std::uint8_t>& texels, GLint wrapS) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  return name;
}

// The ramp texture: 64 columns of brightness bands, one row per colour band.
GLuint MakeCelTexture() {
  constexpr int kWidth = 64, kRows = 64;
  std::vector<std::uint8_t> texels(kWidth * kRows * 4, 255);
  for (int x = 0; x < kWidth; ++x) {
    const std::uint8_t level = x < 4 ? 100 : x < 28 ? 160 : x < 32 ? 207 : 255;
    for (int y = 0; y < kRows; ++y) std::memset(&texels[(y * kWidth + x) * 4], level, 3);
  }
  return MakeTexture(kWidth, kRows, texels, GL_CLAMP_TO_EDGE);
}

struct Scene {
  Model large, small;
  GLuint checker = 0, cel = 0;
  float light[3] = {0, 0, 0};  // unit vector towards the light
};

void BeginFrame(bool discard) {
  if (discard) glEnable(GL_RASTERIZER_DISCARD);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double top = kNear * std::tan(kFieldOfView * 3.14159265358979 / 360);
  glFrustum(-top * kWidth / kHeight, top * kWidth / kHeight, -top, top, kNear, kFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Look from the eye at the target with y up.
  float f[3] = {kTarget[0] - kEye[0], kTarget[1] - kEye[1], kTarget[2] - kEye[2]};
  const float fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
  for (float& c : f) c /= fl;
  float s[3] = {-f[2], 0, f[0]};  // f x up
  const float sl = std::sqrt(s[0] * s[0] + s[2] * s[2]);
  s[0] /= sl, s[2] /= sl;
  const float u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
  const float m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
  glMultMatrixf(m);
  glTranslatef(-kEye[0], -kEye[1], -kEye[2]);
  const float direction[4] = {kLightPosition[0], kLightPosition[1], kLightPosition[2], 0};
  glLightfv(GL_LIGHT0, GL_POSITION, direction);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnable(GL_TEXTURE_2D);
}

void EndFrame(SDL_Window* window, bool discard) {
  if (discard) glDisable(GL_RASTERIZER_DISCARD);
  SavePendingFrame();
  SDL_GL_SwapWindow(window);
}

void MovingArrays(GLuint buffer) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(Moving), reinterpret_cast<void*>(offsetof(Moving, position)));
  glNormalPointer(GL_FLOAT, sizeof(Moving), reinterpret_cast<void*>(offsetof(Moving, normal)));
}

void FixedArrays(const Model& model) {
  glBindBuffer(GL_ARRAY_BUFFER, model.staticFixed);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(Fixed), reinterpret_cast<void*>(offsetof(Fixed, u)));
  glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Fixed), reinterpret_cast<void*>(offsetof(Fixed, rgba)));
}

void DisableArrays() {
  for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
    glClientActiveTexture(unit);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void DrawStatic(const Scene& scene, const Model& model) {
  glBindTexture(GL_TEXTURE_2D, scene.checker);
  MovingArrays(model.staticMoving);
  FixedArrays(model);
  glDrawArrays(GL_TRIANGLES, 0, model.triangles * 3);
  DisableArrays();
}

void DrawBlended(const Scene& scene, Model& model, float weight) {
  const std::size_t count = model.frames[0].size();
  Moving* out = MapStream<Moving>(model, count);
  const Moving* a = model.frames[0].data();
  const Moving* b = model.frames[1].data();
  for (std::size_t i = 0; i < count; ++i) {
    for (int k = 0; k < 3; ++k) {
      out[i].position[k] = a[i].position[k] + (b[i].position[k] - a[i].position[k]) * weight;
      out[i].normal[k] = a[i].normal[k] + (b[i].normal[k] - a[i].normal[k]) * weight;
    }
  }
  glUnmapBuffer(GL_ARRAY_BUFFER);
  glBindTexture(GL_TEXTURE_2D, scene.checker);
  MovingArrays(model.stream);
  FixedArrays(model);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  DisableArrays();
}

void DrawCel(const Scene& scene, Model& model) {
  const std::size_t count = model.frames[0].size();
  const Moving* vertices = model.frames[0].data();
  float* coordinates = MapStream<float>(model, count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    const float* n = vertices[i].normal;
    const float lit = n[0] * scene.light[0] + n[1] * scene.light[1] + n[2] * scene.light[2];
    coordinates[i * 2] = std::clamp(lit, 0.05f, 0.95f);
    coordinates[i * 2 + 1] = (static_cast<float>(model.fixed[i].rgba[0] >> 3) + 0.5f) / 64;
  }
  glUnmapBuffer(GL_ARRAY_BUFFER);
  glClientActiveTexture(GL_TEXTURE1);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
  glActiveTexture(GL_TEXTURE1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, scene.cel);
  glActiveTexture(GL_TEXTURE0);
  glClientActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, scene.checker);
  MovingArrays(model.staticMoving);
  FixedArrays(model);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  DisableArrays();
  glActiveTexture(GL_TEXTURE1);
  glDisable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);

  // The outline: the surface pushed out along its normals, back faces in black.
  float* pushed = MapStream<float>(model, count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    for (int k = 0; k < 3; ++k) pushed[i * 3 + k] = vertices[i].position[k] + vertices[i].normal[k] * 0.06f;
  }
  glUnmapBuffer(GL_ARRAY_BUFFER);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glCullFace(GL_FRONT);
  glColor4f(0, 0, 0, 1);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, nullptr);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  DisableArrays();
  glColor4f(1, 1, 1, 1);
  glCullFace(GL_BACK);
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
}

void DrawFloor(const Scene& scene) {
  glBindTexture(GL_TEXTURE_2D, scene.checker);
  glColor4f(0.75f, 0.75f, 0.75f, 1);
  glNormal3f(0, 1, 0);
  const float h = kFloorHalfSize, y = kFloorY;
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0), glVertex3f(-h, y, -h);
  glTexCoord2f(0, 4), glVertex3f(-h, y, h);
  glTexCoord2f(4, 0), glVertex3f(h, y, -h);
  glTexCoord2f(4, 4), glVertex3f(h, y, h);
  glEnd();
  glColor4f(1, 1, 1, 1);
}

// Streams the volume of the caster (quads first, then cap triangles, points at infinity
// with w = 0), draws it twice into the stencil and darkens what it marked.
void DrawShadow(Model& model) {
  const float* light = kLightPosition;
  std::vector<std::uint8_t> lit(static_cast<std::size_t>(model.triangles));
  std::size_t quads = 0;
  for (std::size_t t = 0; t < lit.size(); ++t) {
    const float* n = &model.faceNormals[t * 3];
    lit[t] = n[0] * light[0] + n[1] * light[1] + n[2] * light[2] > 0;
  }
  for (std::size_t side = 0; side < lit.size() * 3; ++side) {
    const std::int32_t other = model.neighbours[side];
    if (lit[side / 3] && (other < 0 || !lit[static_cast<std::size_t>(other)])) ++quads;
  }
  const std::size_t corners = quads * 4 + lit.size() * 3;
  float* out = MapStream<float>(model, corners * 4);
  const Moving* v = model.frames[0].data();
  auto put = [&](const float* p, bool extruded) {
    if (extruded) {
      *out++ = p[0] - light[0], *out++ = p[1] - light[1], *out++ = p[2] - light[2], *out++ = 0;
    } else {
      *out++ = p[0], *out++ = p[1], *out++ = p[2], *out++ = 1;
    }
  };
  for (std::size_t side = 0; side < lit.size() * 3; ++side) {
    const std::int32_t other = model.neighbours[side];
    if (!lit[side / 3] || (other >= 0 && lit[static_cast<std::size_t>(other)])) continue;
    const float* from = v[side].position;
    const float* to = v[side - side % 3 + (side + 1) % 3].position;
    put(to, false), put(from, false), put(from, true), put(to, true);
  }
  for (std::size_t c = 0; c < lit.size() * 3; ++c) put(v[c].position, !lit[c / 3]);
  glUnmapBuffer(GL_ARRAY_BUFFER);

  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_POLYGON_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glDepthMask(GL_FALSE);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_ALWAYS, 0, ~0u);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, nullptr);
  for (const auto& [cull, op] : {std::pair{GL_BACK, GL_INCR}, std::pair{GL_FRONT, GL_DECR}}) {
    glCullFace(cull);
    glStencilOp(GL_KEEP, GL_KEEP, op);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(quads * 4));
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(quads * 4), static_cast<GLsizei>(lit.size() * 3));
  }
  DisableArrays();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glStencilFunc(GL_NOTEQUAL, 0, ~0u);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor4f(0, 0, 0, 0.5f);
  glRectf(-1, -1, 1, 1);
  glColor4f(1, 1, 1, 1);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

void RunWorkloads(SDL_Window* window, Scene& scene, const std::vector<std::string>& names) {
  const int large = kLargeTorus.Triangles(), small = kSmallTorus.Triangles();
  for (bool discard : {false, true}) {
    auto frame = [&](auto&& draw) {
      return [&, draw](int n) {
        BeginFrame(discard);
        draw(n);
        EndFrame(window, discard);
      };
    };
    if (Wanted(names, "static")) {
      MeasureWorkload("plain", "static", discard, large, frame([&](int) { DrawStatic(scene, scene.large); }));
    }
    if (Wanted(names, "blended")) {
      MeasureWorkload("plain", "blended", discard, large,
                      frame([&](int n) { DrawBlended(scene, scene.large, BlendWeight(n)); }));
    }
    if (Wanted(names, "cel")) {
      MeasureWorkload("plain", "cel", discard, large, frame([&](int) { DrawCel(scene, scene.large); }));
    }
    for (auto [name, model, triangles] : {std::tuple{"shadow", &scene.large, large},
                                          std::tuple{"shadow-small", &scene.small, small}}) {
      if (!Wanted(names, name)) continue;
      MeasureWorkload("plain", name, discard, triangles, frame([&, model = model](int) {
                        DrawFloor(scene);
                        DrawStatic(scene, *model);
                        DrawShadow(*model);
                      }));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The engine's heap setting: freed memory stays with the process.
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
  mallopt(M_MMAP_MAX, 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("Plain mesh drawing", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                        kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr) {
    std::fprintf(stderr, "plain_gl_mesh_draw: no GL window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetSwapInterval(0);
  glViewport(0, 0, kWidth, kHeight);
  std::vector<std::string> names(argv + 1, argv + argc);
  Scene scene;
  scene.large = MakeModel(kLargeTorus);
  scene.small = MakeModel(kSmallTorus);
  scene.checker = MakeTexture(kTextureSize, kTextureSize, CheckerTexels(), GL_REPEAT);
  scene.cel = MakeCelTexture();
  const float length = std::sqrt(kLightPosition[0] * kLightPosition[0] + kLightPosition[1] * kLightPosition[1] +
                                 kLightPosition[2] * kLightPosition[2]);
  for (int k = 0; k < 3; ++k) scene.light[k] = kLightPosition[k] / length;
  RunWorkloads(window, scene, names);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
