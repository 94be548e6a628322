#include "path/fixed_deque.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

namespace {

std::vector<int> Contents(const FixedDeque<int>& deque) {
  std::vector<int> items;
  for (std::int32_t i = 0; i < deque.Size(); ++i) items.push_back(deque.At(i));
  return items;
}

TEST(FixedDeque, PushesAndPopsAtBothEndsAcrossTheWrap) {
  FixedDeque<int> deque;
  ASSERT_TRUE(deque.Allocate(4));
  EXPECT_TRUE(deque.Empty());
  EXPECT_EQ(deque.Size(), 0);
  EXPECT_TRUE(deque.PushBack(1));
  EXPECT_TRUE(deque.PushBack(2));
  EXPECT_TRUE(deque.PushFront(0));  // wraps to the last slot
  EXPECT_TRUE(deque.PushFront(-1));
  EXPECT_EQ(Contents(deque), (std::vector<int>{-1, 0, 1, 2}));
  EXPECT_FALSE(deque.PushBack(3));
  EXPECT_FALSE(deque.PushFront(3));
  EXPECT_EQ(deque.Size(), 4);
  EXPECT_EQ(deque.Back(), 2);
  deque.PopBack();
  deque.PopFront();
  EXPECT_EQ(Contents(deque), (std::vector<int>{0, 1}));
  deque.PopBack();
  deque.PopBack();
  EXPECT_TRUE(deque.Empty());
  EXPECT_EQ(deque.Back(), 0);  // nothing there: a value-initialised element
  deque.PopBack();             // popping an empty deque changes nothing
  deque.PopFront();
  EXPECT_TRUE(deque.Empty());
  EXPECT_EQ(deque.Size(), 0);
}

TEST(FixedDeque, InsertAtTheEndsIsAPushAndFailsWhenFull) {
  FixedDeque<int> deque;
  ASSERT_TRUE(deque.Allocate(3));
  EXPECT_TRUE(deque.Insert(0, 5));   // empty: the back is position 0
  EXPECT_TRUE(deque.Insert(1, 7));   // at the end
  EXPECT_TRUE(deque.Insert(0, 3));   // at the head
  EXPECT_EQ(Contents(deque), (std::vector<int>{3, 5, 7}));
  EXPECT_FALSE(deque.Insert(1, 4));  // full
  EXPECT_FALSE(deque.Insert(3, 9));
  EXPECT_FALSE(deque.Insert(0, 1));
  EXPECT_EQ(Contents(deque), (std::vector<int>{3, 5, 7}));
}

TEST(FixedDeque, RefusesPositionsOutsideTheContents) {
  FixedDeque<int> deque;
  ASSERT_TRUE(deque.Allocate(8));
  deque.PushBack(1);
  deque.PushBack(2);
  EXPECT_FALSE(deque.Insert(3, 9));
  EXPECT_FALSE(deque.Insert(-1, 9));
  EXPECT_FALSE(deque.Erase(2));
  EXPECT_FALSE(deque.Erase(-1));
  EXPECT_EQ(Contents(deque), (std::vector<int>{1, 2}));
}

TEST(FixedDeque, InsertAndEraseInTheMiddleKeepTheOrderWhenWrapped) {
  FixedDeque<int> deque;
  ASSERT_TRUE(deque.Allocate(6));
  for (int value : {30, 40, 50}) deque.PushBack(value);
  for (int value : {20, 10}) deque.PushFront(value);  // head now wraps round the end
  EXPECT_TRUE(deque.Insert(2, 25));                    // becomes full
  EXPECT_EQ(Contents(deque), (std::vector<int>{10, 20, 25, 30, 40, 50}));
  EXPECT_FALSE(deque.PushBack(60));
  EXPECT_TRUE(deque.Erase(4));
  EXPECT_TRUE(deque.Erase(0));
  EXPECT_TRUE(deque.Erase(3));
  EXPECT_EQ(Contents(deque), (std::vector<int>{20, 25, 30}));
  EXPECT_TRUE(deque.Insert(1, 22));
  EXPECT_TRUE(deque.Insert(3, 28));
  EXPECT_EQ(Contents(deque), (std::vector<int>{20, 22, 25, 28, 30}));
}

TEST(FixedDeque, ErasingTheLastElementLeavesItEmptyAndUsable) {
  FixedDeque<int> deque;
  ASSERT_TRUE(deque.Allocate(2));
  deque.PushBack(1);
  deque.PushBack(2);
  EXPECT_TRUE(deque.Erase(0));
  EXPECT_TRUE(deque.Erase(0));
  EXPECT_TRUE(deque.Empty());
  EXPECT_TRUE(deque.PushFront(3));
  EXPECT_TRUE(deque.PushFront(4));
  EXPECT_EQ(Contents(deque), (std::vector<int>{4, 3}));
  deque.Clear();
  EXPECT_TRUE(deque.Empty());
  EXPECT_TRUE(deque.PushBack(5));
  EXPECT_EQ(Contents(deque), (std::vector<int>{5}));
}

TEST(FixedDeque, WithoutCapacityEveryPushFails) {
  FixedDeque<int> deque;
  EXPECT_FALSE(deque.PushBack(1));
  EXPECT_FALSE(deque.PushFront(1));
  EXPECT_FALSE(deque.Insert(0, 1));
  ASSERT_TRUE(deque.Allocate(0));
  EXPECT_FALSE(deque.PushBack(1));
  EXPECT_TRUE(deque.Empty());
}

// Random operations against std::deque: every position, every wrap state, full and empty.
TEST(FixedDeque, MatchesAStandardDequeUnderRandomOperations) {
  std::mt19937 random(11);
  for (int capacity : {1, 2, 3, 7, 16}) {
    FixedDeque<int> deque;
    ASSERT_TRUE(deque.Allocate(capacity));
    std::deque<int> model;
    for (int step = 0; step < 4000; ++step) {
      const int value = step;
      const int size = static_cast<int>(model.size());
      const bool full = size == capacity;
      switch (random() % 6) {
        case 0:
          ASSERT_EQ(deque.PushBack(value), !full);
          if (!full) model.push_back(value);
          break;
        case 1:
          ASSERT_EQ(deque.PushFront(value), !full);
          if (!full) model.push_front(value);
          break;
        case 2:
          deque.PopBack();
          if (size > 0) model.pop_back();
          break;
        case 3:
          deque.PopFront();
          if (size > 0) model.pop_front();
          break;
        case 4: {
          const int position = static_cast<int>(random() % (size + 1));
          ASSERT_EQ(deque.Insert(position, value), !full);
          if (!full) model.insert(model.begin() + position, value);
          break;
        }
        default: {
          if (size == 0) {
            ASSERT_FALSE(deque.Erase(0));
            break;
          }
          const int position = static_cast<int>(random() % size);
          ASSERT_TRUE(deque.Erase(position));
          model.erase(model.begin() + position);
          break;
        }
      }
      ASSERT_EQ(deque.Size(), static_cast<int>(model.size()));
      ASSERT_EQ(deque.Empty(), model.empty());
      ASSERT_EQ(Contents(deque), std::vector<int>(model.begin(), model.end())) << "step " << step;
      if (!model.empty()) {
        ASSERT_EQ(deque.Back(), model.back());
      }
    }
  }
}

}  // namespace
