#include "gfx3d/model_binary.h"

#include <cstring>

#include "gfx3d/normal_table.h"

namespace {

// Reads little-endian values from the front of a byte span; every read checks the
// length first and turns the reader bad instead of reading past the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - position_; }
  bool Bad() const { return bad_; }

  const std::uint8_t* Take(std::size_t count) {
    if (bad_ || count > Left()) {
      bad_ = true;
      return nullptr;
    }
    const std::uint8_t* start = bytes_.data() + position_;
    position_ += count;
    return start;
  }
  std::uint32_t U32() {
    const std::uint8_t* p = Take(4);
    return p ? p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24 : 0;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() {
    const std::uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  double F64() {
    const std::uint64_t low = U32();
    const std::uint64_t high = U32();
    const std::uint64_t bits = low | high << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool bad_ = false;
};

// A negative count reads nothing, as a counting loop would.
std::uint64_t CountOf(std::int32_t value) { return value < 0 ? 0 : static_cast<std::uint64_t>(value); }

void PutU32(std::string& out, std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 24)};
  out.append(bytes, 4);
}

void PutF32(std::string& out, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(out, bits);
}

}  // namespace

bool HasModelMagic(std::span<const std::uint8_t> file) {
  return file.size() >= 4 && ByteReader(file).U32() == kModelMagic;
}

ModelReadStatus ReadBinaryModel(std::span<const std::uint8_t> file, MeshObject& object, bool expand) {
  ByteReader reader(file);
  reader.U32();
  const double version = reader.F64();
  const std::uint64_t frameCount = CountOf(reader.I32());
  const std::uint64_t colourCount = CountOf(reader.I32());
  const std::uint64_t texCoordCount = CountOf(reader.I32());
  if (reader.Bad()) return ModelReadStatus::kReadError;
  if (version != kModelVersion) return ModelReadStatus::kWrongVersion;
  if (colourCount * 4 + texCoordCount * 8 + frameCount * kModelFrameHeaderSize > reader.Left()) {
    return ModelReadStatus::kReadError;
  }

  object.colourTable.resize(colourCount);
  for (std::uint32_t& colour : object.colourTable) colour = reader.U32();
  object.textureU.resize(texCoordCount);
  object.textureV.resize(texCoordCount);
  for (std::uint64_t i = 0; i < texCoordCount; ++i) {
    object.textureU[i] = reader.F32();
    object.textureV[i] = reader.F32();
  }

  object.frames.reserve(frameCount);
  for (std::uint64_t f = 0; f < frameCount; ++f) {
    const std::uint64_t vertexCount = CountOf(reader.I32());
    MeshFrame& frame = object.frames.emplace_back();
    for (float& offset : frame.offset) offset = reader.F32();
    for (float& scale : frame.scale) scale = reader.F32();
    if (reader.Bad() || vertexCount * kModelSlotSize > reader.Left()) return ModelReadStatus::kReadError;
    const std::uint8_t* slots = reader.Take(vertexCount * kModelSlotSize);
    frame.packedVertices.resize(vertexCount);
    for (std::uint64_t i = 0; i < vertexCount; ++i, slots += kModelSlotSize) {
      PackedVertex& packed = frame.packedVertices[i];
      packed.x = slots[0];
      packed.y = slots[1];
      packed.z = slots[2];
      packed.normalIndex = slots[3];
      packed.colourIndex = slots[4];
      if (packed.normalIndex >= kNormalTableSize || packed.colourIndex >= colourCount) {
        return ModelReadStatus::kReadError;
      }
    }
    if (expand) {
      frame.fullVertices.resize(vertexCount);
      for (std::uint64_t i = 0; i < vertexCount; ++i) UnpackVertex(object, frame, i, frame.fullVertices[i]);
    }
  }
  object.tangentsDone = true;
  return ModelReadStatus::kLoaded;
}

std::string FormatBinaryModel(const MeshObject& object) {
  std::string out;
  std::size_t size = kModelHeaderSize + object.colourTable.size() * 4 + object.textureU.size() * 8;
  for (const MeshFrame& frame : object.frames) {
    size += kModelFrameHeaderSize + frame.packedVertices.size() * kModelSlotSize;
  }
  out.reserve(size);
  PutU32(out, kModelMagic);
  std::uint64_t versionBits;
  std::memcpy(&versionBits, &kModelVersion, sizeof versionBits);
  PutU32(out, static_cast<std::uint32_t>(versionBits));
  PutU32(out, static_cast<std::uint32_t>(versionBits >> 32));
  PutU32(out, static_cast<std::uint32_t>(object.frames.size()));
  PutU32(out, static_cast<std::uint32_t>(object.colourTable.size()));
  PutU32(out, static_cast<std::uint32_t>(object.textureU.size()));
  for (std::uint32_t colour : object.colourTable) PutU32(out, colour);
  for (std::size_t i = 0; i < object.textureU.size(); ++i) {
    PutF32(out, object.textureU[i]);
    PutF32(out, i < object.textureV.size() ? object.textureV[i] : 0.0f);
  }
  for (const MeshFrame& frame : object.frames) {
    PutU32(out, static_cast<std::uint32_t>(frame.packedVertices.size()));
    for (float offset : frame.offset) PutF32(out, offset);
    for (float scale : frame.scale) PutF32(out, scale);
    for (const PackedVertex& packed : frame.packedVertices) {
      const char slot[kModelSlotSize] = {static_cast<char>(packed.x), static_cast<char>(packed.y),
                                         static_cast<char>(packed.z), static_cast<char>(packed.normalIndex),
                                         static_cast<char>(packed.colourIndex)};
      out.append(slot, kModelSlotSize);
    }
  }
  return out;
}
