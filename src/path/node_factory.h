#pragma once
// The node pool of one search: every node a search can need, allocated once up front and
// handed out in order.

#include <cstdint>
#include <memory>

#include "path/node.h"

class NodeFactory {
 public:
  NodeFactory() = default;
  NodeFactory(const NodeFactory&) = delete;
  NodeFactory& operator=(const NodeFactory&) = delete;
  virtual ~NodeFactory() = default;

  // Replaces the pool with `capacity` nodes, none handed out. False when the memory cannot be
  // had (the pool is then empty).
  bool Allocate(std::int32_t capacity);

  // The next node in pool order, all fields zero; null when every node is handed out.
  Node* TakeNode();
  // Gives one node back. Only the count goes down: nodes are given back all together when a
  // search is cleared, never one by one while others are still in use.
  void GiveBack();

  std::int32_t Capacity() const { return capacity_; }
  std::int32_t HandedOut() const { return handedOut_; }
  // The nodes handed out so far, in pool order (index below HandedOut()).
  Node* NodeAt(std::int32_t index) const { return &nodes_[index]; }

 private:
  std::int32_t capacity_ = 0;
  // One block rather than one allocation per node: a 2048 x 2048 grid needs four million
  // nodes, and the pages of nodes never handed out are never touched.
  std::unique_ptr<Node[]> nodes_;
  std::int32_t handedOut_ = 0;
};
