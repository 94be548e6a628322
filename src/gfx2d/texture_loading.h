#pragma once
// Pictures into the renderer's texture table: decoding and uploading into sprite and font
// slots, the background sets loaded from files or captured from the screen, and drawing
// a background set.

#include <GL/gl.h>

#include <cstdint>

#include "gfx2d/image_buffer.h"
#include "video/texture_store.h"

class OpenGLDiveduva;

// Uploads the region (x, y, width, height) of the image (0 = to the image edge) as a
// power-of-two texture into *texture (replacing the old name), and when mipTexture is
// given a second texture with a complete mipmap chain. Linear filtering bleeds colour
// under transparent texels; normalMap converts the texels into a normal map.
void UploadImage(const ImageBuffer& image, int x, int y, int width, int height, GlTexture* texture, GlTexture* mipTexture,
                 bool normalMap, bool nearest);

// Frees the slot, decodes the picture at path (BMP first, then PNG) with the colour key
// and uploads it: font slots with nearest filtering and no mipmaps. False leaves the
// slot empty.
bool LoadTextureSlot(OpenGLDiveduva& renderer, int slot, const char* path, std::int32_t colourKey, bool normalMap);

// Copies the screen area (left, top, width, height), top left origin, into the slot as
// a texture of at least 32 texels a side (kept when its size fits), without mipmaps. A
// screen without destination alpha gets the sprite key turned transparent by hand.
// width and height are 1 .. MaxTextureSize(); the texture binding is kept.
void GrabScreenIntoSlot(OpenGLDiveduva& renderer, int slot, int left, int top, int width, int height);

// Background sets.
bool LoadBackgroundSet(OpenGLDiveduva& renderer, int set, const char* path);
void CaptureScreenToSet(OpenGLDiveduva& renderer, int set);
// Draws every tile of the set at its place from the viewport's top left.
void DrawBackgroundSet(OpenGLDiveduva& renderer, int set);
