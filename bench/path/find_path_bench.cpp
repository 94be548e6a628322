// FindPath on random cost grids beside Boost Graph's astar_search on the same grids.
//
// Each grid has 30 % of its cells blocked at random (fixed seed) and the others a random cost
// from 1 to 9; the search runs corner to corner with weight 0.5 (A* order). The engine's time
// is the whole command: cost normalisation, allocation, search and the result array. Boost
// gets its graph (edge weights already normalised) built once outside the timing and pays
// only for the search, its property maps and reading the path back.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

#include "core/runtime_array.h"
#include "path/find_path.h"

#if __has_include(<boost/graph/adjacency_list.hpp>) && __has_include(<boost/graph/astar_search.hpp>)
#define PATH_BENCH_WITH_BOOST 1
#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/astar_search.hpp>
#endif

namespace {

constexpr double kBlockedShare = 0.3;
constexpr std::uint32_t kSeed = 20240611;

struct CostGrid {
  int side = 0;
  std::vector<double> cells;  // cell (x, y) is cells[x + y * side]; 0 is blocked
};

// True when the corners are joined through open orthogonal steps.
bool CornersJoined(const CostGrid& grid) {
  const int side = grid.side;
  std::vector<char> seen(grid.cells.size(), 0);
  std::vector<int> pending{0};
  seen[0] = 1;
  while (!pending.empty()) {
    const int cell = pending.back();
    pending.pop_back();
    if (cell == side * side - 1) return true;
    const int x = cell % side, y = cell / side;
    const int neighbours[] = {x > 0 ? cell - 1 : -1, x < side - 1 ? cell + 1 : -1, y > 0 ? cell - side : -1,
                              y < side - 1 ? cell + side : -1};
    for (int next : neighbours) {
      if (next >= 0 && !seen[next] && grid.cells[next] > 0) {
        seen[next] = 1;
        pending.push_back(next);
      }
    }
  }
  return false;
}

// The first grid from the fixed seed on whose open cells the corners are joined.
const CostGrid& GridOfSide(int side) {
  static std::map<int, CostGrid> grids;
  CostGrid& grid = grids[side];
  if (grid.side == side) return grid;
  grid.side = side;
  for (std::uint32_t seed = kSeed;; ++seed) {
    grid.cells.assign(static_cast<std::size_t>(side) * side, 0);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    for (double& cell : grid.cells) cell = unit(random) < kBlockedShare ? 0 : 1 + static_cast<double>(random() % 9);
    grid.cells.front() = 1;
    grid.cells.back() = 1;
    if (CornersJoined(grid)) return grid;
  }
}

void EngineFindPath(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const CostGrid& grid = GridOfSide(side);
  NumberArray map;
  DimArray(map, side, side);
  for (int i = 0; i < side * side; ++i) map.data[i] = grid.cells[i];
  NumberArray result;
  double cells = 0;
  for (auto _ : state) {
    cells = FindPath(map, result, 0.5, 0, 0, side - 1, side - 1);
    benchmark::DoNotOptimize(result.data);
  }
  state.counters["path_cells"] = cells;
}
BENCHMARK(EngineFindPath)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

#ifdef PATH_BENCH_WITH_BOOST

using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, float>>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;

// Each open cell has an edge to each open orthogonal neighbour, weighted with the entered
// cell's cost normalised as FindPath does (cost / max + 1), so both searches see the same grid.
Graph GraphOf(const CostGrid& grid) {
  const int side = grid.side;
  double maximum = 0;
  for (double cell : grid.cells) maximum = std::max(maximum, cell);
  Graph graph(static_cast<std::size_t>(side) * side);
  const int dx[] = {0, 1, -1, 0}, dy[] = {-1, 0, 0, 1};
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      if (grid.cells[x + y * side] <= 0) continue;
      for (int k = 0; k < 4; ++k) {
        const int nx = x + dx[k], ny = y + dy[k];
        if (nx < 0 || nx >= side || ny < 0 || ny >= side || grid.cells[nx + ny * side] <= 0) continue;
        const float cost = static_cast<float>(grid.cells[nx + ny * side]) / static_cast<float>(maximum) + 1;
        boost::add_edge(x + y * side, nx + ny * side, cost, graph);
      }
    }
  }
  return graph;
}

class ManhattanDistance : public boost::astar_heuristic<Graph, float> {
 public:
  ManhattanDistance(int side, Vertex goal) : side_(side), goal_(goal) {}
  float operator()(Vertex vertex) const {
    const int x = static_cast<int>(vertex % side_), y = static_cast<int>(vertex / side_);
    const int gx = static_cast<int>(goal_ % side_), gy = static_cast<int>(goal_ / side_);
    return static_cast<float>(std::abs(gx - x) + std::abs(gy - y));
  }

 private:
  int side_;
  Vertex goal_;
};

struct GoalReached {};

class StopAtGoal : public boost::default_astar_visitor {
 public:
  explicit StopAtGoal(Vertex goal) : goal_(goal) {}
  void examine_vertex(Vertex vertex, const Graph&) const {
    if (vertex == goal_) throw GoalReached{};
  }

 private:
  Vertex goal_;
};

void BoostAStarSearch(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const Graph graph = GraphOf(GridOfSide(side));
  const Vertex start = 0, goal = static_cast<Vertex>(side) * side - 1;
  double cells = 0;
  for (auto _ : state) {
    std::vector<Vertex> predecessors(boost::num_vertices(graph));
    std::vector<float> distances(boost::num_vertices(graph));
    cells = 0;
    try {
      boost::astar_search(graph, start, ManhattanDistance(side, goal),
                          boost::predecessor_map(predecessors.data())
                              .distance_map(distances.data())
                              .visitor(StopAtGoal(goal)));
    } catch (const GoalReached&) {
      cells = 1;
      for (Vertex vertex = goal; vertex != start; vertex = predecessors[vertex]) ++cells;
    }
    benchmark::DoNotOptimize(cells);
  }
  state.counters["path_cells"] = cells;
}
BENCHMARK(BoostAStarSearch)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

#endif  // PATH_BENCH_WITH_BOOST

}  // namespace
