#pragma once
// The closed set of a search: nodes chained in 2^b buckets by their cell.

#include <cstdint>
#include <memory>

#include "path/node.h"

class NodeHashTable {
 public:
  static constexpr std::int32_t kMaxExponent = 24;

  NodeHashTable() = default;
  NodeHashTable(const NodeHashTable&) = delete;
  NodeHashTable& operator=(const NodeHashTable&) = delete;
  virtual ~NodeHashTable() = default;

  // Replaces the buckets with 2^b empty ones. b is the requested exponent capped to 0..24 and
  // rounded down to even, so that x and y each give b/2 bits of the bucket number. False when
  // the memory cannot be had (the table then has no buckets and holds nothing).
  bool Allocate(std::int32_t exponent);

  // The exponent that keeps chains short on a grid of width x height cells: at least one
  // bucket per cell (each coordinate gives b/2 bits, so a square grid whose side is a power
  // of two gets exactly one cell per bucket), at least 8, at most 24.
  static std::int32_t ExponentFor(std::int32_t width, std::int32_t height);

  std::int32_t Exponent() const { return exponent_; }
  std::int32_t BucketCount() const { return buckets_ ? std::int32_t{1} << exponent_ : 0; }
  // (x AND m) OR ((y AND m) << b/2) with m = 2^(b/2) - 1.
  std::int32_t BucketOf(std::int32_t x, std::int32_t y) const;

  // Links the node at the head of its cell's chain; a node already in the chain stays as it is.
  void Insert(Node* node);
  // The node of cell (x, y), or null. The place it was found is remembered for UnlinkFound.
  Node* Find(std::int32_t x, std::int32_t y);
  // Takes the node the last successful Find returned out of its chain. Does nothing when the
  // table changed since (an insert or unlink) or the last Find found nothing.
  void UnlinkFound();

  // Calls visit(node) for every node held, then empties every bucket.
  template <typename Visit>
  void DrainAll(Visit&& visit);

 private:
  std::unique_ptr<Node*[]> buckets_;
  std::int32_t exponent_ = 0;
  // The link that points at the last node Find returned: the bucket slot or the bucket-next
  // field of the node before it, so that unlinking needs no second walk.
  Node** foundLink_ = nullptr;
};

template <typename Visit>
void NodeHashTable::DrainAll(Visit&& visit) {
  foundLink_ = nullptr;
  const std::int32_t count = BucketCount();
  for (std::int32_t bucket = 0; bucket < count; ++bucket) {
    Node* node = buckets_[bucket];
    while (node) {
      Node* next = node->bucketNext;
      node->bucketNext = nullptr;
      visit(node);
      node = next;
    }
    buckets_[bucket] = nullptr;
  }
}
