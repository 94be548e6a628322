#include "gfx3d/model_file.h"

#include <new>
#include <stdexcept>
#include <span>

#include "files/plain_file.h"
#include "gfx3d/model_binary.h"
#include "gfx3d/model_text.h"
#include "host/error_log.h"

namespace {

enum class LoadFailure { kNone, kWrongVersion, kReadError, kMallocError };

LoadFailure ReadModel(std::span<const std::uint8_t> file, MeshObjectX& object, bool expand) {
  if (HasModelMagic(file)) {
    switch (ReadBinaryModel(file, object, expand)) {
      case ModelReadStatus::kLoaded:
        return LoadFailure::kNone;
      case ModelReadStatus::kWrongVersion:
        return LoadFailure::kWrongVersion;
      case ModelReadStatus::kReadError:
        return LoadFailure::kReadError;
    }
  }
  TextModel model;
  if (!LoadTextModel(file, model)) return LoadFailure::kReadError;
  ClearObject(object, false);
  switch (ExpandTextModel(model, object)) {
    case TextExpandStatus::kExpanded:
      return LoadFailure::kNone;
    case TextExpandStatus::kBadIndex:
      return LoadFailure::kReadError;
    case TextExpandStatus::kTooLarge:
      return LoadFailure::kMallocError;
  }
  return LoadFailure::kReadError;
}

}  // namespace

bool LoadModelFile(MeshObjectX& object, const char* path, bool expand) {
  ClearObject(object, false);
  const std::optional<std::string> contents = ReadWholeFile(path);
  if (!contents) return false;
  const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(contents->data()), contents->size());
  LoadFailure failure;
  try {
    failure = ReadModel(file, object, expand);
  } catch (const std::bad_alloc&) {
    failure = LoadFailure::kMallocError;
  } catch (const std::length_error&) {
    failure = LoadFailure::kMallocError;
  }
  if (failure == LoadFailure::kNone) return true;
  ClearObject(object, true);
  if (failure == LoadFailure::kWrongVersion) LogError("Wrong .ddd version.");
  LogError(failure == LoadFailure::kMallocError ? "# malloc error" : "# read error");
  LogError(path);
  return false;
}

bool SaveModelFile(const MeshObject& object, const char* path) {
  // A slot stores its colour index in one byte: an object packed with more colours would
  // come back with other colours (or markers in place of corners), so it is not written.
  for (const MeshFrame& frame : object.frames) {
    for (const PackedVertex& packed : frame.packedVertices) {
      if (packed.colourIndex > kMaxStoredColourIndex) return false;
    }
  }
  return ReplaceFileContents(path, FormatBinaryModel(object));
}
