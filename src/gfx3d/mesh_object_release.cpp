// MeshObjectX: emptying an object and releasing its GL names.
#include "gfx3d/mesh_object.h"

#include "base/engine_state.h"
#include "video/renderer.h"

namespace {

template <typename T>
void Empty(std::vector<T>& list, bool releaseStorage) {
  if (releaseStorage) {
    std::vector<T>().swap(list);
  } else {
    list.clear();
  }
}

}  // namespace

void ClearObject(MeshObjectX& object, bool releaseStorage) {
  for (MeshFrame& frame : object.frames) {
    Empty(frame.fullVertices, true);
    Empty(frame.triangleVertices, true);
    Empty(frame.packedVertices, true);
  }
  Empty(object.frames, releaseStorage);
  Empty(object.currentVertices, releaseStorage);
  Empty(object.textureU, releaseStorage);
  Empty(object.textureV, releaseStorage);
  Empty(object.colourTable, releaseStorage);
  if (releaseStorage) {
    Empty(object.edges, true);
    Empty(object.faceLit, true);
  }
  // GL names are deleted only while a context exists; without one they are gone anyway.
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const bool glReady = renderer != nullptr && renderer->glReady;
  if (glReady && renderer->extensions.glDeleteBuffersARB != nullptr) {
    if (object.staticBuffer != 0) renderer->extensions.glDeleteBuffersARB(1, &object.staticBuffer);
    if (object.streamBuffer != 0) renderer->extensions.glDeleteBuffersARB(1, &object.streamBuffer);
    if (object.restBuffer != 0) renderer->extensions.glDeleteBuffersARB(1, &object.restBuffer);
  }
  if (glReady) {
    object.celTexture.Reset();
  } else {
    object.celTexture.Release();
  }
  object.staticBuffer = 0;
  object.streamBuffer = 0;
  object.restBuffer = 0;
  object.restChanged = true;
  object.motionBehind = false;
}
