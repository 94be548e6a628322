#include "path/find_path.h"

#include <cstdint>

#include "base/number_truncation.h"
#include "base/program_end.h"
#include "path/astar_planner.h"

namespace {

float ClampedWeight(double weight) {
  if (!(weight > 0)) return 0.0f;  // NaN too
  return weight < 1 ? static_cast<float>(weight) : 1.0f;
}

double NoPath(NumberArray& result) {
  DimArray(result, 0);
  return 0;
}

}  // namespace

double FindPath(const NumberArray& map, NumberArray& result, double weight, double startX, double startY,
                double goalX, double goalY) {
  SearchParameters parameters;
  parameters.startX = TruncateToInt32(startX);
  parameters.startY = TruncateToInt32(startY);
  parameters.goalX = TruncateToInt32(goalX);
  parameters.goalY = TruncateToInt32(goalY);
  parameters.diagonalCost = 1;
  parameters.diagonalsAllowed = 0;
  parameters.nodePoolCapacity = 0;  // width x height: each cell owns at most one node
  parameters.openListCapacity = 0;
  parameters.weight = ClampedWeight(weight);
  parameters.width = map.dim0;
  parameters.height = map.dim1;
  parameters.cells = map.data;
  // About one cell per bucket whatever the grid size. With a fixed 256 buckets every closed-set
  // insertion on a large grid walks a chain thousands of nodes long: a 1024 x 1024 search took
  // minutes instead of a fifth of a second.
  parameters.closedSetExponent = NodeHashTable::ExponentFor(map.dim0, map.dim1);
  // The grid is the first width x height elements; an array that somehow holds fewer is
  // treated as no map at all rather than read past its end.
  if (std::int64_t{map.dim0} * map.dim1 > map.capacity) return NoPath(result);

  AStarPlanner planner;
  switch (planner.Setup(parameters)) {
    case PlannerSetup::kReady:
      break;
    case PlannerSetup::kRejected:
      return NoPath(result);
    case PlannerSetup::kOutOfMemory:
      EndProgramWithError(7);
  }
  planner.Reset();
  if (!planner.Search()) return NoPath(result);

  std::int32_t count = 0;
  for (const Node* node = planner.Result(); node; node = node->parent) ++count;
  DimArray(result, count, 2);
  std::int32_t row = count;
  for (const Node* node = planner.Result(); node; node = node->parent) {
    --row;
    ArrayElement(result, row, 0) = node->x;
    ArrayElement(result, row, 1) = node->y;
  }
  planner.Clear();
  return count;
}
