// IndexList: a short list of element indices that keeps up to N entries inside itself. The mesh
// builder has several such lists per vertex, edge and face, and almost all of them stay that
// short, so a mesh of many elements is built without an allocation per list.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <vector>

template <uint32_t N> class IndexList {
public:
  using value_type = int32_t;
  using iterator = int32_t *;
  using const_iterator = const int32_t *;

  IndexList() = default;
  IndexList(std::initializer_list<int32_t> values) { append(values.begin(), values.end()); }
  IndexList(const IndexList &other) { append(other.begin(), other.end()); }
  IndexList(IndexList &&other) noexcept { take(other); }
  IndexList &operator=(const IndexList &other) {
    if (this != &other)
      assign(other.begin(), other.end());
    return *this;
  }
  IndexList &operator=(IndexList &&other) noexcept {
    if (this != &other) {
      release();
      take(other);
    }
    return *this;
  }
  ~IndexList() { release(); }
  operator std::vector<int32_t>() const { return {begin(), end()}; }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  int32_t *begin() { return data(); }
  int32_t *end() { return data() + size_; }
  const int32_t *begin() const { return data(); }
  const int32_t *end() const { return data() + size_; }
  std::reverse_iterator<const int32_t *> rbegin() const {
    return std::reverse_iterator<const int32_t *>(end());
  }
  std::reverse_iterator<const int32_t *> rend() const {
    return std::reverse_iterator<const int32_t *>(begin());
  }
  int32_t &operator[](size_t i) { return data()[i]; }
  int32_t operator[](size_t i) const { return data()[i]; }
  int32_t front() const { return data()[0]; }
  int32_t back() const { return data()[size_ - 1]; }

  void push_back(int32_t value) {
    if (size_ == capacity_)
      grow(size_t(capacity_) * 2);
    data()[size_++] = value;
  }
  void pop_back() { --size_; }
  void clear() { size_ = 0; }
  void reserve(size_t n) {
    if (n > capacity_)
      grow(n);
  }
  // Removes [first, last) and returns where the rest now starts.
  int32_t *erase(const int32_t *first, const int32_t *last) {
    int32_t *at = begin() + (first - begin());
    std::memmove(at, last, size_t(end() - last) * sizeof(int32_t));
    size_ -= uint32_t(last - first);
    return at;
  }
  int32_t *erase(const int32_t *at) { return erase(at, at + 1); }
  // Appends [first, last), which must not lie in this list.
  void append(const int32_t *first, const int32_t *last) {
    reserve(size_ + size_t(last - first));
    std::copy(first, last, end());
    size_ += uint32_t(last - first);
  }
  void assign(const int32_t *first, const int32_t *last) {
    clear();
    append(first, last);
  }

private:
  bool onHeap() const { return capacity_ > N; }
  int32_t *data() { return onHeap() ? heap_ : inline_; }
  const int32_t *data() const { return onHeap() ? heap_ : inline_; }
  void grow(size_t n) {
    auto *grown = new int32_t[n];
    std::copy(begin(), end(), grown);
    release();
    heap_ = grown;
    capacity_ = uint32_t(n);
  }
  void release() {
    if (onHeap())
      delete[] heap_;
    capacity_ = N;
  }
  void take(IndexList &other) {
    size_ = other.size_;
    capacity_ = other.capacity_;
    if (other.onHeap())
      heap_ = other.heap_;
    else
      std::copy(other.inline_, other.inline_ + other.size_, inline_);
    other.size_ = 0;
    other.capacity_ = N;
  }

  uint32_t size_ = 0, capacity_ = N; // more than N: the entries are on the heap
  union {
    int32_t inline_[N];
    int32_t *heap_;
  };
};

template <uint32_t N, class List> bool operator==(const IndexList<N> &a, const List &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
template <uint32_t N> bool operator==(const std::vector<int32_t> &a, const IndexList<N> &b) {
  return b == a;
}
