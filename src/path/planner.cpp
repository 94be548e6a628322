#include "path/planner.h"

#include <cfloat>
#include <cmath>
#include <new>

namespace {

bool Inside(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  return x >= 0 && x < width && y >= 0 && y < height;
}

// A map cell as a working cost before normalisation: the cell's value as a float, or kBlocked
// when that is not positive. NaN is blocked too, and values beyond the float range become the
// largest float, so the conversion is always defined and every open cost stays finite.
float WorkingCost(double value) {
  if (!(value > 0)) return Planner::kBlocked;
  const float cost = value >= FLT_MAX ? FLT_MAX : static_cast<float>(value);
  return cost > 0 ? cost : Planner::kBlocked;
}

}  // namespace

Planner::~Planner() { Clear(); }

PlannerSetup Planner::Setup(const SearchParameters& parameters) {
  prepared_ = false;
  Clear();
  const std::int32_t width = parameters.width;
  const std::int32_t height = parameters.height;
  if (!Inside(parameters.startX, parameters.startY, width, height) ||
      !Inside(parameters.goalX, parameters.goalY, width, height) ||
      (parameters.startX == parameters.goalX && parameters.startY == parameters.goalY) ||
      parameters.cells == nullptr) {
    return PlannerSetup::kRejected;
  }
  const std::int64_t cellCount = std::int64_t{width} * height;
  if (cellCount > INT32_MAX) return PlannerSetup::kOutOfMemory;
  const auto cells = static_cast<std::size_t>(cellCount);

  // Working costs: blocked cells are -1, open cells cost / max + 1. Only the ratios of the
  // costs matter, so multiplying the whole map by a constant yields the same search.
  std::unique_ptr<float[]> costs(new (std::nothrow) float[cells]);
  if (!costs) return PlannerSetup::kOutOfMemory;
  float maximum = 0;
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const float cost = WorkingCost(parameters.cells[cell]);
    costs[cell] = cost;
    if (cost > maximum) maximum = cost;
  }
  if (maximum <= 0) return PlannerSetup::kRejected;
  for (std::size_t cell = 0; cell < cells; ++cell) {
    if (costs[cell] > 0) costs[cell] = costs[cell] / maximum + 1;
  }

  const std::int32_t poolCapacity =
      parameters.nodePoolCapacity > 0 ? parameters.nodePoolCapacity : static_cast<std::int32_t>(cells);
  const std::int32_t openCapacity =
      parameters.openListCapacity > 0 ? parameters.openListCapacity : static_cast<std::int32_t>(cells);
  cellNodes_.reset(new (std::nothrow) Node*[cells]());
  if (!cellNodes_ || !nodes_.Allocate(poolCapacity) || !openList_.Allocate(openCapacity) ||
      !closedSet_.Allocate(parameters.closedSetExponent)) {
    cellNodes_.reset();
    nodes_.Allocate(0);
    openList_.Allocate(0);
    closedSet_.Allocate(0);
    return PlannerSetup::kOutOfMemory;
  }

  costs_ = std::move(costs);
  parameters_ = parameters;
  // NaN would make every priority NaN and the open list unsortable; it counts as 0.
  const float weight = parameters.weight;
  parameters_.weight = !(weight > 0) ? 0.0f : (weight > 1 ? 1.0f : weight);
  width_ = width;
  height_ = height;
  done_ = true;
  prepared_ = true;
  return PlannerSetup::kReady;
}

void Planner::Reset() {
  Clear();
  done_ = false;
  result_ = nullptr;
}

void Planner::Clear() {
  if (cellNodes_) {
    // Every node handed out belongs to one cell; forgetting them all also covers a node that
    // an abandoned search held in neither list.
    for (std::int32_t index = 0; index < nodes_.HandedOut(); ++index) {
      const Node* node = nodes_.NodeAt(index);
      cellNodes_[CellIndex(node->x, node->y)] = nullptr;
    }
  }
  for (std::int32_t position = openList_.Size(); position > 0; --position) nodes_.GiveBack();
  openList_.Clear();
  closedSet_.DrainAll([this](Node*) { nodes_.GiveBack(); });
  result_ = nullptr;
  done_ = true;
}
