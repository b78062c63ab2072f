// The selection: which vertices, edges, faces or objects the next operation works on, in the
// order they were selected (several operations depend on that order).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

enum SelectionMode : int32_t {
  moVERTICES = 0,
  moEDGES = 1,
  moFACES = 2,
  moOBJECTS = 3,
  moFREE = 4, // nothing selected, after Deselect
  moNONE = 5, // nothing; also the argument meaning deselect/reselect
};

// An element of an object (element index, object slot); in moOBJECTS mode both are the slot.
struct ElementRef {
  int32_t element = -1;
  int32_t object = -1; // -1 marks a hole
};
inline bool operator==(const ElementRef &a, const ElementRef &b) {
  return a.element == b.element && a.object == b.object;
}
inline bool operator!=(const ElementRef &a, const ElementRef &b) { return !(a == b); }

// Entries in slot order with holes: removing an entry leaves a hole (unless it was the last
// slot), and only Clear reclaims holes. Get walks from a cursor, so ascending loops cost one pass.
class SelectionList {
public:
  static constexpr int32_t kGrowBy = 4;

  // Number of live entries.
  int32_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // Slots in use, holes included.
  int32_t Top() const { return top_; }
  // The i-th live entry in slot order, 0 <= i < Count().
  ElementRef Get(int32_t i) const;
  // Logical index of the first live entry equal to ref, or -1 (a scan).
  int32_t Find(const ElementRef &ref) const;
  // Whether a live entry equals ref (constant time on average).
  bool Contains(const ElementRef &ref) const;
  // Appends without checking for duplicates.
  void Append(const ElementRef &ref);
  // Removes ref if present (a hole, or one slot less when it was the last), else appends it.
  // Returns true when it appended.
  bool Toggle(const ElementRef &ref);
  // With add: append ref unless present; without: remove it if present.
  void Set(const ElementRef &ref, bool add);
  void Swap(SelectionList &other);
  void Clear();

private:
  static uint64_t key(const ElementRef &ref) {
    return uint64_t(uint32_t(ref.element)) << 32 | uint32_t(ref.object);
  }
  void removeFirst(const ElementRef &ref);

  std::vector<ElementRef> items_; // size() is the capacity
  int32_t top_ = 0;
  int32_t count_ = 0;
  mutable int32_t cursorLogical_ = 0; // where the last Get stopped, to continue from there
  mutable int32_t cursorSlot_ = 0;
  std::unordered_map<uint64_t, int32_t> live_; // ref -> number of live entries equal to it
};
