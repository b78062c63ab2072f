// The growable element array of a mesh: indices never move while the array grows, the count
// includes inactive elements and only falls through truncation or clearing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

template <class T> class moArray {
public:
  static constexpr int32_t kGrowQuantum = 4;

  int32_t count() const { return count_; }
  int32_t capacity() const { return capacity_; }
  bool empty() const { return count_ == 0; }
  // True when i names a slot of the array (active or not).
  bool contains(int32_t i) const { return i >= 0 && i < count_; }

  T &operator[](int32_t i) { return items_[static_cast<size_t>(i)]; }
  const T &operator[](int32_t i) const { return items_[static_cast<size_t>(i)]; }
  T *begin() { return items_.data(); }
  T *end() { return items_.data() + count_; }
  const T *begin() const { return items_.data(); }
  const T *end() const { return items_.data() + count_; }

  // Appends at index count(); a full array grows to 4 slots, then doubles. Returns the index.
  int32_t append(const T &item) {
    if (count_ == capacity_)
      setCapacity(capacity_ == 0 ? kGrowQuantum : grown(capacity_));
    items_[static_cast<size_t>(count_)] = item;
    return count_++;
  }

  // Drops the slots from n on (n <= count()).
  void truncate(int32_t n) { count_ = n; }

  // Count 0; with releaseStorage the storage is freed as well.
  void clear(bool releaseStorage) {
    count_ = 0;
    if (releaseStorage) {
      std::vector<T>().swap(items_);
      capacity_ = 0;
    }
  }

  // Empties the array and sets its capacity to n (0 frees the storage).
  void reserve(int32_t n) {
    clear(true);
    setCapacity(n);
  }

private:
  static int32_t grown(int32_t c) {
    return c > std::numeric_limits<int32_t>::max() / 2 ? std::numeric_limits<int32_t>::max()
                                                       : 2 * c;
  }
  void setCapacity(int32_t n) {
    items_.resize(static_cast<size_t>(n));
    capacity_ = n;
  }

  std::vector<T> items_; // size() == capacity_
  int32_t count_ = 0;
  int32_t capacity_ = 0;
};
