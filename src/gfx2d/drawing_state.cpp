#include "gfx2d/drawing_state.h"

#include "video/renderer.h"

namespace {

GLuint TextureName(const OpenGLDiveduva& renderer, int slot, bool useMip, const GLuint* nameTable, int nameCount) {
  if (nameTable != nullptr) return slot < nameCount ? nameTable[slot] : 0;
  if (slot >= TextureStore::kSlotCount) return 0;
  const TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(slot)];
  return useMip && entry.mipTexture != 0 ? entry.mipTexture : entry.texture;
}

}  // namespace

void DisableSecondUnit(OpenGLDiveduva& renderer) {
  const auto activeTexture = renderer.extensions.glActiveTextureARB;
  if (activeTexture == nullptr) return;
  Drawing2DState& state = renderer.drawing2D;
  if (state.secondUnitOff) {
    // Code of the game's own may have switched units in between; that costs one query.
    GLint activeUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &activeUnit);
    if (activeUnit == GL_TEXTURE0_ARB) return;
  }
  activeTexture(GL_TEXTURE1_ARB);
  glDisable(GL_TEXTURE_2D);
  activeTexture(GL_TEXTURE0_ARB);
  state.secondUnitOff = true;
}

void BindSpriteTexture(OpenGLDiveduva& renderer, int slot, int secondSlot, bool useMip, const GLuint* nameTable,
                       int nameCount) {
  Drawing2DState& state = renderer.drawing2D;
  state.currentSlot = slot;
  state.secondSlot = secondSlot;
  state.useMip = useMip;
  const auto activeTexture = renderer.extensions.glActiveTextureARB;

  if (slot < 0) {
    if (activeTexture != nullptr) {
      DisableSecondUnit(renderer);
      glDisable(GL_TEXTURE_2D);
    } else {
      glDisable(GL_TEXTURE_2D);
      glEnable(GL_COLOR_MATERIAL);
    }
    return;
  }
  if (activeTexture == nullptr) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureName(renderer, slot, useMip, nameTable, nameCount));
    return;
  }
  if (secondSlot >= 0) {
    activeTexture(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureName(renderer, secondSlot, useMip, nameTable, nameCount));
    activeTexture(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureName(renderer, slot, useMip, nameTable, nameCount));
    activeTexture(GL_TEXTURE0_ARB);
    state.secondUnitOff = false;
  } else {
    DisableSecondUnit(renderer);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureName(renderer, slot, useMip, nameTable, nameCount));
  }
}

UntexturedDrawing::UntexturedDrawing(OpenGLDiveduva& renderer) : renderer_(renderer), saved_() {
  saved_.currentSlot = renderer.drawing2D.currentSlot;
  saved_.secondSlot = renderer.drawing2D.secondSlot;
  saved_.useMip = renderer.drawing2D.useMip;
  glDisable(GL_TEXTURE_2D);
}

UntexturedDrawing::~UntexturedDrawing() {
  BindSpriteTexture(renderer_, saved_.currentSlot, saved_.secondSlot, saved_.useMip);
}
