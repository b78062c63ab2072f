#include "interchange/gx_element.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <ostream>

namespace {

// Blocks of a few size classes cut from large chunks; freed blocks form one list per class.
class ElementPool {
public:
  void *allocate(size_t size) {
    const size_t cls = (size + kGrain - 1) / kGrain;
    ++live_;
    if (FreeBlock *block = free_[cls]) {
      free_[cls] = block->next;
      return block;
    }
    const size_t bytes = cls * kGrain;
    if (chunks_.empty() || used_ + bytes > kChunkBytes) {
      chunks_.emplace_back(new char[kChunkBytes]);
      used_ = 0;
    }
    void *p = chunks_.back().get() + used_;
    used_ += bytes;
    return p;
  }
  void release(void *p, size_t size) {
    const size_t cls = (size + kGrain - 1) / kGrain;
    free_[cls] = new (p) FreeBlock{free_[cls]};
    if (--live_ == 0) { // nothing is in use: give every chunk back
      chunks_.clear();
      std::fill(std::begin(free_), std::end(free_), nullptr);
    }
  }
  static constexpr size_t kMaxBlock = 512;

private:
  struct FreeBlock {
    FreeBlock *next;
  };
  static constexpr size_t kGrain = 16;
  static constexpr size_t kChunkBytes = size_t(1) << 20;
  FreeBlock *free_[kMaxBlock / kGrain + 1] = {};
  std::vector<std::unique_ptr<char[]>> chunks_;
  size_t used_ = 0, live_ = 0;
};

thread_local ElementPool pool;

} // namespace

// Under AddressSanitizer every element has memory of its own, so that a use after release is
// still caught.
#if defined(__SANITIZE_ADDRESS__)
#define MORVO_GX_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVO_GX_POOL 0
#endif
#endif
#ifndef MORVO_GX_POOL
#define MORVO_GX_POOL 1
#endif

void *GxElement::operator new(size_t size) {
  if (MORVO_GX_POOL && size <= ElementPool::kMaxBlock)
    return pool.allocate(size);
  return ::operator new(size);
}

void GxElement::operator delete(void *p, size_t size) {
  if (MORVO_GX_POOL && size <= ElementPool::kMaxBlock)
    pool.release(p, size);
  else
    ::operator delete(p);
}

void GxRefs::push_back(GxElement *e) {
  if (size_ == capacity_) {
    auto *grown = new GxElement *[size_t(capacity_) * 2];
    std::copy(begin(), end(), grown);
    if (data_ != &inline_)
      delete[] data_;
    data_ = grown;
    capacity_ *= 2;
  }
  data_[size_++] = e;
}

void GxRefs::removeFirst(const GxElement *e) {
  GxElement **at = std::find(data_, data_ + size_, e);
  if (at != data_ + size_)
    size_ = uint32_t(std::copy(at + 1, data_ + size_, at) - data_);
}

void GxRefs::removeAll(const GxElement *e) {
  size_ = uint32_t(std::remove(data_, data_ + size_, e) - data_);
}

bool GxElement::addChild(GxElement *) { return false; }
bool GxElement::removeChild(GxElement *) { return false; }

void GxElement::expandItems() {
  itemsPending_ = false;
  makeItems();
}

bool GxElement::link(GxElement *child) {
  if (child == nullptr)
    return false;
  ensureItems();
  children_.push_back(child);
  child->holders_.push_back(this);
  if (child->parents_.contains(this))
    return false;
  child->parents_.push_back(this);
  return true;
}

bool GxElement::unlink(GxElement *child) {
  ensureItems();
  const auto at = std::find(children_.begin(), children_.end(), child);
  if (at == children_.end())
    return false;
  child->parents_.removeAll(this);
  child->holders_.removeFirst(this);
  children_.erase(at);
  return true;
}

GxElement *GxElement::childAt(int32_t index) const {
  return index < 0 || index >= childCount() ? nullptr : children()[size_t(index)];
}

GxElement *GxElement::findChild(const char *name) const {
  for (GxElement *child : children())
    if (child->name_ == name)
      return child;
  return nullptr;
}

GxElement *GxElement::findChildOfType(const char *typeName) const {
  for (GxElement *child : children())
    if (child->typeName_ == typeName)
      return child;
  return nullptr;
}

void GxElement::destroy() {
  // Unlink this element from containers that still hold it.
  while (!holders_.empty())
    holders_.front()->unlink(this);

  // Everything reachable from here is released, except elements also held from outside the
  // released set (and what they hold only through them). Elements of the set carry this pass's
  // number; an element kept after all loses it and lets go of its children's inside holds.
  static uint64_t passes = 0;
  const uint64_t pass = ++passes;
  std::vector<GxElement *> reached{this};
  releasePass_ = pass;
  for (size_t i = 0; i < reached.size(); ++i)
    for (GxElement *child : reached[i]->children_)
      if (child->releasePass_ != pass) {
        child->releasePass_ = pass;
        child->heldInside_ = 0;
        reached.push_back(child);
      }
  for (GxElement *e : reached)
    for (GxElement *child : e->children_)
      ++child->heldInside_;
  std::vector<GxElement *> kept;
  for (GxElement *e : reached)
    if (e != this && e->heldInside_ < e->holders_.size())
      kept.push_back(e);
  while (!kept.empty()) {
    GxElement *e = kept.back();
    kept.pop_back();
    if (e->releasePass_ != pass)
      continue; // already kept
    e->releasePass_ = 0;
    for (GxElement *child : e->children_)
      if (child->releasePass_ == pass && --child->heldInside_ < child->holders_.size() &&
          child != this)
        kept.push_back(child);
  }
  // Survivors forget the released containers; then nothing released is referenced from outside.
  for (GxElement *e : reached) {
    if (e->releasePass_ != pass)
      continue;
    for (GxElement *child : e->children_)
      if (child->releasePass_ != pass) {
        child->parents_.removeAll(e);
        child->holders_.removeAll(e);
      }
  }
  for (GxElement *e : reached)
    if (e->releasePass_ == pass)
      delete e;
}

void GxElement::indent(std::ostream &out, int level) {
  for (int i = 0; i < level; ++i)
    out << "  ";
}

namespace {

uint8_t containerFlags(bool structFlag, bool arrayFlag) {
  if (arrayFlag)
    return kGxArray;
  return structFlag ? kGxStruct : 0;
}

} // namespace

GxNode::GxNode(const GxString &typeName, const GxString &name, bool structFlag, bool arrayFlag)
    : GxElement(containerFlags(structFlag, arrayFlag)) {
  setTypeName(typeName);
  setName(name);
}

GxNode::GxNode(const GxString &typeName) : GxElement(kGxStruct) { setTypeName(typeName); }

GxNode::GxNode() : GxElement(kGxStruct) {}

bool GxNode::writeText(std::ostream &out, int level) const {
  if (typeName() == kGxRootTypeName) {
    for (const GxElement *child : children()) {
      child->writeText(out, level);
      out << '\n';
    }
    return out.good();
  }
  indent(out, level);
  if (level == 0)
    out << typeName() << ' ' << name();
  else if (parents().empty() || !parents().front()->isArray())
    out << name();
  out << (isStruct() ? " (\n" : "[] <\n");
  for (const GxElement *child : children()) {
    child->writeText(out, level + 1);
    out << '\n';
  }
  indent(out, level);
  if (isStruct())
    out << ')';
  else if (isArray())
    out << '>';
  else
    out << '\n';
  return out.good();
}

GxElement *GxNode::clone() const {
  auto *copy = new GxNode(typeName(), name(), isStruct(), isArray());
  GxPtr owner(copy);
  for (const GxElement *child : children()) {
    GxPtr item(child->clone());
    copy->addChild(item.get());
    item.release();
  }
  return owner.release();
}

GxNode *makeGxRoot() { return new GxNode(kGxRootTypeName, "instantiation", true, false); }
