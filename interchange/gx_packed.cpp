#include "interchange/gx_packed.h"

#include <algorithm>
#include <cstring>

GxIntList::GxIntList(const char *name) : GxNode("integer", name, false, true) { setItemsPending(); }

void GxIntList::makeItems() {
  std::vector<int32_t> values;
  values.swap(values_);
  for (int32_t value : values)
    addInt(*this, "", value);
}

GxVec3List::GxVec3List(const char *typeName, const char *name, Items items)
    : GxNode(typeName, name, false, true), items_(items) {
  setItemsPending();
}

void GxVec3List::makeItems() {
  std::vector<float> values;
  values.swap(values_);
  for (size_t i = 0; i + 2 < values.size(); i += 3) {
    if (items_ == kLeaves) {
      addVec3(*this, "", values[i], values[i + 1], values[i + 2]);
    } else {
      GxNode *item = addNode(*this, "vertex", "");
      addVec3(*item, "coord", values[i], values[i + 1], values[i + 2]);
    }
  }
}

GxUvList::GxUvList(const char *itemTypeName, const char *itemName)
    : GxNode("uv-array", "uv-array", false, true), itemTypeName_(itemTypeName),
      itemName_(itemName) {
  setItemsPending();
}

void GxUvList::makeItems() {
  std::vector<float> values;
  values.swap(values_);
  for (size_t i = 0; i + 1 < values.size(); i += 2)
    addUv(*this, values[i], values[i + 1], itemTypeName_.c_str(), itemName_.c_str());
}

GxFaceList::GxFaceList(std::vector<const char *> listNames)
    : GxNode("face", "faces", false, true), names_(std::move(listNames)) {
  names_.resize(std::min<size_t>(names_.size(), kMaxLists));
  setItemsPending();
}

void GxFaceList::start(int32_t n, uint8_t lists) {
  Face &face = faces_.emplace_back(); // filled in place: a copy through the stack stalls
  face.offset = uint32_t(values_.size());
  face.corners = n;
  face.lists = lists;
}

void GxFaceList::push(const int32_t *values, int32_t n, uint8_t lists) {
  start(n, lists);
  int present = 0;
  for (size_t k = 0; k < names_.size(); ++k)
    present += (lists >> k) & 1;
  values_.insert(values_.end(), values, values + size_t(n) * size_t(present));
}

int GxFaceList::listIndex(const char *name) const {
  for (size_t k = 0; k < names_.size(); ++k)
    if (std::strcmp(names_[k], name) == 0)
      return int(k);
  return -1;
}

const int32_t *GxFaceList::list(int32_t face, int k) const {
  const Face &f = faces_[size_t(face)];
  if (k < 0 || size_t(k) >= names_.size() || ((f.lists >> k) & 1) == 0)
    return nullptr;
  const int32_t *at = values_.data() + f.offset;
  for (int j = 0; j < k; ++j)
    at += ((f.lists >> j) & 1) * f.corners;
  return at;
}

void GxFaceList::makeItems() {
  std::vector<Face> faces;
  faces.swap(faces_);
  for (size_t f = 0; f < faces.size(); ++f) {
    GxNode *item = addNode(*this, "face", "");
    const int32_t *at = values_.data() + faces[f].offset;
    for (size_t k = 0; k < names_.size(); ++k) {
      if (((faces[f].lists >> k) & 1) == 0)
        continue;
      auto *list = new GxIntList(names_[k]);
      item->addChild(list);
      for (int32_t c = 0; c < faces[f].corners; ++c)
        list->push(*at++);
    }
  }
  values_.clear();
  values_.shrink_to_fit();
}

bool gxLeafVec3At(const GxElement &list, int32_t index, float out[3]) {
  if (auto *vec3 = dynamic_cast<const GxVec3List *>(&list); vec3 && vec3->packed()) {
    const std::vector<float> &values = *vec3->packed();
    if (!vec3->leaves() || index < 0 || size_t(index) >= values.size() / 3)
      return false;
    std::copy_n(values.begin() + 3 * index, 3, out);
    return true;
  }
  const std::vector<float> *values = floatValues(list.childAt(index));
  if (!values || values->size() < 3)
    return false;
  std::copy_n(values->begin(), 3, out);
  return true;
}

bool gxUvAt(const GxElement &list, int32_t index, float &u, float &v) {
  if (auto *uvs = dynamic_cast<const GxUvList *>(&list); uvs && uvs->packed()) {
    const std::vector<float> &values = *uvs->packed();
    if (index < 0 || size_t(index) >= values.size() / 2)
      return false;
    u = values[size_t(2 * index)];
    v = values[size_t(2 * index + 1)];
    return true;
  }
  const GxElement *item = list.childAt(index);
  return item && uvOf(*item, u, v);
}
