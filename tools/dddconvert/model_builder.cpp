#include "model_builder.h"

#include <unordered_set>

#include "gfx3d/model_pack.h"

namespace {

std::uint32_t QuantiseColour(std::uint32_t colour, int bits) {
  if (bits >= 8) return colour;
  const std::uint32_t step = 1u << (8 - bits);
  std::uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t channel = (colour >> shift) & 0xFF;
    result |= ((channel & ~(step - 1)) + step / 2) << shift;
  }
  return result;
}

std::size_t DistinctCount(const std::vector<std::uint32_t>& colours) {
  return std::unordered_set<std::uint32_t>(colours.begin(), colours.end()).size();
}

// The colour of every corner of every triangle, in build order.
std::vector<std::uint32_t> CornerColours(const SourceScene& scene, const std::vector<MeshInstance>& instances) {
  std::vector<std::uint32_t> colours;
  for (const MeshInstance& instance : instances) {
    const SourceMesh& mesh = scene.meshes[instance.mesh];
    const bool hasMaterial = mesh.material >= 0 && static_cast<std::size_t>(mesh.material) < scene.materials.size();
    const std::uint32_t materialColour = hasMaterial ? scene.materials[mesh.material].colour : 0x00FFFFFF;
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
      for (int corner = 0; corner < 3; ++corner) {
        const std::uint32_t v = mesh.indices[i + corner];
        colours.push_back((v < mesh.colours.size() ? mesh.colours[v] : materialColour) & 0x00FFFFFF);
      }
    }
  }
  return colours;
}

bool ValidTriangle(const SourceMesh& mesh, std::size_t first) {
  for (int corner = 0; corner < 3; ++corner) {
    if (mesh.indices[first + corner] >= mesh.positions.size()) return false;
  }
  return true;
}

}  // namespace

int ReduceColours(std::vector<std::uint32_t>& colours, std::size_t limit) {
  int bits = 8;
  if (DistinctCount(colours) <= limit) return bits;
  std::vector<std::uint32_t> reduced;
  do {
    --bits;
    reduced = colours;
    for (std::uint32_t& colour : reduced) colour = QuantiseColour(colour, bits);
  } while (bits > 1 && DistinctCount(reduced) > limit);
  colours = std::move(reduced);
  return bits;
}

bool BuildModel(const SourceScene& scene, const std::vector<MeshInstance>& instances,
                const std::vector<std::vector<PosedMesh>>& frames, const AxisOptions& axes, MeshObject& object,
                BuildSummary& summary, std::string& error) {
  object = MeshObject();
  summary = BuildSummary();
  std::vector<std::uint32_t> colours = CornerColours(scene, instances);
  std::size_t triangles = 0;
  for (const MeshInstance& instance : instances) {
    const SourceMesh& mesh = scene.meshes[instance.mesh];
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) triangles += ValidTriangle(mesh, i);
  }
  if (triangles == 0) {
    error = "no triangles to convert";
    return false;
  }
  if (triangles > (kMaxModelSlots - 1) / 3) {
    error = "too many vertices for the packed form (" + std::to_string(triangles * 3) + " corners, at most " +
            std::to_string(kMaxModelSlots - 1) + ")";
    return false;
  }
  summary.sourceColours = DistinctCount(colours);
  ReduceColours(colours, kMaxModelColours);
  summary.colours = DistinctCount(colours);

  MeshPacker packer(object);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    MeshFrame& frame = object.frames.emplace_back();
    frame.fullVertices.reserve(triangles * 3 + 1);
    MeshVertex marker{};
    marker.colour = kListMarker;
    ColourComponents(marker.colour, marker.colourRGB);
    frame.fullVertices.push_back(marker);
    std::size_t corner = 0;
    for (std::size_t m = 0; m < instances.size() && m < frames[f].size(); ++m) {
      const SourceMesh& mesh = scene.meshes[instances[m].mesh];
      const PosedMesh& posed = frames[f][m];
      for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        if (!ValidTriangle(mesh, i)) {
          corner += 3;
          continue;
        }
        for (int corner3 = 0; corner3 < 3; ++corner3) {
          // A negative scale mirrors the model; swapping two corners keeps the front side
          // facing out.
          const int k = axes.scale < 0 && corner3 > 0 ? 3 - corner3 : corner3;
          const std::uint32_t v = mesh.indices[i + k];
          MeshVertex vertex{};
          const Vec3 p = v < posed.positions.size() ? posed.positions[v] : mesh.positions[v];
          const Vec3 n = v < posed.normals.size() ? posed.normals[v] : Vec3{};
          // z up becomes y up by turning the model -90 degrees about x.
          const Vec3 upright = axes.zUp ? Vec3{p.x, p.z, -p.y} : p;
          const Vec3 normal = axes.zUp ? Vec3{n.x, n.z, -n.y} : n;
          vertex.position[0] = upright.x * axes.scale;
          vertex.position[1] = upright.y * axes.scale;
          vertex.position[2] = upright.z * axes.scale;
          vertex.normal[0] = normal.x;
          vertex.normal[1] = normal.y;
          vertex.normal[2] = normal.z;
          if (v < mesh.texCoords.size()) {
            // The engine negates v and reads textures top row first; a source v that
            // counts up from the bottom of the picture is stored as v - 1, so the engine
            // samples 1 - v.
            vertex.texCoord[0] = mesh.texCoords[v][0];
            vertex.texCoord[1] = axes.flipV ? -mesh.texCoords[v][1] : mesh.texCoords[v][1] - 1.0f;
          }
          vertex.colour = colours[corner + k];
          vertex.colourIndex = 0;
          ColourComponents(vertex.colour, vertex.colourRGB);
          frame.fullVertices.push_back(vertex);
        }
        corner += 3;
      }
    }
    packer.PackFrame(f);
  }
  object.tangentsDone = false;
  summary.triangles = triangles;
  summary.frames = object.frames.size();
  return true;
}
