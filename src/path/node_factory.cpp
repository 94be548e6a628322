#include "path/node_factory.h"

#include <new>

bool NodeFactory::Allocate(std::int32_t capacity) {
  nodes_.reset();
  capacity_ = 0;
  handedOut_ = 0;
  if (capacity <= 0) return true;
  // Default-initialised on purpose: the nodes are filled as they are handed out.
  nodes_.reset(new (std::nothrow) Node[static_cast<std::size_t>(capacity)]);
  if (!nodes_) return false;
  capacity_ = capacity;
  return true;
}

Node* NodeFactory::TakeNode() {
  if (handedOut_ >= capacity_) return nullptr;
  Node* node = &nodes_[handedOut_++];
  *node = Node{};
  return node;
}

void NodeFactory::GiveBack() {
  if (handedOut_ > 0) --handedOut_;
}
