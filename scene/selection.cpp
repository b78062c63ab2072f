#include "scene/selection.h"

#include <utility>

ElementRef SelectionList::Get(int32_t i) const {
  if (i < 0 || i >= count_)
    return {};
  if (i < cursorLogical_ || cursorSlot_ >= top_ || items_[cursorSlot_].object == -1) {
    cursorLogical_ = 0;
    cursorSlot_ = 0;
    while (items_[cursorSlot_].object == -1)
      ++cursorSlot_;
  }
  while (cursorLogical_ < i) {
    ++cursorSlot_;
    while (items_[cursorSlot_].object == -1)
      ++cursorSlot_;
    ++cursorLogical_;
  }
  return items_[cursorSlot_];
}

int32_t SelectionList::Find(const ElementRef &ref) const {
  if (!Contains(ref))
    return -1;
  int32_t logical = 0;
  for (int32_t s = 0; s < top_; ++s) {
    if (items_[s].object == -1)
      continue;
    if (items_[s] == ref)
      return logical;
    ++logical;
  }
  return -1;
}

bool SelectionList::Contains(const ElementRef &ref) const {
  return ref.object != -1 && live_.count(key(ref)) != 0;
}

void SelectionList::Append(const ElementRef &ref) {
  if (ref.object == -1)
    return; // a hole is not an entry
  if (top_ == static_cast<int32_t>(items_.size()))
    items_.resize(items_.empty() ? kGrowBy : 2 * items_.size());
  items_[top_++] = ref;
  ++count_;
  ++live_[key(ref)];
}

void SelectionList::removeFirst(const ElementRef &ref) {
  for (int32_t s = 0; s < top_; ++s) {
    if (items_[s] != ref)
      continue;
    items_[s] = ElementRef{};
    --count_;
    if (s == top_ - 1)
      --top_;
    auto it = live_.find(key(ref));
    if (--it->second == 0)
      live_.erase(it);
    // Logical indices after the hole have shifted: the next Get starts over.
    cursorLogical_ = cursorSlot_ = 0;
    return;
  }
}

bool SelectionList::Toggle(const ElementRef &ref) {
  if (Contains(ref)) {
    removeFirst(ref);
    return false;
  }
  Append(ref);
  return true;
}

void SelectionList::Set(const ElementRef &ref, bool add) {
  if (Contains(ref) != add)
    Toggle(ref);
}

void SelectionList::Swap(SelectionList &other) {
  std::swap(items_, other.items_);
  std::swap(top_, other.top_);
  std::swap(count_, other.count_);
  std::swap(cursorLogical_, other.cursorLogical_);
  std::swap(cursorSlot_, other.cursorSlot_);
  std::swap(live_, other.live_);
}

void SelectionList::Clear() {
  top_ = count_ = cursorLogical_ = cursorSlot_ = 0;
  live_.clear();
}
