#include "gfx3d/mesh_vertex_arrays.h"

#include <algorithm>

#include "gfx3d/mesh_drawing.h"
#include "video/renderer.h"

namespace {

constexpr GLsizei kStride = sizeof(MeshVertex);

// The streamed layout: position and normal, then texture coordinates and colour.
constexpr std::size_t kMovingFloats = 6;
constexpr std::size_t kRestFloats = 5;

const GlExtensionEntryPoints& Gl(const Diveduva3D& scene) { return scene.renderer.extensions; }

// Hands the vertices to GL: the static buffer for frame 0 unblended, the stream buffer
// otherwise; returns the base address the array pointers are taken from.
const char* UploadVertices(Diveduva3D& scene, MeshObjectX& object, const std::vector<MeshVertex>& vertices,
                           bool staticFrame) {
  if (!HasBufferObjects(scene)) return reinterpret_cast<const char*>(vertices.data());
  const GlExtensionEntryPoints& gl = Gl(scene);
  const GLsizeiptrARB bytes = static_cast<GLsizeiptrARB>(vertices.size() * sizeof(MeshVertex));
  if (staticFrame) {
    if (object.staticBuffer == 0) {
      gl.glGenBuffersARB(1, &object.staticBuffer);
      gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, object.staticBuffer);
      gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, vertices.data(), GL_STATIC_DRAW_ARB);
    } else {
      gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, object.staticBuffer);
    }
    return nullptr;
  }
  if (object.streamBuffer == 0) gl.glGenBuffersARB(1, &object.streamBuffer);
  gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, object.streamBuffer);
  // Orphaning the old store lets the driver keep drawing from it while this one fills.
  gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, nullptr, GL_STREAM_DRAW_ARB);
  void* mapped = gl.glMapBufferARB != nullptr ? gl.glMapBufferARB(GL_ARRAY_BUFFER_ARB, GL_WRITE_ONLY_ARB) : nullptr;
  if (mapped != nullptr) {
    std::copy(vertices.begin(), vertices.end(), static_cast<MeshVertex*>(mapped));
    gl.glUnmapBufferARB(GL_ARRAY_BUFFER_ARB);
  } else {
    gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, vertices.data(), GL_STREAM_DRAW_ARB);
  }
  return nullptr;
}

void BindSource(const Diveduva3D& scene, const ArraySource& source) {
  if (HasBufferObjects(scene)) Gl(scene).glBindBufferARB(GL_ARRAY_BUFFER_ARB, source.buffer);
}

// Replaces the store of buffer with floats that write fills, through a write-only map
// where the extension has one.
template <typename Write>
void FillBuffer(const Diveduva3D& scene, GLuint buffer, std::size_t floats, GLenum usage, Write&& write) {
  const GlExtensionEntryPoints& gl = Gl(scene);
  const GLsizeiptrARB bytes = static_cast<GLsizeiptrARB>(floats * sizeof(float));
  gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
  gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, nullptr, usage);
  void* mapped = gl.glMapBufferARB != nullptr ? gl.glMapBufferARB(GL_ARRAY_BUFFER_ARB, GL_WRITE_ONLY_ARB) : nullptr;
  if (mapped != nullptr) {
    write(static_cast<float*>(mapped));
    gl.glUnmapBufferARB(GL_ARRAY_BUFFER_ARB);
  } else {
    std::vector<float> data(floats);
    write(data.data());
    gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, data.data(), usage);
  }
}

void TexCoordArray(const Diveduva3D& scene, GLenum unit, const ArraySource& source, std::size_t offset) {
  if (HasMultitexture(scene)) Gl(scene).glClientActiveTextureARB(unit);
  BindSource(scene, source);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, source.stride, source.base + offset);
}

}  // namespace

bool HasMultitexture(const Diveduva3D& scene) {
  return Gl(scene).glActiveTextureARB != nullptr && Gl(scene).glClientActiveTextureARB != nullptr;
}

bool HasBufferObjects(const Diveduva3D& scene) {
  return Gl(scene).glGenBuffersARB != nullptr && Gl(scene).glBindBufferARB != nullptr &&
         Gl(scene).glBufferDataARB != nullptr;
}

void UnbindArrayBuffer(const Diveduva3D& scene) {
  if (HasBufferObjects(scene)) Gl(scene).glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void BlendMotion(const MeshVertex& base, const MeshVertex& other, float weight, float position[3], float normal[3]) {
  for (int k = 0; k < 3; ++k) {
    position[k] = other.position[k] + (base.position[k] - other.position[k]) * weight;
    normal[k] = other.normal[k] + (base.normal[k] - other.normal[k]) * weight;
  }
}

void CatchUpMotion(MeshObjectX& object, std::size_t first) {
  object.motionBehind = false;
  const std::vector<MeshVertex>& base = object.frames[static_cast<std::size_t>(object.blendBase)].triangleVertices;
  const std::vector<MeshVertex>& other = object.frames[static_cast<std::size_t>(object.blendOther)].triangleVertices;
  std::vector<MeshVertex>& current = object.currentVertices;
  const std::size_t count = std::min({current.size(), base.size(), other.size()});
  for (std::size_t i = first; i < count; ++i) {
    BlendMotion(base[i], other[i], object.blendWeight, current[i].position, current[i].normal);
  }
}

VertexLayout UploadFullVertices(Diveduva3D& scene, MeshObjectX& object, const std::vector<MeshVertex>& vertices,
                                bool staticFrame) {
  const char* address = UploadVertices(scene, object, vertices, staticFrame);
  VertexLayout layout;
  layout.moving = {HasBufferObjects(scene) ? (staticFrame ? object.staticBuffer : object.streamBuffer) : 0, address,
                   kStride};
  layout.rest = layout.moving;
  return layout;
}

bool BlendsMotionOnly(const Diveduva3D& scene, const MeshObjectX& object, const FrameChoice& choice) {
  const std::size_t size = object.currentVertices.size();
  return HasBufferObjects(scene) && choice.weight != 0 && !EffectOn(scene) && scene.textureOffsetU == 0 &&
         scene.textureOffsetV == 0 &&
         object.frames[static_cast<std::size_t>(choice.base)].triangleVertices.size() == size &&
         object.frames[static_cast<std::size_t>(choice.other)].triangleVertices.size() == size;
}

VertexLayout StreamBlendedMotion(const Diveduva3D& scene, MeshObjectX& object, const FrameChoice& choice) {
  const GlExtensionEntryPoints& gl = Gl(scene);
  const std::vector<MeshVertex>& current = object.currentVertices;
  if (object.restBuffer == 0) {
    gl.glGenBuffersARB(1, &object.restBuffer);
    object.restChanged = true;
  }
  if (object.restChanged) {
    FillBuffer(scene, object.restBuffer, current.size() * kRestFloats, GL_STATIC_DRAW_ARB, [&](float* out) {
      for (const MeshVertex& v : current) {
        out[0] = v.texCoord[0];
        out[1] = v.texCoord[1];
        out[2] = v.colourRGB[0];
        out[3] = v.colourRGB[1];
        out[4] = v.colourRGB[2];
        out += kRestFloats;
      }
    });
    object.restChanged = false;
  }
  if (object.streamBuffer == 0) gl.glGenBuffersARB(1, &object.streamBuffer);
  const std::vector<MeshVertex>& base = object.frames[static_cast<std::size_t>(choice.base)].triangleVertices;
  const std::vector<MeshVertex>& other = object.frames[static_cast<std::size_t>(choice.other)].triangleVertices;
  // Orphaning the old store lets the driver keep drawing from it while this one fills.
  FillBuffer(scene, object.streamBuffer, current.size() * kMovingFloats, GL_STREAM_DRAW_ARB, [&](float* out) {
    for (std::size_t i = 0; i < current.size(); ++i, out += kMovingFloats) {
      BlendMotion(base[i], other[i], choice.weight, out, out + 3);
    }
  });
  object.motionBehind = true;
  object.blendBase = choice.base;
  object.blendOther = choice.other;
  object.blendWeight = choice.weight;
  VertexLayout layout;
  layout.moving = {object.streamBuffer, nullptr, static_cast<GLsizei>(kMovingFloats * sizeof(float))};
  layout.rest = {object.restBuffer, nullptr, static_cast<GLsizei>(kRestFloats * sizeof(float))};
  layout.position = 0;
  layout.normal = 3 * sizeof(float);
  layout.texCoord = 0;
  layout.colourRGB = 2 * sizeof(float);
  return layout;
}

void SetUpArrays(Diveduva3D& scene, MeshObjectX& object, const VertexLayout& layout) {
  const Drawing2DState& binding = scene.renderer.drawing2D;
  const bool multi = HasMultitexture(scene);
  const ArraySource& rest = layout.rest;
  BindSource(scene, layout.moving);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, layout.moving.stride, layout.moving.base + layout.position);
  const EffectMode mode = EffectOn(scene) && multi ? scene.effectLight.mode : EffectMode::kNone;
  if (mode == EffectMode::kBump) {
    Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
    TexCoordArray(scene, GL_TEXTURE0_ARB, rest, layout.texCoord);
    Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    TexCoordArray(scene, GL_TEXTURE1_ARB, rest, layout.texCoord);
    Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
    BindSource(scene, rest);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, rest.stride, rest.base + offsetof(MeshVertex, lightVector));
  } else if (mode == EffectMode::kCel) {
    Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, object.celTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    TexCoordArray(scene, GL_TEXTURE1_ARB, rest, offsetof(MeshVertex, bitangent));
    Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
    if (binding.currentSlot >= 0) TexCoordArray(scene, GL_TEXTURE0_ARB, rest, layout.texCoord);
    scene.renderer.drawing2D.secondUnitOff = false;
  } else {
    if (binding.currentSlot >= 0) TexCoordArray(scene, GL_TEXTURE0_ARB, rest, layout.texCoord);
    if (binding.currentSlot >= 0 && binding.secondSlot >= 0 && multi) {
      TexCoordArray(scene, GL_TEXTURE1_ARB, rest, layout.texCoord);
    }
    if (object.hasColours) {
      BindSource(scene, rest);
      glEnableClientState(GL_COLOR_ARRAY);
      glColorPointer(3, GL_FLOAT, rest.stride, rest.base + layout.colourRGB);
    }
  }
  if (scene.lightMask != 0 || scene.sphereMapping) {
    BindSource(scene, layout.moving);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, layout.moving.stride, layout.moving.base + layout.normal);
  }
  if (scene.sphereMapping) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
  }
  glEnable(GL_COLOR_MATERIAL);
}

void TearDownArrays(Diveduva3D& scene, bool celUnit) {
  const bool multi = HasMultitexture(scene);
  if (multi) {
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
      Gl(scene).glClientActiveTextureARB(unit);
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    Gl(scene).glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (celUnit) glDisable(GL_TEXTURE_2D);
    Gl(scene).glActiveTextureARB(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  UnbindArrayBuffer(scene);
}
