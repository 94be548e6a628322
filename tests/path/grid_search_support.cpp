#include "grid_search_support.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>

#include "path/astar_planner.h"

namespace {

double MaximumCost(const Grid& grid) {
  double maximum = 0;
  for (double cell : grid.cells) maximum = std::max(maximum, cell);
  return maximum;
}

double StepCost(const Grid& grid, double maximum, Cell from, Cell to) {
  const double cost = grid.at(to.first, to.second) / maximum + 1;
  const bool diagonal = from.first != to.first && from.second != to.second;
  return diagonal ? cost * 1.4142137 : cost;
}

}  // namespace

CellPath PlannerPath(const Grid& grid, const SearchRequest& request) {
  SearchParameters parameters;
  parameters.startX = request.start.first;
  parameters.startY = request.start.second;
  parameters.goalX = request.goal.first;
  parameters.goalY = request.goal.second;
  parameters.diagonalCost = request.diagonalCost ? 1 : 0;
  parameters.diagonalsAllowed = request.diagonalsAllowed ? 1 : 0;
  parameters.weight = request.weight;
  parameters.width = grid.width;
  parameters.height = grid.height;
  parameters.cells = grid.cells.data();
  parameters.closedSetExponent = NodeHashTable::ExponentFor(grid.width, grid.height);
  AStarPlanner planner;
  if (planner.Setup(parameters) != PlannerSetup::kReady) return {};
  planner.Reset();
  if (!planner.Search()) return {};
  CellPath path;
  for (const Node* node = planner.Result(); node; node = node->parent) {
    path.emplace_back(node->x, node->y);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

double ShortestPathCost(const Grid& grid, Cell start, Cell goal, bool diagonals) {
  const double maximum = MaximumCost(grid);
  const int cells = grid.width * grid.height;
  std::vector<double> best(cells, std::numeric_limits<double>::infinity());
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  const int startCell = start.first + start.second * grid.width;
  best[startCell] = 0;
  queue.emplace(0, startCell);
  while (!queue.empty()) {
    const auto [cost, cell] = queue.top();
    queue.pop();
    if (cost > best[cell]) continue;
    const Cell from{cell % grid.width, cell / grid.width};
    if (from == goal) return cost;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx == 0 && dy == 0) || (!diagonals && dx != 0 && dy != 0)) continue;
        const Cell to{from.first + dx, from.second + dy};
        if (to.first < 0 || to.first >= grid.width || to.second < 0 || to.second >= grid.height) continue;
        if (!(grid.at(to.first, to.second) > 0)) continue;
        const double next = cost + StepCost(grid, maximum, from, to);
        const int toCell = to.first + to.second * grid.width;
        if (next < best[toCell]) {
          best[toCell] = next;
          queue.emplace(next, toCell);
        }
      }
    }
  }
  return -1;
}

double PathCost(const Grid& grid, const CellPath& path) {
  const double maximum = MaximumCost(grid);
  double total = 0;
  for (std::size_t i = 1; i < path.size(); ++i) total += StepCost(grid, maximum, path[i - 1], path[i]);
  return total;
}

bool IsConnectedOpenPath(const Grid& grid, const CellPath& path, Cell start, Cell goal,
                         bool diagonals) {
  if (path.size() < 2 || path.front() != start || path.back() != goal) return false;
  for (std::size_t i = 1; i < path.size(); ++i) {
    const int dx = std::abs(path[i].first - path[i - 1].first);
    const int dy = std::abs(path[i].second - path[i - 1].second);
    if (dx > 1 || dy > 1 || dx + dy == 0 || (!diagonals && dx + dy != 1)) return false;
    if (!(grid.at(path[i].first, path[i].second) > 0)) return false;
  }
  return true;
}
