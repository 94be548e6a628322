#pragma once
// Writing the pictures that materials name as PNG files beside a converted scene. The
// engine pads every texture to power-of-two sides and addresses only the picture's
// corner, so the pictures are scaled to such sides here and texture coordinates 0..1
// keep covering the whole picture.

#include <string>

#include "gfx2d/image_buffer.h"
#include "source_scene.h"

// The picture scaled (bilinearly) to the smallest power-of-two sides of at least 2 that
// are not smaller than its own; a picture that has such sides already is returned as is.
ImageBuffer ScaleToPowerOfTwo(const ImageBuffer& image);

// Decodes the picture a material names (a file relative to sourceFolder, or "*N" for a
// picture held in the file) and writes it to outputPath as PNG. Reads BMP and PNG
// pictures; false with a message otherwise.
bool ExportTexture(const SourceScene& scene, const std::string& sourceFolder, const std::string& reference,
                   const std::string& outputPath, std::string& error);

// Writes a white 2 x 2 PNG, the texture of scene models whose material has none.
bool WriteWhiteTexture(const std::string& outputPath);
