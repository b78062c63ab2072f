#include "scene/object_delta.h"

#include <cstring>

namespace {

bool same(const moVertex &a, const moVertex &b) {
  return std::memcmp(&a.Coordinates, &b.Coordinates, sizeof(moVec3)) == 0 &&
         a.EdgeIndex == b.EdgeIndex;
}
bool same(const moFace &a, const moFace &b) { return a.EdgeIndex == b.EdgeIndex; }
bool same(int32_t a, int32_t b) { return a == b; }
bool same(const moEdge &a, const moEdge &b) {
  return a.Head == b.Head && a.Tail == b.Tail && a.LeftFace == b.LeftFace &&
         a.RightFace == b.RightFace && a.BackWing == b.BackWing && a.ForeWing == b.ForeWing &&
         a.ccwBackWing == b.ccwBackWing && a.ccwForeWing == b.ccwForeWing &&
         a.rightColor == b.rightColor && a.leftColor == b.leftColor && a.hard == b.hard;
}

// FNV-1a over 32-bit words, field by field (never over padding).
struct Fingerprint {
  uint64_t h = 14695981039346656037ull;
  void word(uint32_t w) { h = (h ^ w) * 1099511628211ull; }
  void word(int32_t w) { word(uint32_t(w)); }
  void word(float f) {
    uint32_t w;
    std::memcpy(&w, &f, sizeof w);
    word(w);
  }
  void word(moColor c) {
    word(uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16 | uint32_t(c.a) << 24);
  }
  void element(const moVertex &v) {
    word(v.Coordinates.x), word(v.Coordinates.y), word(v.Coordinates.z), word(v.EdgeIndex);
  }
  void element(const moFace &f) { word(f.EdgeIndex); }
  void element(int32_t i) { word(i); }
  void element(const moEdge &e) {
    word(e.Head), word(e.Tail), word(e.LeftFace), word(e.RightFace), word(e.BackWing);
    word(e.ForeWing), word(e.ccwBackWing), word(e.ccwForeWing), word(e.rightColor);
    word(e.leftColor), word(uint32_t(e.hard));
  }
  template <class T> void array(const moArray<T> &a) {
    word(a.count());
    for (const T &item : a)
      element(item);
  }
};

template <class T, class V> void diff(const moArray<T> &before, const moArray<T> &after, V &out) {
  out.count = before.count();
  const int32_t common = std::min(before.count(), after.count());
  for (int32_t i = 0; i < common; ++i)
    if (!same(before[i], after[i])) {
      out.indices.push_back(i);
      out.values.push_back(before[i]);
    }
  for (int32_t i = common; i < std::max(before.count(), after.count()); ++i) {
    out.indices.push_back(i);
    out.values.push_back(i < before.count() ? before[i] : T{});
  }
}

template <class T, class V> void exchangeValues(moArray<T> &array, V &kept) {
  const int32_t count = array.count();
  while (array.count() < kept.count)
    array.append(T{});
  for (size_t k = 0; k < kept.indices.size(); ++k)
    std::swap(array[kept.indices[k]], kept.values[k]);
  array.truncate(kept.count);
  kept.count = count;
}

template <class V> size_t valueBytes(const V &v) {
  return v.indices.size() * sizeof(int32_t) +
         v.values.size() * sizeof(typename decltype(v.values)::value_type);
}

} // namespace

uint64_t objectFingerprint(const moObject &o) {
  Fingerprint f;
  f.array(o.edges), f.array(o.faces), f.array(o.vertices);
  f.array(o.triangleVertices), f.array(o.triangleFaces);
  f.word(uint32_t(o.visible) | uint32_t(o.sensitive) << 8 | uint32_t(o.shaded) << 16 |
         uint32_t(o.showTexture) << 24);
  for (char c : o.name)
    f.word(uint32_t(uint8_t(c)));
  for (const float *v :
       {o.material.emission, o.material.aux, o.material.diffuse, o.material.specular})
    for (int k = 0; k < 4; ++k)
      f.word(v[k]);
  f.word(o.material.shininess), f.word(o.material.creaseAngle);
  f.word(uint32_t(reinterpret_cast<uintptr_t>(o.ownerGroup)));
  return f.h;
}

std::unique_ptr<ObjectDelta> ObjectDelta::between(const moObject &before, const moObject &after) {
  if (before.paintLayer || after.paintLayer)
    return nullptr;
  auto d = std::make_unique<ObjectDelta>();
  diff(before.edges, after.edges, d->edges_);
  diff(before.faces, after.faces, d->faces_);
  diff(before.vertices, after.vertices, d->vertices_);
  diff(before.triangleVertices, after.triangleVertices, d->triangleVertices_);
  diff(before.triangleFaces, after.triangleFaces, d->triangleFaces_);
  d->visible_ = before.visible, d->sensitive_ = before.sensitive, d->shaded_ = before.shaded,
  d->showTexture_ = before.showTexture;
  d->name_ = before.name;
  d->material_ = before.material;
  d->ownerGroup_ = before.ownerGroup;
  d->from_ = objectFingerprint(after);
  d->to_ = objectFingerprint(before);
  const size_t copy = size_t(before.edges.count()) * sizeof(moEdge) +
                      size_t(before.faces.count()) * sizeof(moFace) +
                      size_t(before.vertices.count()) * sizeof(moVertex);
  if (d->bytes() >= copy)
    return nullptr;
  return d;
}

bool ObjectDelta::fits(const moObject &o) const {
  return !o.paintLayer && objectFingerprint(o) == from_;
}

void ObjectDelta::exchange(moObject &o) {
  exchangeValues(o.edges, edges_);
  exchangeValues(o.faces, faces_);
  exchangeValues(o.vertices, vertices_);
  exchangeValues(o.triangleVertices, triangleVertices_);
  exchangeValues(o.triangleFaces, triangleFaces_);
  std::swap(o.visible, visible_), std::swap(o.sensitive, sensitive_);
  std::swap(o.shaded, shaded_), std::swap(o.showTexture, showTexture_);
  std::swap(o.name, name_);
  std::swap(o.material, material_);
  std::swap(o.ownerGroup, ownerGroup_);
  std::swap(from_, to_);
}

size_t ObjectDelta::bytes() const {
  return sizeof(ObjectDelta) + valueBytes(edges_) + valueBytes(faces_) + valueBytes(vertices_) +
         valueBytes(triangleVertices_) + valueBytes(triangleFaces_) + name_.size();
}
