#pragma once
// A fixed-capacity ring buffer with insertion and removal at any position: the open list of
// the path search, kept sorted by the search itself.
//
// Insertion and removal in the middle move only the elements on the nearer end, in place.
// Copying the whole contents into a second buffer for each of them instead made a path search
// on a 1024 x 1024 grid four times slower (760 ms against 180 ms): most insertions land a few
// elements from the back of a list thousands long.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

template <typename T>
class FixedDeque {
 public:
  FixedDeque() = default;
  FixedDeque(const FixedDeque&) = delete;
  FixedDeque& operator=(const FixedDeque&) = delete;
  virtual ~FixedDeque() = default;

  // Replaces the buffer with an empty one of `capacity` elements. False when the memory cannot
  // be had (the deque then has capacity 0 and every push fails).
  bool Allocate(std::int32_t capacity) {
    items_.reset();
    capacity_ = 0;
    Clear();
    if (capacity <= 0) return true;
    items_.reset(new (std::nothrow) T[static_cast<std::size_t>(capacity)]);
    if (!items_) return false;
    capacity_ = capacity;
    return true;
  }

  std::int32_t Capacity() const { return capacity_; }
  bool Empty() const { return empty_; }
  bool Full() const { return !empty_ && head_ == end_; }
  std::int32_t Size() const {
    if (empty_) return 0;
    return end_ > head_ ? end_ - head_ : end_ + capacity_ - head_;
  }

  // The element at `position` counted from the front; position must be below Size().
  const T& At(std::int32_t position) const { return items_[Slot(position)]; }
  // The last element; a value-initialised T when empty.
  T Back() const { return empty_ ? T{} : items_[Previous(end_)]; }

  void PopBack() {
    if (empty_) return;
    end_ = Previous(end_);
    empty_ = end_ == head_;
  }
  void PopFront() {
    if (empty_) return;
    head_ = Next(head_);
    empty_ = end_ == head_;
  }
  bool PushBack(T value) {
    if (capacity_ == 0 || Full()) return false;
    items_[end_] = std::move(value);
    end_ = Next(end_);
    empty_ = false;
    return true;
  }
  bool PushFront(T value) {
    if (capacity_ == 0 || Full()) return false;
    head_ = Previous(head_);
    items_[head_] = std::move(value);
    empty_ = false;
    return true;
  }

  // Puts value before the element at `position` (at the back when position is Size()). Fails
  // when full or when position is outside 0..Size(). The elements on the shorter side of the
  // position move by one slot; the others stay where they are.
  bool Insert(std::int32_t position, T value) {
    const std::int32_t size = Size();
    if (position < 0 || position > size) return false;
    if (position == size) return PushBack(std::move(value));
    if (position == 0) return PushFront(std::move(value));
    if (Full()) return false;
    if (position < size - position) {
      head_ = Previous(head_);
      ShiftTowardFront(1, position + 1);
    } else {
      ShiftTowardBack(position, size);
      end_ = Next(end_);
    }
    items_[Slot(position)] = std::move(value);
    return true;
  }

  // Removes the element at `position`. Fails when position is outside 0..Size()-1. The
  // elements on the shorter side of the position move by one slot.
  bool Erase(std::int32_t position) {
    const std::int32_t size = Size();
    if (position < 0 || position >= size) return false;
    if (position < size - 1 - position) {
      ShiftTowardBack(0, position);
      head_ = Next(head_);
    } else {
      ShiftTowardFront(position + 1, size);
      end_ = Previous(end_);
    }
    empty_ = size == 1;
    return true;
  }

  void Clear() {
    head_ = 0;
    end_ = 0;
    empty_ = true;
  }

 private:
  std::int32_t Slot(std::int32_t position) const {
    const std::int32_t slot = head_ + position;
    return slot >= capacity_ ? slot - capacity_ : slot;
  }
  // Moves the elements at positions first..last-1 one slot toward the front (position i to
  // i - 1), in at most three contiguous runs around the wrap.
  void ShiftTowardFront(std::int32_t first, std::int32_t last) {
    for (std::int32_t i = first; i < last;) {
      const std::int32_t source = Slot(i);
      if (source == 0) {
        items_[capacity_ - 1] = std::move(items_[0]);
        ++i;
        continue;
      }
      const std::int32_t run = std::min(last - i, capacity_ - source);
      std::move(&items_[source], &items_[source] + run, &items_[source - 1]);
      i += run;
    }
  }
  // Moves the elements at positions first..last-1 one slot toward the back (position i to
  // i + 1), last first, in at most three contiguous runs around the wrap.
  void ShiftTowardBack(std::int32_t first, std::int32_t last) {
    for (std::int32_t i = last; i > first;) {
      const std::int32_t target = Slot(i);
      if (target == 0) {
        items_[0] = std::move(items_[capacity_ - 1]);
        --i;
        continue;
      }
      const std::int32_t run = std::min(i - first, target);
      std::move_backward(&items_[target - run], &items_[target], &items_[target] + 1);
      i -= run;
    }
  }

  std::int32_t Next(std::int32_t slot) const { return slot + 1 == capacity_ ? 0 : slot + 1; }
  std::int32_t Previous(std::int32_t slot) const { return (slot == 0 ? capacity_ : slot) - 1; }

  std::unique_ptr<T[]> items_;
  std::int32_t capacity_ = 0;
  std::int32_t head_ = 0;
  std::int32_t end_ = 0;  // one past the back
  bool empty_ = true;
};
