// The shadow caster's one-off preparation: linking the triangle sides of a 100,000-
// triangle torus (a list of 300,000 packed slots, as a model file holds it) that join
// the same two vertices. Its first shadow frame waits for this.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include "gfx3d/mesh_object.h"
#include "gfx3d/model_pack.h"
#include "gfx3d/shadow_volume.h"
#include "mesh_draw/torus_workload.h"

namespace {

MeshObjectX LargeTorus() {
  MeshObjectX object;
  object.frames.resize(1);
  std::vector<MeshVertex>& full = object.frames[0].fullVertices;
  MeshVertex marker{};
  marker.colour = kListMarker;
  full.push_back(marker);
  for (const torus_workload::Vertex& v : torus_workload::TorusTriangles(torus_workload::kLargeTorus, 0)) {
    MeshVertex m{};
    for (int k = 0; k < 3; ++k) m.position[k] = v.position[k];
    m.colour = v.rgba[0] | (v.rgba[1] << 8) | (static_cast<std::uint32_t>(v.rgba[2]) << 16);
    full.push_back(m);
  }
  PackMeshObject(object);
  object.BuildTriangles();
  return object;
}

void EdgeAdjacency(benchmark::State& state) {
  // The engine's heap setting, so big blocks are reused instead of faulted in afresh.
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
  mallopt(M_MMAP_MAX, 0);
  MeshObjectX object = LargeTorus();
  for (auto _ : state) {
    object.edges.clear();
    BuildEdgeAdjacency(object);
    benchmark::DoNotOptimize(object.edges.data());
  }
  state.counters["triangles"] = static_cast<double>(object.edges.size() / 3);
}
BENCHMARK(EdgeAdjacency)->Unit(benchmark::kMillisecond);

}  // namespace
