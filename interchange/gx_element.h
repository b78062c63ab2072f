// The interchange tree: every foreign format is read into and written from a tree of named,
// typed elements. GxElement is the base of all elements, GxNode the container; the leaves are
// in gx_properties.h.
//
// Ownership: a tree is owned through its root and released with destroy(). Elements may be
// shared — one element can occur several times among a container's children and under several
// containers — and destroy() releases every distinct element exactly once.
#pragma once

#include "interchange/gx_string.h"

#include <algorithm>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

// Element flags. ARRAY and STRUCT are mutually exclusive; an element may have neither.
constexpr uint8_t kGxArray = 1 << 1;  // children are anonymous, ordered items of one kind
constexpr uint8_t kGxStruct = 1 << 2; // children are named members

// Type name of a tree's root container, which writeText lists without a frame of its own.
constexpr const char *kGxRootTypeName = "__root@@";

class GxElement;

// The few references an element keeps to the containers holding it: most elements have exactly
// one, so the first lives inside the element and only more of them take memory of their own.
class GxRefs {
public:
  GxRefs() = default;
  GxRefs(const GxRefs &) = delete;
  GxRefs &operator=(const GxRefs &) = delete;
  ~GxRefs() {
    if (data_ != &inline_)
      delete[] data_;
  }
  GxElement *const *begin() const { return data_; }
  GxElement *const *end() const { return data_ + size_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  GxElement *front() const { return data_[0]; }
  GxElement *operator[](size_t i) const { return data_[i]; }
  bool contains(const GxElement *e) const { return std::find(begin(), end(), e) != end(); }
  void push_back(GxElement *e);
  // Removes the first occurrence of e, or every occurrence.
  void removeFirst(const GxElement *e);
  void removeAll(const GxElement *e);

private:
  GxElement *inline_ = nullptr;
  GxElement **data_ = &inline_;
  uint32_t size_ = 0, capacity_ = 1;
};

class GxElement {
public:
  // Elements come from a pool of their own: a tree is made of very many small elements that are
  // built and released together, and the pool gives its memory back once the last one is gone.
  // Elements are made and released on one thread.
  static void *operator new(size_t size);
  static void operator delete(void *p, size_t size);

  GxElement(const GxElement &) = delete;
  GxElement &operator=(const GxElement &) = delete;

  // Appends `child` to the children (also when it is already among them) and records this
  // container among the child's parents unless it is there. True when the parent record is new.
  // Leaves add nothing and return false.
  virtual bool addChild(GxElement *child);
  // Unlinks the first occurrence of `child` and drops this container from its parents; false
  // when `child` is not among the children. The child is not destroyed.
  virtual bool removeChild(GxElement *child);
  // Writes the indented dump of this element and everything below it at indentation `level`
  // (two blanks per level). Switches on the stream's showpoint flag. True when the stream is
  // still good.
  virtual bool writeText(std::ostream &out, int level) const = 0;
  // Releases this element and every distinct element below it exactly once. An element that is
  // also held by a container outside the released part is unlinked from it instead, and stays.
  // If this element is itself still a child somewhere, it is unlinked from there first.
  void destroy();
  // A new element of the same kind with the same name, type name, flags and value; containers
  // are cloned deeply (each occurrence of a shared child becomes its own copy). The caller owns
  // the result.
  virtual GxElement *clone() const = 0;

  uint8_t flags() const { return flags_; }
  bool isArray() const { return (flags_ & kGxArray) != 0; }
  bool isStruct() const { return (flags_ & kGxStruct) != 0; }
  const GxString &name() const { return name_; }
  void setName(const GxString &name) { name_ = name; }
  const GxString &typeName() const { return typeName_; }
  void setTypeName(const GxString &typeName) { typeName_ = typeName; }
  // The containers this element was added to, each once, in order of first addition.
  const GxRefs &parents() const { return parents_; }

  // The children in order of addition; iterate forwards or backwards.
  const std::vector<GxElement *> &children() const {
    ensureItems();
    return children_;
  }
  int32_t childCount() const {
    return itemsPending_ ? pendingItemCount() : int32_t(children_.size());
  }
  // The child at `index`, or null when the index is negative or not below the count.
  GxElement *childAt(int32_t index) const;
  // The first child with this name (or type name); null when there is none.
  GxElement *findChild(const char *name) const;
  GxElement *findChildOfType(const char *typeName) const;

protected:
  explicit GxElement(uint8_t flags = 0) : flags_(flags) {}
  virtual ~GxElement() = default;

  // The shared part of addChild and removeChild for containers.
  bool link(GxElement *child);
  bool unlink(GxElement *child);
  static void indent(std::ostream &out, int level);

  // Bulk lists (gx_packed.h) keep their items as plain numbers and make the item elements
  // the first time anything asks for a child; from then on they are ordinary containers.
  void setItemsPending() { itemsPending_ = true; }
  bool itemsPending() const { return itemsPending_; }
  // Adds the item elements the numbers stand for, in order, and drops the numbers.
  virtual void makeItems() {}
  virtual int32_t pendingItemCount() const { return 0; }

private:
  void ensureItems() const {
    if (itemsPending_)
      const_cast<GxElement *>(this)->expandItems();
  }
  void expandItems();

  uint8_t flags_;
  bool itemsPending_ = false;
  GxString name_;
  GxString typeName_;
  GxRefs parents_;
  std::vector<GxElement *> children_;
  // One entry per occurrence of this element among the children of live containers, kept apart
  // from parents_ (which forgets a container when one of several occurrences is removed).
  GxRefs holders_;
  // Scratch of destroy(): the pass that found this element to be released, and how many of its
  // holders are being released with it. Kept in the element so that releasing a large tree needs
  // no hash tables.
  uint64_t releasePass_ = 0;
  size_t heldInside_ = 0;
};

// unique_ptr deleter that releases a tree with destroy().
struct GxDestroy {
  void operator()(GxElement *e) const { e->destroy(); }
};
using GxPtr = std::unique_ptr<GxElement, GxDestroy>;

class GxNode : public GxElement {
public:
  // A container; with both flags requested it is an ARRAY.
  GxNode(const GxString &typeName, const GxString &name, bool structFlag, bool arrayFlag);
  // A STRUCT with this type name and an empty name.
  explicit GxNode(const GxString &typeName);
  // A STRUCT with empty type name and name.
  GxNode();

  bool addChild(GxElement *child) override { return link(child); }
  bool removeChild(GxElement *child) override { return unlink(child); }
  bool writeText(std::ostream &out, int level) const override;
  GxElement *clone() const override;

protected:
  ~GxNode() override = default; // released through destroy()
};

// A new, empty tree root: STRUCT "__root@@" named "instantiation".
GxNode *makeGxRoot();
