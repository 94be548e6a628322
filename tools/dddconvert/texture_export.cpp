#include "texture_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

#include "files/plain_file.h"
#include "gfx2d/bmp_reader.h"
#include "gfx2d/image_writer.h"
#include "gfx2d/png_reader.h"

namespace {

int PowerOfTwoAtLeast(int size) {
  int side = 2;
  while (side < size && side < (1 << 30)) side *= 2;
  return side;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Materials written on other systems name pictures with '\' and in other folders; the
// picture is looked for as named, then by its base name beside the model.
std::string FindPicture(const std::string& folder, std::string reference) {
  for (char& c : reference) c = c == '\\' ? '/' : c;
  if (!reference.empty() && reference[0] == '/' && IsFile(reference)) return reference;
  if (IsFile(folder + reference)) return folder + reference;
  const std::size_t slash = reference.find_last_of('/');
  const std::string base = slash == std::string::npos ? reference : reference.substr(slash + 1);
  return IsFile(folder + base) ? folder + base : "";
}

bool DecodePicture(const std::string& path, ImageBuffer& image) {
  return LoadBmp(path.c_str(), kNoColourKey, image) || LoadPng(path.c_str(), kNoColourKey, image);
}

bool WritePng(const ImageBuffer& image, const std::string& path) {
  std::vector<std::uint8_t> bgra(image.pixels.size());
  for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
    bgra[i] = image.pixels[i + 2];
    bgra[i + 1] = image.pixels[i + 1];
    bgra[i + 2] = image.pixels[i];
    bgra[i + 3] = image.pixels[i + 3];
  }
  return SavePng(path, bgra.data(), image.width, image.height);
}

}  // namespace

ImageBuffer ScaleToPowerOfTwo(const ImageBuffer& image) {
  const int width = PowerOfTwoAtLeast(image.width), height = PowerOfTwoAtLeast(image.height);
  if (image.IsEmpty() || (width == image.width && height == image.height)) return image;
  ImageBuffer scaled;
  scaled.width = width;
  scaled.height = height;
  scaled.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    // Texel centres of the new picture mapped onto the old one.
    const float sy = std::max(0.0f, (y + 0.5f) * image.height / height - 0.5f);
    const int y0 = std::min(static_cast<int>(sy), image.height - 1), y1 = std::min(y0 + 1, image.height - 1);
    const float fy = sy - y0;
    for (int x = 0; x < width; ++x) {
      const float sx = std::max(0.0f, (x + 0.5f) * image.width / width - 0.5f);
      const int x0 = std::min(static_cast<int>(sx), image.width - 1), x1 = std::min(x0 + 1, image.width - 1);
      const float fx = sx - x0;
      std::uint8_t* out = scaled.Pixel(x, y);
      for (int c = 0; c < 4; ++c) {
        const float top = image.Pixel(x0, y0)[c] * (1 - fx) + image.Pixel(x1, y0)[c] * fx;
        const float bottom = image.Pixel(x0, y1)[c] * (1 - fx) + image.Pixel(x1, y1)[c] * fx;
        out[c] = static_cast<std::uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
      }
    }
  }
  return scaled;
}

bool ExportTexture(const SourceScene& scene, const std::string& sourceFolder, const std::string& reference,
                   const std::string& outputPath, std::string& error) {
  ImageBuffer image;
  if (!reference.empty() && reference[0] == '*') {
    const long index = std::strtol(reference.c_str() + 1, nullptr, 10);
    if (index < 0 || static_cast<std::size_t>(index) >= scene.embeddedPictures.size() ||
        scene.embeddedPictures[index].empty()) {
      error = "the picture \"" + reference + "\" held in the file is not in a readable form";
      return false;
    }
    // The picture readers work on files, so the bytes go through a temporary one.
    char temporary[] = "/tmp/dddconvert-XXXXXX";
    const int descriptor = mkstemp(temporary);
    if (descriptor < 0) {
      error = "cannot create a temporary file";
      return false;
    }
    close(descriptor);
    const std::vector<std::uint8_t>& bytes = scene.embeddedPictures[index];
    const bool decoded = ReplaceFileContents(temporary, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) &&
                         DecodePicture(temporary, image);
    unlink(temporary);
    if (!decoded) {
      error = "the picture \"" + reference + "\" held in the file is neither PNG nor BMP";
      return false;
    }
  } else {
    const std::string path = FindPicture(sourceFolder, reference);
    if (path.empty()) {
      error = "cannot find the picture \"" + reference + "\"";
      return false;
    }
    if (!DecodePicture(path, image)) {
      error = "cannot read the picture \"" + path + "\" (PNG and BMP pictures are supported)";
      return false;
    }
  }
  if (!WritePng(ScaleToPowerOfTwo(image), outputPath)) {
    error = "cannot write \"" + outputPath + "\"";
    return false;
  }
  return true;
}

bool WriteWhiteTexture(const std::string& outputPath) {
  ImageBuffer white;
  white.width = white.height = 2;
  white.pixels.assign(16, 255);
  return WritePng(white, outputPath);
}
