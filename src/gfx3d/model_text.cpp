#include "gfx3d/model_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "gfx3d/model_pack.h"

namespace {

constexpr float kHighestVersion = 1.1f;

bool IsSeparator(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Splits the file into tokens and reads them as numbers; past the end every number is 0.
class TokenReader {
 public:
  explicit TokenReader(std::span<const std::uint8_t> file) : file_(file) {}

  // Moves to the next token; true when there is none left.
  bool AtEnd() {
    while (position_ < file_.size()) {
      const std::uint8_t c = file_[position_];
      if (IsSeparator(c)) {
        ++position_;
      } else if (c == '#') {
        SkipComment();
      } else {
        return false;
      }
    }
    return true;
  }

  std::string_view Token() {
    if (AtEnd()) return {};
    const std::size_t start = position_;
    while (position_ < file_.size() && !IsSeparator(file_[position_]) && file_[position_] != '#') ++position_;
    const std::size_t length = std::min(position_ - start, kModelTokenLimit);
    return {reinterpret_cast<const char*>(file_.data() + start), length};
  }

  // The token read as a decimal number (the longest prefix that is one, else 0) and
  // narrowed to float.
  float Number() {
    const std::string_view token = Token();
    if (token.empty()) return 0.0f;
    double value = 0;
    const char* first = token.data();
    const char* last = first + token.size();
    const bool plus = *first == '+';
    if (plus) ++first;
    if (token.find_first_of("xX") != std::string_view::npos) {
      // Hexadecimal forms are rare; the C library reads them.
      char copy[kModelTokenLimit + 1];
      std::memcpy(copy, token.data(), token.size());
      copy[token.size()] = '\0';
      value = std::strtod(copy, nullptr);
    } else if (!(plus && first < last && *first == '-')) {
      if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the C library gives infinity or 0.
        char copy[kModelTokenLimit + 1];
        std::memcpy(copy, first, static_cast<std::size_t>(last - first));
        copy[last - first] = '\0';
        value = std::strtod(copy, nullptr);
      }
    }
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
  }

 private:
  // A comment runs to the line feed, but the reader looks no further than the lookahead
  // past the '#'; when no line feed comes in it, reading goes on right after it.
  void SkipComment() {
    const std::size_t start = position_ + 1;
    const std::size_t end = std::min(file_.size(), start + kModelCommentLookahead);
    const void* lineFeed = std::memchr(file_.data() + start, '\n', end - start);
    position_ = lineFeed ? static_cast<const std::uint8_t*>(lineFeed) - file_.data() + 1 : start + kModelCommentLookahead;
  }

  std::span<const std::uint8_t> file_;
  std::size_t position_ = 0;
};

// A count: the number truncated, 0 when negative or no number.
std::uint64_t CountOf(float value) {
  if (!(value >= 1.0f)) return 0;
  if (value >= 1.8e19f) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(value);
}

// An index: the number truncated, -1 when it cannot be one.
std::int64_t IndexOf(float value) {
  if (!(value > -1.0f) || value >= 9.0e18f) return -1;
  return static_cast<std::int64_t>(value);
}

std::uint32_t LowByte(float value) {
  if (!(std::fabs(value) < 9.0e18f)) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value)) & 0xFF;
}

}  // namespace

bool LoadTextModel(std::span<const std::uint8_t> file, TextModel& model) {
  model = TextModel();
  TokenReader reader(file);
  if (reader.Token() != "DDDA") return false;
  const float version = reader.Number();
  if (!(version <= kHighestVersion)) return false;
  model.hasNormals = version >= kHighestVersion;

  // Lists stop growing at the end of the file, so an announced count costs memory only
  // for what the file really holds.
  model.texCoordCount = CountOf(reader.Number());
  for (std::uint64_t i = 0; i < model.texCoordCount && !reader.AtEnd(); ++i) {
    model.texCoords.push_back(reader.Number());
    model.texCoords.push_back(reader.Number());
  }

  const std::uint64_t polygonCount = CountOf(reader.Number());
  for (std::uint64_t i = 0; i < polygonCount && !reader.AtEnd(); ++i) {
    TextPolygon polygon;
    const std::uint32_t red = LowByte(reader.Number());
    const std::uint32_t green = LowByte(reader.Number());
    const std::uint32_t blue = LowByte(reader.Number());
    polygon.colour = red | green << 8 | blue << 16;
    polygon.firstCorner = model.corners.size();
    const std::uint64_t cornerCount = CountOf(reader.Number());
    for (std::uint64_t c = 0; c < cornerCount && !reader.AtEnd(); ++c) {
      TextCorner corner;
      corner.vertexIndex = IndexOf(reader.Number());
      corner.texCoordIndex = IndexOf(reader.Number());
      model.corners.push_back(corner);
    }
    polygon.cornerCount = model.corners.size() - polygon.firstCorner;
    model.polygons.push_back(polygon);
  }

  const std::uint64_t frameCount = CountOf(reader.Number());
  const int numbersPerVertex = model.hasNormals ? 6 : 3;
  for (std::uint64_t f = 0; f < frameCount && !reader.AtEnd(); ++f) {
    TextFrame& frame = model.frames.emplace_back();
    frame.vertexCount = CountOf(reader.Number());
    for (std::uint64_t v = 0; v < frame.vertexCount && !reader.AtEnd(); ++v) {
      for (int n = 0; n < numbersPerVertex; ++n) frame.values.push_back(reader.Number());
      for (int n = numbersPerVertex; n < 6; ++n) frame.values.push_back(0.0f);
    }
  }
  return true;
}

TextExpandStatus ExpandTextModel(const TextModel& model, MeshObject& object) {
  MeshPacker packer(object);
  const bool hasTexCoords = model.texCoordCount > 0;
  const std::uint64_t storedPairs = model.texCoords.size() / 2;
  std::size_t slotCount = 0;
  for (const TextPolygon& polygon : model.polygons) slotCount += 1 + polygon.cornerCount;
  if (slotCount != 0 && model.frames.size() > kMaxModelSlots / slotCount) return TextExpandStatus::kTooLarge;
  object.frames.reserve(model.frames.size());
  for (const TextFrame& source : model.frames) {
    MeshFrame& frame = object.frames.emplace_back();
    const std::uint64_t storedVertices = source.values.size() / 6;
    frame.fullVertices.reserve(slotCount);
    for (const TextPolygon& polygon : model.polygons) {
      MeshVertex& marker = frame.fullVertices.emplace_back();
      std::memset(&marker, 0, sizeof marker);
      marker.colour = kFanMarker;
      ColourComponents(marker.colour, marker.colourRGB);
      for (std::size_t c = 0; c < polygon.cornerCount; ++c) {
        const TextCorner& corner = model.corners[polygon.firstCorner + c];
        if (corner.vertexIndex < 0 || static_cast<std::uint64_t>(corner.vertexIndex) >= source.vertexCount) {
          return TextExpandStatus::kBadIndex;
        }
        MeshVertex& vertex = frame.fullVertices.emplace_back();
        std::memset(&vertex, 0, sizeof vertex);
        const std::uint64_t vertexIndex = static_cast<std::uint64_t>(corner.vertexIndex);
        if (vertexIndex < storedVertices) {
          const float* values = &source.values[vertexIndex * 6];
          std::memcpy(vertex.position, values, sizeof vertex.position);
          std::memcpy(vertex.normal, values + 3, sizeof vertex.normal);
        }
        if (hasTexCoords) {
          if (corner.texCoordIndex < 0 || static_cast<std::uint64_t>(corner.texCoordIndex) >= model.texCoordCount) {
            return TextExpandStatus::kBadIndex;
          }
          const std::uint64_t pair = static_cast<std::uint64_t>(corner.texCoordIndex);
          if (pair < storedPairs) {
            vertex.texCoord[0] = model.texCoords[pair * 2];
            vertex.texCoord[1] = model.texCoords[pair * 2 + 1];
          }
        }
        vertex.colour = polygon.colour;
        ColourComponents(vertex.colour, vertex.colourRGB);
      }
    }
    packer.PackFrame(object.frames.size() - 1);
    std::vector<MeshVertex>().swap(frame.fullVertices);
  }
  object.tangentsDone = false;
  return TextExpandStatus::kExpanded;
}
