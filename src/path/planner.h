#pragma once
// The common part of a grid path search: the working cost grid, the node pool, the open list
// and the closed set of one search, and the order of operations a caller follows:
// Setup, Reset, Search, read Result(), Clear.

#include <cstdint>
#include <memory>

#include "path/fixed_deque.h"
#include "path/node.h"
#include "path/node_factory.h"
#include "path/node_hash_table.h"

enum class PlannerSetup {
  kReady,        // the planner is prepared; Reset and Search may follow
  kRejected,     // start or goal outside the grid, start equal to goal, or no open cell
  kOutOfMemory,  // the grid, pool, open list or closed set could not be allocated
};

class Planner {
 public:
  // The cost of a blocked cell in the working grid.
  static constexpr float kBlocked = -1.0f;

  Planner() = default;
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;
  virtual ~Planner();

  // Builds the working grid (open cells cost cost / max + 1, in (1, 2]; cells <= 0 are
  // blocked) and allocates the pool, the open list and the closed set. Anything but kReady
  // leaves the planner unprepared: Reset and Search then do nothing.
  PlannerSetup Setup(const SearchParameters& parameters);

  // Empties the open list and the closed set, done = 0, no result.
  virtual void Reset();
  // Runs the search to its end. True when the goal was reached; Result() is then the goal node.
  virtual bool Search() = 0;
  // Gives every node back to the pool and empties the open list and the closed set; done = 1.
  virtual void Clear();

  bool Prepared() const { return prepared_; }
  bool Done() const { return done_; }
  // The goal node of a successful search (follow parent to the start), or null.
  const Node* Result() const { return result_; }
  // The working cost of cell (x, y): kBlocked or a value in (1, 2].
  float CellCost(std::int32_t x, std::int32_t y) const { return costs_[x + y * width_]; }
  const SearchParameters& Parameters() const { return parameters_; }
  const NodeFactory& Nodes() const { return nodes_; }
  const FixedDeque<Node*>& OpenList() const { return openList_; }

 protected:
  std::int32_t CellIndex(std::int32_t x, std::int32_t y) const { return x + y * width_; }

  bool done_ = false;
  NodeFactory nodes_;
  SearchParameters parameters_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::unique_ptr<float[]> costs_;
  FixedDeque<Node*> openList_;
  NodeHashTable closedSet_;
  Node* result_ = nullptr;
  // The node each cell owns, or null. A cell owns at most one node, held either in the open
  // list or in the closed set, so the search finds a neighbour's node here at once instead of
  // scanning the open list or walking a closed-set chain.
  std::unique_ptr<Node*[]> cellNodes_;
  bool prepared_ = false;
};
