#include "path/node_hash_table.h"

#include <algorithm>
#include <new>

bool NodeHashTable::Allocate(std::int32_t exponent) {
  buckets_.reset();
  foundLink_ = nullptr;
  exponent_ = std::clamp(exponent, std::int32_t{0}, kMaxExponent) & ~std::int32_t{1};
  // Value-initialised: every bucket starts empty.
  buckets_.reset(new (std::nothrow) Node*[std::size_t{1} << exponent_]());
  return buckets_ != nullptr;
}

std::int32_t NodeHashTable::ExponentFor(std::int32_t width, std::int32_t height) {
  const std::int64_t cells = std::int64_t{std::max(width, 0)} * std::max(height, 0);
  std::int32_t exponent = 8;
  while (exponent < kMaxExponent && (std::int64_t{1} << exponent) < cells) exponent += 2;
  return exponent;
}

std::int32_t NodeHashTable::BucketOf(std::int32_t x, std::int32_t y) const {
  const std::int32_t half = exponent_ / 2;
  const std::int32_t mask = (std::int32_t{1} << half) - 1;
  return (x & mask) | ((y & mask) << half);
}

void NodeHashTable::Insert(Node* node) {
  if (!buckets_) return;
  foundLink_ = nullptr;
  Node*& head = buckets_[BucketOf(node->x, node->y)];
  for (Node* chained = head; chained; chained = chained->bucketNext) {
    if (chained == node) return;
  }
  node->bucketNext = head;
  head = node;
}

Node* NodeHashTable::Find(std::int32_t x, std::int32_t y) {
  foundLink_ = nullptr;
  if (!buckets_) return nullptr;
  for (Node** link = &buckets_[BucketOf(x, y)]; *link; link = &(*link)->bucketNext) {
    if ((*link)->x == x && (*link)->y == y) {
      foundLink_ = link;
      return *link;
    }
  }
  return nullptr;
}

void NodeHashTable::UnlinkFound() {
  if (!foundLink_) return;
  Node* node = *foundLink_;
  *foundLink_ = node->bucketNext;
  node->bucketNext = nullptr;
  foundLink_ = nullptr;
}
