#pragma once
// A fixed-capacity ring buffer with insertion and removal at any position: the open list of
// the path search, kept sorted by the search itself.

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
    scratch_.reset();
    capacity_ = 0;
    Clear();
    if (capacity <= 0) return true;
    items_.reset(new (std::nothrow) T[static_cast<std::size_t>(capacity)]);
    scratch_.reset(new (std::nothrow) T[static_cast<std::size_t>(capacity)]);
    if (!items_ || !scratch_) {
      items_.reset();
      scratch_.reset();
      return false;
    }
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
  // when full or when position is outside 0..Size().
  bool Insert(std::int32_t position, T value) {
    const std::int32_t size = Size();
    if (position < 0 || position > size) return false;
    if (position == size) return PushBack(std::move(value));
    if (position == 0) return PushFront(std::move(value));
    if (Full()) return false;
    std::int32_t target = 0;
    for (std::int32_t i = 0; i < position; ++i) scratch_[target++] = items_[Slot(i)];
    scratch_[target++] = std::move(value);
    for (std::int32_t i = position; i < size; ++i) scratch_[target++] = items_[Slot(i)];
    items_.swap(scratch_);
    head_ = 0;
    end_ = target == capacity_ ? 0 : target;
    return true;
  }

  // Removes the element at `position`. Fails when position is outside 0..Size()-1.
  bool Erase(std::int32_t position) {
    const std::int32_t size = Size();
    if (position < 0 || position >= size) return false;
    std::int32_t target = 0;
    for (std::int32_t i = 0; i < size; ++i) {
      if (i != position) scratch_[target++] = items_[Slot(i)];
    }
    items_.swap(scratch_);
    head_ = 0;
    end_ = target;
    empty_ = target == 0;
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
  std::int32_t Next(std::int32_t slot) const { return slot + 1 == capacity_ ? 0 : slot + 1; }
  std::int32_t Previous(std::int32_t slot) const { return (slot == 0 ? capacity_ : slot) - 1; }

  std::unique_ptr<T[]> items_;
  std::unique_ptr<T[]> scratch_;
  std::int32_t capacity_ = 0;
  std::int32_t head_ = 0;
  std::int32_t end_ = 0;  // one past the back
  bool empty_ = true;
};
