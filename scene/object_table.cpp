#include "scene/object_table.h"

#include <algorithm>
#include <utility>

moObject *ObjectTable::get(int32_t i) const {
  return i >= 0 && i < count_ ? items_[i].get() : nullptr;
}

const ObjectPtr &ObjectTable::pointer(int32_t i) const {
  static const ObjectPtr kNone;
  return i >= 0 && i < count_ ? items_[i] : kNone;
}

int32_t ObjectTable::objectCount() const {
  return static_cast<int32_t>(
      std::count_if(items_.begin(), items_.begin() + count_, [](const ObjectPtr &p) { return p; }));
}

void ObjectTable::grow(int32_t minimumCapacity) {
  if (minimumCapacity > capacity())
    items_.resize(static_cast<size_t>(std::max(minimumCapacity, capacity() + kGrowBy)));
}

void ObjectTable::extendTo(int32_t i) {
  if (i < count_)
    return;
  grow(i + 1);
  count_ = i + 1;
}

int32_t ObjectTable::insert(ObjectPtr object) {
  int32_t slot = freeHint_;
  while (slot < count_ && items_[slot])
    ++slot;
  if (slot >= capacity())
    items_.resize(static_cast<size_t>(capacity() + kGrowBy));
  items_[slot] = std::move(object);
  if (slot >= count_)
    count_ = slot + 1;
  freeHint_ = slot + 1;
  return slot;
}

void ObjectTable::place(int32_t i, ObjectPtr object) {
  extendTo(i);
  items_[i] = std::move(object);
}

void ObjectTable::release(int32_t i) {
  if (i < 0 || i >= count_)
    return;
  items_[i].reset();
  freeHint_ = std::min(freeHint_, i);
}

void ObjectTable::remove(int32_t i) {
  release(i);
  dropTrailingEmpty();
}

void ObjectTable::dropTrailingEmpty() {
  while (count_ > 0 && !items_[count_ - 1])
    --count_;
}

void ObjectTable::clear(bool releaseStorage) {
  for (ObjectPtr &p : items_)
    p.reset();
  count_ = 0;
  freeHint_ = 0;
  if (releaseStorage)
    std::vector<ObjectPtr>().swap(items_);
}

void ObjectTable::swapContents(ObjectTable &other) {
  std::swap(items_, other.items_);
  std::swap(count_, other.count_);
  // Each hint is a lower bound for the slots it came with, so it travels with them.
  std::swap(freeHint_, other.freeHint_);
}
