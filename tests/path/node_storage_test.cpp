// The node pool and the closed set.
#include <gtest/gtest.h>

#include <vector>

#include "path/node_factory.h"
#include "path/node_hash_table.h"

namespace {

TEST(NodeFactory, HandsOutNodesInPoolOrderUntilItRunsOut) {
  NodeFactory pool;
  ASSERT_TRUE(pool.Allocate(3));
  Node* first = pool.TakeNode();
  Node* second = pool.TakeNode();
  Node* third = pool.TakeNode();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(third, first + 2);
  EXPECT_EQ(pool.TakeNode(), nullptr);
  EXPECT_EQ(pool.HandedOut(), 3);
  EXPECT_EQ(pool.NodeAt(1), second);
}

TEST(NodeFactory, NodesComeOutBlankEvenAfterBeingGivenBack) {
  NodeFactory pool;
  ASSERT_TRUE(pool.Allocate(2));
  Node* node = pool.TakeNode();
  node->x = 5;
  node->g = 3;
  node->parent = node;
  pool.GiveBack();
  Node* again = pool.TakeNode();
  EXPECT_EQ(again, node);
  EXPECT_EQ(again->x, 0);
  EXPECT_EQ(again->g, 0);
  EXPECT_EQ(again->parent, nullptr);
  EXPECT_EQ(again->bucketNext, nullptr);
}

TEST(NodeFactory, GivingBackNeverGoesBelowZero) {
  NodeFactory pool;
  ASSERT_TRUE(pool.Allocate(2));
  pool.TakeNode();
  pool.GiveBack();
  pool.GiveBack();
  EXPECT_EQ(pool.HandedOut(), 0);
  EXPECT_NE(pool.TakeNode(), nullptr);
  EXPECT_EQ(pool.HandedOut(), 1);
}

TEST(NodeFactory, AnEmptyPoolHandsOutNothing) {
  NodeFactory pool;
  EXPECT_EQ(pool.TakeNode(), nullptr);
  ASSERT_TRUE(pool.Allocate(0));
  EXPECT_EQ(pool.TakeNode(), nullptr);
  ASSERT_TRUE(pool.Allocate(-4));
  EXPECT_EQ(pool.Capacity(), 0);
}

Node MakeNode(int x, int y) { return Node{nullptr, x, y, 0, 0, nullptr}; }

TEST(NodeHashTable, ExponentIsCappedAndRoundedDownToEven) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(8));
  EXPECT_EQ(table.Exponent(), 8);
  EXPECT_EQ(table.BucketCount(), 256);
  ASSERT_TRUE(table.Allocate(9));
  EXPECT_EQ(table.Exponent(), 8);
  ASSERT_TRUE(table.Allocate(31));
  EXPECT_EQ(table.Exponent(), 24);
  ASSERT_TRUE(table.Allocate(-3));
  EXPECT_EQ(table.Exponent(), 0);
  EXPECT_EQ(table.BucketCount(), 1);
}

TEST(NodeHashTable, ExponentForAGridGivesABucketPerCell) {
  EXPECT_EQ(NodeHashTable::ExponentFor(10, 10), 8);
  EXPECT_EQ(NodeHashTable::ExponentFor(0, -5), 8);
  EXPECT_EQ(NodeHashTable::ExponentFor(16, 16), 8);
  EXPECT_EQ(NodeHashTable::ExponentFor(17, 16), 10);
  EXPECT_EQ(NodeHashTable::ExponentFor(256, 256), 16);
  EXPECT_EQ(NodeHashTable::ExponentFor(1024, 1024), 20);
  EXPECT_EQ(NodeHashTable::ExponentFor(2048, 2048), 22);
  EXPECT_EQ(NodeHashTable::ExponentFor(46000, 46000), 24);
}

TEST(NodeHashTable, BucketTakesTheLowBitsOfXAndY) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(8));
  EXPECT_EQ(table.BucketOf(0, 0), 0);
  EXPECT_EQ(table.BucketOf(5, 0), 5);
  EXPECT_EQ(table.BucketOf(0, 3), 3 << 4);
  EXPECT_EQ(table.BucketOf(17, 35), 1 | (3 << 4));
  EXPECT_EQ(table.BucketOf(15, 15), 255);
  ASSERT_TRUE(table.Allocate(2));
  EXPECT_EQ(table.BucketOf(3, 2), 1);  // one bit of each: 1 | (0 << 1)
}

TEST(NodeHashTable, FindsNodesSharingABucketAndUnlinksAnyOfThem) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(8));
  // Same bucket: the coordinates differ only above the low four bits.
  Node a = MakeNode(1, 2), b = MakeNode(17, 2), c = MakeNode(1, 18), other = MakeNode(2, 2);
  for (Node* node : {&a, &b, &c, &other}) table.Insert(node);
  EXPECT_EQ(table.Find(17, 2), &b);
  EXPECT_EQ(table.Find(1, 18), &c);
  EXPECT_EQ(table.Find(33, 2), nullptr);

  EXPECT_EQ(table.Find(17, 2), &b);  // the middle of the chain c -> b -> a
  table.UnlinkFound();
  EXPECT_EQ(table.Find(17, 2), nullptr);
  EXPECT_EQ(table.Find(1, 2), &a);
  EXPECT_EQ(table.Find(1, 18), &c);
  table.UnlinkFound();               // the head
  EXPECT_EQ(table.Find(1, 18), nullptr);
  EXPECT_EQ(table.Find(1, 2), &a);
  EXPECT_EQ(table.Find(2, 2), &other);
}

TEST(NodeHashTable, InsertingANodeTwiceKeepsOneEntry) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(8));
  Node a = MakeNode(4, 4), b = MakeNode(20, 4);
  table.Insert(&a);
  table.Insert(&b);
  table.Insert(&a);
  int visited = 0;
  table.DrainAll([&](Node*) { ++visited; });
  EXPECT_EQ(visited, 2);
  EXPECT_EQ(table.Find(4, 4), nullptr);
}

TEST(NodeHashTable, UnlinkWithoutAFreshFindDoesNothing) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(4));
  Node a = MakeNode(0, 0), b = MakeNode(4, 4);
  table.Insert(&a);
  table.UnlinkFound();          // nothing found yet
  EXPECT_EQ(table.Find(9, 9), nullptr);
  table.UnlinkFound();          // the last find found nothing
  EXPECT_EQ(table.Find(0, 0), &a);
  table.Insert(&b);             // the chain changed since the find
  table.UnlinkFound();
  EXPECT_EQ(table.Find(0, 0), &a);
  EXPECT_EQ(table.Find(4, 4), &b);
}

TEST(NodeHashTable, DrainVisitsEveryNodeOnceAndEmptiesTheTable) {
  NodeHashTable table;
  ASSERT_TRUE(table.Allocate(4));
  std::vector<Node> nodes;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) nodes.push_back(MakeNode(x, y));
  }
  for (Node& node : nodes) table.Insert(&node);
  std::vector<int> seen(nodes.size(), 0);
  table.DrainAll([&](Node* node) { ++seen[node->x + node->y * 10]; });
  EXPECT_EQ(seen, std::vector<int>(nodes.size(), 1));
  for (const Node& node : nodes) {
    EXPECT_EQ(node.bucketNext, nullptr);
    EXPECT_EQ(table.Find(node.x, node.y), nullptr);
  }
}

}  // namespace
