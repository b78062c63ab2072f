#include "interchange/gx_build.h"

#include "interchange/gx_packed.h"

GxNode *addNode(GxElement &parent, const char *typeName, const char *name, bool array) {
  auto *node = new GxNode(typeName, name, !array, array);
  parent.addChild(node);
  return node;
}

void addString(GxElement &parent, const char *name, const std::string &value) {
  parent.addChild(new GxStringProperty("string", name, value));
}

void addVec3(GxElement &parent, const char *name, float x, float y, float z) {
  parent.addChild(new GxFloatArrayProperty("vec3f", name, {x, y, z}));
}

void addFloat(GxElement &parent, const char *name, float value) {
  parent.addChild(new GxFloatProperty("float", name, value));
}

void addInt(GxElement &parent, const char *name, int32_t value) {
  parent.addChild(new GxIntProperty("integer", name, value));
}

void addUv(GxElement &list, float u, float v, const char *itemTypeName, const char *itemName) {
  GxNode *item = addNode(list, itemTypeName, itemName);
  GxNode *pair = addNode(*item, "float", "uv", true);
  addFloat(*pair, "", u);
  addFloat(*pair, "", v);
}

const GxString *stringMember(const GxElement &parent, const char *name) {
  for (const GxElement *child : parent.children())
    if (child->name() == name)
      if (auto *s = dynamic_cast<const GxStringProperty *>(child))
        return &s->value();
  return nullptr;
}

const std::vector<float> *floatValues(const GxElement *e) {
  auto *floats = dynamic_cast<const GxFloatArrayProperty *>(e);
  return floats ? &floats->values() : nullptr;
}

void intValues(const GxElement &list, std::vector<int32_t> &out) {
  if (auto *ints = dynamic_cast<const GxIntList *>(&list); ints && ints->packed()) {
    out = *ints->packed();
    return;
  }
  out.clear();
  for (const GxElement *child : list.children())
    if (auto *i = dynamic_cast<const GxIntProperty *>(child))
      out.push_back(i->value());
}

bool uvOf(const GxElement &item, float &u, float &v) {
  if (item.children().empty())
    return false;
  const GxElement *pair = item.children().front();
  auto *first = dynamic_cast<const GxFloatProperty *>(pair->childAt(0));
  auto *second = dynamic_cast<const GxFloatProperty *>(pair->childAt(1));
  if (!first || !second)
    return false;
  u = first->value();
  v = second->value();
  return true;
}
