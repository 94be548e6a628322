#include "gfx3d/engine3d.h"

#include "gfx3d/shader_programs.h"
#include "video/renderer.h"

Diveduva3D::Diveduva3D(OpenGLDiveduva& renderer, bool debug) : renderer(renderer), debug(debug) {}

Diveduva3D::~Diveduva3D() {
  for (int index = 0; index < kShaderProgramSlots; ++index) DeleteShaderProgram(*this, index);
}

bool SceneHasContext(const Diveduva3D& scene) { return scene.renderer.context != nullptr; }

bool EffectOn(const Diveduva3D& scene) { return scene.effectLight.on && scene.effectLight.mode != EffectMode::kNone; }
