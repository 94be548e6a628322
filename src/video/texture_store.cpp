#include "video/texture_store.h"

#include <GL/gl.h>

#include "video/renderer.h"

BackgroundTile& BackgroundSet::Tile(int column, int row) {
  if (tiles.empty()) tiles.resize(kMaxGrid * kMaxGrid);
  return tiles[static_cast<std::size_t>(row) * kMaxGrid + column];
}

const BackgroundTile* BackgroundSet::TileIfUsed(int column, int row) const {
  if (tiles.empty() || column >= columns || row >= rows) return nullptr;
  const BackgroundTile& tile = tiles[static_cast<std::size_t>(row) * kMaxGrid + column];
  return tile.texture != 0 ? &tile : nullptr;
}

int MaxTextureSize() {
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size >= 64 ? size : 64;
}

void FreeTextureSlot(OpenGLDiveduva& renderer, int slot) {
  TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(slot)];
  if (renderer.glReady) {
    FlushQuadBatch(renderer);  // pending sprites may still draw with the names deleted here
    entry.texture.Reset();
    entry.mipTexture.Reset();
  } else {
    entry.texture.Release();
    entry.mipTexture.Release();
  }
  entry.paddedWidth = entry.paddedHeight = -1;
  entry.imageWidth = entry.imageHeight = 0;
  std::vector<std::uint8_t>().swap(entry.alphaMask);
}

void ReleaseTextureStore(OpenGLDiveduva& renderer) {
  // Read through the const table: slots of blocks never made are empty and stay unmade.
  const TextureSlotTable& slots = renderer.textures.slots;
  for (int slot = 0; slot < TextureStore::kSlotCount; ++slot) {
    if (!slots[static_cast<std::size_t>(slot)].IsEmpty()) FreeTextureSlot(renderer, slot);
  }
  for (int set = 0; set < TextureStore::kBackgroundSetCount; ++set) ClearBackgroundSet(renderer, set);
}

void ClearBackgroundSet(OpenGLDiveduva& renderer, int set) {
  BackgroundSet& background = renderer.textures.backgrounds[static_cast<std::size_t>(set)];
  if (renderer.glReady) FlushQuadBatch(renderer);
  for (BackgroundTile& tile : background.tiles) {
    if (!renderer.glReady) tile.texture.Release();
    tile = BackgroundTile{};
  }
  background.columns = 0;
  background.rows = 0;
}
