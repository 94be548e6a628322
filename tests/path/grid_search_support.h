#pragma once
// Grids, a planner run and independent checks shared by the path-finding tests.

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

using Cell = std::pair<int, int>;
using CellPath = std::vector<Cell>;

struct Grid {
  int width = 0;
  int height = 0;
  std::vector<double> cells;  // cell (x, y) is cells[x + y * width]

  double& at(int x, int y) { return cells[x + y * width]; }
  double at(int x, int y) const { return cells[x + y * width]; }
};

inline Grid UniformGrid(int width, int height, double cost = 1) {
  return Grid{width, height, std::vector<double>(static_cast<std::size_t>(width) * height, cost)};
}

// Cells blocked (0) with the given probability, the others a cost drawn from `costs`.
// Few distinct costs make many equal priorities, which is where the order of expansion shows.
inline Grid RandomGrid(std::uint32_t seed, int width, int height, double blockedShare,
                       const std::vector<double>& costs) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  Grid grid = UniformGrid(width, height);
  for (double& cell : grid.cells) {
    cell = unit(random) < blockedShare ? 0 : costs[random() % costs.size()];
  }
  return grid;
}

struct SearchRequest {
  Cell start;
  Cell goal;
  float weight = 0.5f;
  bool diagonalsAllowed = false;
  bool diagonalCost = true;
};

// The path an AStarPlanner finds, start first; empty when there is none.
CellPath PlannerPath(const Grid& grid, const SearchRequest& request);

// The least total cost from start to goal by Dijkstra's algorithm in double precision, each
// step costing the entered cell's normalised cost (cost / max + 1), a diagonal step that
// times 1.4142137; negative when the goal cannot be reached.
double ShortestPathCost(const Grid& grid, Cell start, Cell goal, bool diagonals);

// The cost of a given path by the same rule.
double PathCost(const Grid& grid, const CellPath& path);

// True when the path runs from start to goal through open cells in single steps (orthogonal,
// or also diagonal when allowed).
bool IsConnectedOpenPath(const Grid& grid, const CellPath& path, Cell start, Cell goal,
                         bool diagonals);
