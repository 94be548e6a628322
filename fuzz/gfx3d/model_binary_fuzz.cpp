// Fuzzes the binary model reader: the input is the whole file. A model that loads is
// built into triangles, bounds and tangents, written back, and must read back to the
// same bytes.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "gfx3d/mesh_tangents.h"
#include "gfx3d/model_binary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  MeshObjectX object;
  const bool expand = size > 0 && (data[size - 1] & 1) != 0;
  if (ReadBinaryModel(file, object, expand) != ModelReadStatus::kLoaded) return 0;
  const std::string written = FormatBinaryModel(object);
  object.BuildTriangles();
  ComputeBounds(object);
  ComputeTangents(object, true, true, true);

  MeshObjectX again;
  const std::span<const std::uint8_t> writtenBytes(reinterpret_cast<const std::uint8_t*>(written.data()), written.size());
  if (ReadBinaryModel(writtenBytes, again, false) != ModelReadStatus::kLoaded) std::abort();
  if (FormatBinaryModel(again) != written) std::abort();
  return 0;
}
