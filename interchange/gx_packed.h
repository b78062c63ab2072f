// Bulk lists of the interchange tree. A large mesh gives an index list per face and an item per
// vertex, normal, colour and texture coordinate; these lists keep their items as plain numbers
// instead of one element each. To every reader of the tree they are the same ARRAY containers
// of the same items: the item elements are made, once, the first time a child is asked for (or
// one is added or removed), and from then on the list is an ordinary container. Producers and
// consumers that know the lists (the OBJ reader and writer, the converters) fill and read the
// numbers directly; the accessors below read either form.
#pragma once

#include "interchange/gx_build.h"

#include <cstdint>
#include <vector>

// An index list: ("integer", name, ARRAY) of "integer" leaves.
class GxIntList : public GxNode {
public:
  explicit GxIntList(const char *name);
  void push(int32_t value) { values_.push_back(value); }
  // The values while the leaves are not made yet, else null.
  const std::vector<int32_t> *packed() const { return itemsPending() ? &values_ : nullptr; }

protected:
  ~GxIntList() override = default; // released through destroy()
  void makeItems() override;
  int32_t pendingItemCount() const override { return int32_t(values_.size()); }

private:
  std::vector<int32_t> values_;
};

// A list of three-value items: either "vec3f" leaves named itemName (normals, colours), or
// vertex items ("vertex", empty name, STRUCT) each holding a "vec3f" leaf "coord".
class GxVec3List : public GxNode {
public:
  enum Items : uint8_t { kLeaves, kVertexItems };
  GxVec3List(const char *typeName, const char *name, Items items);
  void push(float x, float y, float z) { values_.insert(values_.end(), {x, y, z}); }
  // Three values per item while the items are not made yet, else null.
  const std::vector<float> *packed() const { return itemsPending() ? &values_ : nullptr; }
  bool leaves() const { return items_ == kLeaves; }

protected:
  ~GxVec3List() override = default; // released through destroy()
  void makeItems() override;
  int32_t pendingItemCount() const override { return int32_t(values_.size() / 3); }

private:
  Items items_;
  std::vector<float> values_;
};

// A texture coordinate list: ("uv-array", "uv-array", ARRAY) of coordinate items with the given
// type name and name, each holding ("float", "uv", ARRAY) with the "float" leaves u and v.
class GxUvList : public GxNode {
public:
  GxUvList(const char *itemTypeName, const char *itemName);
  void push(float u, float v) { values_.insert(values_.end(), {u, v}); }
  const std::vector<float> *packed() const { return itemsPending() ? &values_ : nullptr; }

protected:
  ~GxUvList() override = default; // released through destroy()
  void makeItems() override;
  int32_t pendingItemCount() const override { return int32_t(values_.size() / 2); }

private:
  GxString itemTypeName_, itemName_;
  std::vector<float> values_;
};

// A face list: ("face", "faces", ARRAY) of face items ("face", empty name, STRUCT), each holding
// some of the index lists named at construction (at most four, in that order), all with one
// value per corner of the face.
class GxFaceList : public GxNode {
public:
  static constexpr int kMaxLists = 4;
  explicit GxFaceList(std::vector<const char *> listNames);
  // Appends a face item of n corners holding the lists whose bit is set in `lists` (bit k for
  // list name k); values gives n values for each of them, list after list.
  void push(const int32_t *values, int32_t n, uint8_t lists);
  // Starts a face of n corners holding the lists of `lists`; its values follow with add().
  void start(int32_t n, uint8_t lists);
  void add(int32_t value) { values_.push_back(value); }
  bool pending() const { return itemsPending(); }
  int32_t faceCount() const { return int32_t(faces_.size()); }
  int32_t corners(int32_t face) const { return faces_[size_t(face)].corners; }
  // The values of list k of a face, or null when the face does not hold it.
  const int32_t *list(int32_t face, int k) const;
  // The position of a list name among those given at construction, or -1.
  int listIndex(const char *name) const;

protected:
  ~GxFaceList() override = default; // released through destroy()
  void makeItems() override;
  int32_t pendingItemCount() const override { return faceCount(); }

private:
  struct Face {
    uint32_t offset;
    int32_t corners;
    uint8_t lists;
  };
  std::vector<const char *> names_; // the producer's literals
  std::vector<Face> faces_;
  std::vector<int32_t> values_;
};

// A bulk list added to parent; returns the list.
template <class List> List *addList(GxElement &parent, List *list) {
  parent.addChild(list);
  return list;
}

// Readers of lists in either form (intValues of gx_build.h reads index lists in either form).

// The first three values of item `index` of a list of "vec3f" leaves; false when there is no
// such item or it is not a leaf of three or more values.
bool gxLeafVec3At(const GxElement &list, int32_t index, float out[3]);
// u and v of item `index` of a texture coordinate list; false when it holds no pair.
bool gxUvAt(const GxElement &list, int32_t index, float &u, float &v);

// Calls visit(coord, xyz) for every item of a vertex list: coord is the item's first member
// named "coord" (null in a packed list, whose items share nothing), xyz its first three values
// or null when it has fewer.
template <class Visit> void gxForEachVertexCoord(const GxElement &vertices, Visit visit) {
  if (auto *list = dynamic_cast<const GxVec3List *>(&vertices); list && list->packed()) {
    const std::vector<float> &xyz = *list->packed();
    for (size_t i = 0; i + 2 < xyz.size(); i += 3)
      visit(static_cast<const GxElement *>(nullptr), &xyz[i]);
    return;
  }
  for (const GxElement *item : vertices.children()) {
    const GxElement *coord = item->findChild("coord");
    auto *leaf = dynamic_cast<const GxFloatArrayProperty *>(coord);
    visit(coord, leaf && leaf->count() >= 3 ? leaf->values().data() : nullptr);
  }
}

// One index list of a face as a consumer sees it.
struct GxIndexSpan {
  const int32_t *data = nullptr;
  size_t size = 0;
  bool present = false;
};

// Calls visit(spans) for every item of a face list, with spans[k] the values of its first
// member named names[k] (count names, at most GxFaceList::kMaxLists).
template <class Visit>
void gxForEachFace(const GxElement &faces, const char *const *names, int count, Visit visit) {
  GxIndexSpan spans[GxFaceList::kMaxLists];
  if (auto *list = dynamic_cast<const GxFaceList *>(&faces); list && list->pending()) {
    int slot[GxFaceList::kMaxLists];
    for (int k = 0; k < count; ++k)
      slot[k] = list->listIndex(names[k]);
    for (int32_t f = 0; f < list->faceCount(); ++f) {
      for (int k = 0; k < count; ++k) {
        const int32_t *values = slot[k] < 0 ? nullptr : list->list(f, slot[k]);
        spans[k] = {values, values ? size_t(list->corners(f)) : 0, values != nullptr};
      }
      visit(static_cast<const GxIndexSpan *>(spans));
    }
    return;
  }
  std::vector<int32_t> scratch[GxFaceList::kMaxLists];
  for (const GxElement *face : faces.children()) {
    for (int k = 0; k < count; ++k) {
      const GxElement *member = face->findChild(names[k]);
      scratch[k].clear();
      if (member)
        intValues(*member, scratch[k]);
      spans[k] = {scratch[k].data(), scratch[k].size(), member != nullptr};
    }
    visit(static_cast<const GxIndexSpan *>(spans));
  }
}
