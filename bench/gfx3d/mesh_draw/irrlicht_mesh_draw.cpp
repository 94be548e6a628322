// The comparison library's side of the mesh-drawing benchmark (Irrlicht 1.8, used here
// as a measuring stick only): the same torus drawn static from a static hardware
// buffer, blended on the processor into a streamed buffer every frame, and as a stencil
// shadow caster through the library's shadow volume node. The library has no cel mode,
// so that workload is not drawn. Its shadow volume node reads 16-bit indices, and its
// first frame with the 10,500-triangle caster already takes about a second (measured; the
// time grows with the square of the triangles), so only that caster is drawn as a shadow.
//
//   irrlicht_mesh_draw [workload ...]   (as engine_mesh_draw)

#include <GL/gl.h>
#include <GL/glext.h>
#include <irrlicht/irrlicht.h>
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "torus_workload.h"

namespace {

using namespace irr;
using namespace torus_workload;

video::S3DVertex LibraryVertex(const Vertex& v) {
  return video::S3DVertex(core::vector3df(v.position[0], v.position[1], v.position[2]),
                          core::vector3df(v.normal[0], v.normal[1], v.normal[2]),
                          video::SColor(v.rgba[3], v.rgba[0], v.rgba[1], v.rgba[2]), core::vector2df(v.u, v.v));
}

// A mesh holding buffer alone (the mesh takes the buffer over).
scene::SMesh* MeshOf(scene::SMeshBuffer* buffer) {
  buffer->recalculateBoundingBox();
  auto* mesh = new scene::SMesh;
  mesh->addMeshBuffer(buffer);
  buffer->drop();
  mesh->recalculateBoundingBox();
  return mesh;
}

// The large torus needs 32-bit indices: one dynamic buffer of 300,000 vertices.
scene::SMesh* LargeMesh(scene::CDynamicMeshBuffer*& buffer) {
  buffer = new scene::CDynamicMeshBuffer(video::EVT_STANDARD, video::EIT_32BIT);
  const std::vector<Vertex> vertices = TorusTriangles(kLargeTorus, 0);
  buffer->getVertexBuffer().reallocate(static_cast<u32>(vertices.size()));
  buffer->getIndexBuffer().reallocate(static_cast<u32>(vertices.size()));
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    buffer->getVertexBuffer().push_back(LibraryVertex(vertices[i]));
    buffer->getIndexBuffer().push_back(static_cast<u32>(i));
  }
  buffer->recalculateBoundingBox();
  auto* mesh = new scene::SMesh;
  mesh->addMeshBuffer(buffer);
  mesh->recalculateBoundingBox();
  return mesh;
}

// The small caster fits 16-bit indices, which the shadow volume node reads.
scene::SMesh* SmallMesh() {
  auto* buffer = new scene::SMeshBuffer;
  for (const Vertex& v : TorusTriangles(kSmallTorus, 0)) {
    buffer->Indices.push_back(static_cast<u16>(buffer->Vertices.size()));
    buffer->Vertices.push_back(LibraryVertex(v));
  }
  return MeshOf(buffer);
}

scene::SMesh* FloorMesh() {
  auto* buffer = new scene::SMeshBuffer;
  const float h = kFloorHalfSize, y = kFloorY;
  const video::SColor grey(255, 192, 192, 192);
  buffer->Vertices.push_back(video::S3DVertex(-h, y, -h, 0, 1, 0, grey, 0, 0));
  buffer->Vertices.push_back(video::S3DVertex(-h, y, h, 0, 1, 0, grey, 0, 4));
  buffer->Vertices.push_back(video::S3DVertex(h, y, -h, 0, 1, 0, grey, 4, 0));
  buffer->Vertices.push_back(video::S3DVertex(h, y, h, 0, 1, 0, grey, 4, 4));
  for (u16 index : {0, 1, 2, 2, 1, 3}) buffer->Indices.push_back(index);
  return MeshOf(buffer);
}

class Bench {
 public:
  explicit Bench(IrrlichtDevice* device) : device_(device) {
    driver_ = device->getVideoDriver();
    scene_ = device->getSceneManager();
    const std::vector<std::uint8_t> texels = CheckerTexels();
    // The library's 32-bit colour format is ARGB in a 32-bit word.
    std::vector<u32> argb(texels.size() / 4);
    for (std::size_t i = 0; i < argb.size(); ++i) {
      argb[i] = 0xFF000000u | (texels[i * 4] << 16) | (texels[i * 4 + 1] << 8) | texels[i * 4 + 2];
    }
    video::IImage* image = driver_->createImageFromData(
        video::ECF_A8R8G8B8, core::dimension2d<u32>(kTextureSize, kTextureSize), argb.data(), false, false);
    texture_ = driver_->addTexture("checker", image);
    image->drop();

    scene::ICameraSceneNode* camera =
        scene_->addCameraSceneNode(nullptr, core::vector3df(kEye[0], kEye[1], kEye[2]),
                                   core::vector3df(kTarget[0], kTarget[1], kTarget[2]));
    camera->setFOV(kFieldOfView * core::DEGTORAD);
    camera->setNearValue(kNear);
    camera->setFarValue(kFar);
    camera->setAspectRatio(static_cast<f32>(kWidth) / kHeight);
    light_ = scene_->addLightSceneNode(nullptr, core::vector3df(kLightPosition[0], kLightPosition[1], kLightPosition[2]),
                                       video::SColorf(1, 1, 1), 1000);
    scene_->setShadowColor(video::SColor(128, 0, 0, 0));

    large_ = LargeMesh(largeBuffer_);
    small_ = SmallMesh();
    floor_ = FloorMesh();
    for (const Vertex& v : TorusTriangles(kLargeTorus, 0)) frames_[0].push_back(LibraryVertex(v));
    for (const Vertex& v : TorusTriangles(kLargeTorus, 1)) frames_[1].push_back(LibraryVertex(v));
  }

  ~Bench() {
    large_->drop();
    largeBuffer_->drop();
    small_->drop();
    floor_->drop();
  }

  void Run(const std::vector<std::string>& names) {
    const int large = kLargeTorus.Triangles(), small = kSmallTorus.Triangles();
    for (bool discard : {false, true}) {
      if (Wanted(names, "static")) {
        large_->setHardwareMappingHint(scene::EHM_STATIC);
        scene::ISceneNode* node = AddModel(large_);
        MeasureWorkload("irrlicht", "static", discard, large, [&](int) { DrawFrame(discard); });
        node->remove();
      }
      if (Wanted(names, "blended")) {
        large_->setHardwareMappingHint(scene::EHM_STREAM, scene::EBT_VERTEX);
        scene::ISceneNode* node = AddModel(large_);
        MeasureWorkload("irrlicht", "blended", discard, large, [&](int frame) {
          Blend(BlendWeight(frame));
          DrawFrame(discard);
        });
        node->remove();
        Blend(0);
      }
      if (Wanted(names, "shadow-small")) {
        small_->setHardwareMappingHint(scene::EHM_STATIC);
        scene::ISceneNode* floor = AddModel(floor_);
        scene::IMeshSceneNode* node = AddModel(small_);
        // The library's volume ends at a finite distance and its far cap must lie inside
        // the far plane, or the depth-fail count loses the shadow: 200 reaches far below
        // the floor and stays well inside 500.
        node->addShadowVolumeSceneNode(nullptr, -1, true, 200);
        if (!discard) {
          MeasureFirstFrame("irrlicht", "shadow-small", [&] { DrawFrame(discard); });
        }
        MeasureWorkload("irrlicht", "shadow-small", discard, small, [&](int) { DrawFrame(discard); });
        node->remove();
        floor->remove();
      }
    }
  }

 private:
  scene::IMeshSceneNode* AddModel(scene::IMesh* mesh) {
    scene::IMeshSceneNode* node = scene_->addMeshSceneNode(mesh);
    node->setMaterialTexture(0, texture_);
    node->setMaterialFlag(video::EMF_LIGHTING, true);
    return node;
  }

  // Positions and normals of the current frame = frame 0 + (frame 1 - frame 0) x weight.
  void Blend(float weight) {
    auto* vertices = static_cast<video::S3DVertex*>(largeBuffer_->getVertices());
    const video::S3DVertex* a = frames_[0].data();
    const video::S3DVertex* b = frames_[1].data();
    for (std::size_t i = 0; i < frames_[0].size(); ++i) {
      vertices[i].Pos = a[i].Pos + (b[i].Pos - a[i].Pos) * weight;
      vertices[i].Normal = a[i].Normal + (b[i].Normal - a[i].Normal) * weight;
    }
    largeBuffer_->setDirty(scene::EBT_VERTEX);
  }

  void DrawFrame(bool discard) {
    device_->run();
    driver_->beginScene(true, true, video::SColor(255, 0, 0, 0));
    if (discard) glEnable(GL_RASTERIZER_DISCARD);
    scene_->drawAll();
    if (discard) glDisable(GL_RASTERIZER_DISCARD);
    SavePendingFrame();
    driver_->endScene();
  }

  IrrlichtDevice* device_;
  video::IVideoDriver* driver_ = nullptr;
  scene::ISceneManager* scene_ = nullptr;
  video::ITexture* texture_ = nullptr;
  scene::ILightSceneNode* light_ = nullptr;
  scene::CDynamicMeshBuffer* largeBuffer_ = nullptr;
  scene::SMesh* large_ = nullptr;
  scene::SMesh* small_ = nullptr;
  scene::SMesh* floor_ = nullptr;
  std::vector<video::S3DVertex> frames_[2];
};

}  // namespace

int main(int argc, char** argv) {
  // The engine's heap setting: freed memory stays with the process.
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
  mallopt(M_MMAP_MAX, 0);
  SIrrlichtCreationParameters parameters;
  parameters.DriverType = video::EDT_OPENGL;
  parameters.WindowSize = core::dimension2d<u32>(kWidth, kHeight);
  parameters.Bits = 32;
  parameters.ZBufferBits = 24;
  parameters.Stencilbuffer = true;
  parameters.Vsync = false;
  IrrlichtDevice* device = createDeviceEx(parameters);
  if (device == nullptr) {
    std::fprintf(stderr, "irrlicht_mesh_draw: no device\n");
    return 1;
  }
  device->getLogger()->setLogLevel(ELL_ERROR);
  {
    Bench bench(device);
    bench.Run(std::vector<std::string>(argv + 1, argv + argc));
  }
  device->drop();
  return 0;
}
