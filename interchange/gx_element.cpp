#include "interchange/gx_element.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <unordered_map>
#include <unordered_set>

bool GxElement::addChild(GxElement *) { return false; }
bool GxElement::removeChild(GxElement *) { return false; }

bool GxElement::link(GxElement *child) {
  if (child == nullptr)
    return false;
  children_.push_back(child);
  child->holders_.push_back(this);
  if (std::find(child->parents_.begin(), child->parents_.end(), this) != child->parents_.end())
    return false;
  child->parents_.push_back(this);
  return true;
}

bool GxElement::unlink(GxElement *child) {
  const auto at = std::find(children_.begin(), children_.end(), child);
  if (at == children_.end())
    return false;
  auto &parents = child->parents_;
  parents.erase(std::remove(parents.begin(), parents.end(), this), parents.end());
  auto &holders = child->holders_;
  holders.erase(std::find(holders.begin(), holders.end(), this));
  children_.erase(at);
  return true;
}

GxElement *GxElement::childAt(int32_t index) const {
  const int32_t count = childCount();
  if (index < 0 || index >= count)
    return nullptr;
  if (count > 40 && index >= count / 2)
    return *std::prev(children_.end(), count - index);
  return *std::next(children_.begin(), index);
}

GxElement *GxElement::findChild(const char *name) const {
  for (GxElement *child : children_)
    if (child->name_ == name)
      return child;
  return nullptr;
}

GxElement *GxElement::findChildOfType(const char *typeName) const {
  for (GxElement *child : children_)
    if (child->typeName_ == typeName)
      return child;
  return nullptr;
}

void GxElement::destroy() {
  // Unlink this element from containers that still hold it.
  while (!holders_.empty())
    holders_.front()->unlink(this);

  // Everything reachable from here is released, except elements also held from outside the
  // released set (and what they hold). Drop such elements until the set is closed.
  std::unordered_set<GxElement *> released{this};
  std::vector<GxElement *> stack{this};
  while (!stack.empty()) {
    GxElement *e = stack.back();
    stack.pop_back();
    for (GxElement *child : e->children_)
      if (released.insert(child).second)
        stack.push_back(child);
  }
  for (bool changed = true; changed;) {
    changed = false;
    std::unordered_map<GxElement *, size_t> heldInside;
    for (GxElement *e : released)
      for (GxElement *child : e->children_)
        if (released.count(child) != 0)
          ++heldInside[child];
    for (auto it = released.begin(); it != released.end();) {
      GxElement *e = *it;
      if (e != this && heldInside[e] < e->holders_.size()) {
        it = released.erase(it);
        changed = true;
      } else {
        ++it;
      }
    }
  }
  // Survivors forget the released containers; then nothing released is referenced from outside.
  for (GxElement *e : released)
    for (GxElement *child : e->children_)
      if (released.count(child) == 0) {
        auto &parents = child->parents_;
        parents.erase(std::remove(parents.begin(), parents.end(), e), parents.end());
        auto &holders = child->holders_;
        holders.erase(std::remove(holders.begin(), holders.end(), e), holders.end());
      }
  for (GxElement *e : released)
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
