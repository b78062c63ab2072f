// The scene's objects by slot. A slot number is the object's index everywhere (selection, names,
// scripts, scene file); adding or removing an object never renumbers the others. The undo backup
// is a second table that shares unchanged objects with this one, so objects are held by shared
// pointer and destroyed when the last table lets go of them.
#pragma once

#include "core/mesh.h"

#include <memory>
#include <vector>

using ObjectPtr = std::shared_ptr<moObject>;

class ObjectTable {
public:
  static constexpr int32_t kGrowBy = 4;

  // One past the highest slot in use; loops over all objects run over 0..count()-1 and skip
  // empty slots.
  int32_t count() const { return count_; }
  int32_t capacity() const { return static_cast<int32_t>(items_.size()); }
  // The object in slot i, null for an empty slot or a slot out of range.
  moObject *get(int32_t i) const;
  const ObjectPtr &pointer(int32_t i) const;
  // Number of non-empty slots.
  int32_t objectCount() const;
  // Makes slot i exist (count grows to i + 1 when needed) without filling it.
  void extendTo(int32_t i);
  // Puts the object into the lowest empty slot; returns the slot.
  int32_t insert(ObjectPtr object);
  // Puts the object into slot i (which must be empty), growing the table as needed.
  void place(int32_t i, ObjectPtr object);
  // Empties slot i, releasing the object, and drops trailing empty slots from the count.
  void remove(int32_t i);
  // Empties slot i without dropping trailing slots (the object lives on where it is shared).
  void release(int32_t i);
  // Releases every object; with releaseStorage the slot array is freed too.
  void clear(bool releaseStorage);
  // Exchanges slots, counts and free-slot hints with another table.
  void swapContents(ObjectTable &other);

private:
  void grow(int32_t minimumCapacity);
  void dropTrailingEmpty();

  std::vector<ObjectPtr> items_; // size() is the capacity
  int32_t count_ = 0;
  int32_t freeHint_ = 0; // lowest slot that may be empty: every slot below it is in use
};
