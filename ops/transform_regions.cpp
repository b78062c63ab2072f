#include "ops/transform_regions.h"

#include "ops/transform_directions.h"

namespace {

// Entry index per element of each object, -1 for unselected elements.
class EntryIndex {
public:
  explicit EntryIndex(const Scene &scene) : scene_(scene) {
    for (int32_t i = 0; i < scene.selection.Count(); ++i) {
      const ElementRef ref = scene.selection.Get(i);
      if (!scene.elementExists(ref, scene.mode))
        continue;
      std::vector<int32_t> &slot = table(ref.object);
      if (slot[size_t(ref.element)] == -1)
        slot[size_t(ref.element)] = i;
    }
  }
  int32_t entryOf(int32_t slot, int32_t element) const {
    if (size_t(slot) >= entries_.size() || element < 0 ||
        size_t(element) >= entries_[size_t(slot)].size())
      return -1;
    return entries_[size_t(slot)][size_t(element)];
  }

private:
  std::vector<int32_t> &table(int32_t slot) {
    if (size_t(slot) >= entries_.size())
      entries_.resize(size_t(slot) + 1);
    std::vector<int32_t> &t = entries_[size_t(slot)];
    const moObject &obj = *scene_.object(slot);
    t.resize(size_t(scene_.mode == moEDGES ? obj.edges.count() : obj.faces.count()), -1);
    return t;
  }

  const Scene &scene_;
  std::vector<std::vector<int32_t>> entries_;
};

// Calls fn(element) for each selected element next to the given one, and tells through
// `boundary` whether the element borders an unselected one.
template <class Fn>
void neighbours(const Scene &scene, const EntryIndex &index, const moObject &obj, int32_t slot,
                int32_t element, bool &boundary, Fn fn) {
  const auto visit = [&](int32_t other) {
    if (index.entryOf(slot, other) != -1)
      fn(other);
  };
  boundary = false;
  if (scene.mode == moEDGES) {
    const moEdge &d = obj.edges[element];
    for (int32_t w : {d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing}) {
      if (index.entryOf(slot, w) == -1)
        boundary = true;
      visit(w);
    }
    return;
  }
  obj.forEachEdgeOfFace(element, false, [&](int32_t e) {
    if (index.entryOf(slot, obj.otherFace(e, element)) == -1)
      boundary = true;
    forEachFaceAtVertex(obj, obj.startVertex(e, element), [&](int32_t f, int32_t) { visit(f); });
  });
}

} // namespace

std::vector<RegionFrame> regionFrames(const Scene &scene) {
  const int32_t n = scene.selection.Count();
  std::vector<RegionFrame> frames(static_cast<size_t>(n));
  if (scene.mode != moEDGES && scene.mode != moFACES)
    return frames;
  const EntryIndex index(scene);
  std::vector<uint8_t> done(static_cast<size_t>(n));
  std::vector<int32_t> region, stack;
  for (int32_t i = 0; i < n; ++i) {
    const ElementRef start = scene.selection.Get(i);
    if (done[size_t(i)] || index.entryOf(start.object, start.element) != i)
      continue;
    const moObject &obj = *scene.object(start.object);
    region.clear();
    stack.assign(1, start.element);
    done[size_t(i)] = 1;
    PointAverage centre;
    moVec3 normal;
    while (!stack.empty()) {
      const int32_t element = stack.back();
      stack.pop_back();
      region.push_back(index.entryOf(start.object, element));
      bool boundary = false;
      neighbours(scene, index, obj, start.object, element, boundary, [&](int32_t other) {
        const int32_t entry = index.entryOf(start.object, other);
        if (!done[size_t(entry)]) {
          done[size_t(entry)] = 1;
          stack.push_back(other);
        }
      });
      const bool edges = scene.mode == moEDGES;
      if (boundary)
        centre.add(edges ? obj.edgeMidpoint(element) : obj.faceCentroid(element));
      normal = add(normal, edges ? obj.edgeNormal(element, true) : obj.faceNormal(element, true));
    }
    const RegionFrame frame{centre.count() ? centre.mean() : obj.objectCentroid(), unit(normal)};
    for (int32_t entry : region)
      frames[size_t(entry)] = frame;
  }
  // Repeated entries of one element share the frame of its first entry.
  for (int32_t i = 0; i < n; ++i) {
    const ElementRef ref = scene.selection.Get(i);
    const int32_t first = index.entryOf(ref.object, ref.element);
    if (first != -1 && first != i)
      frames[size_t(i)] = frames[size_t(first)];
  }
  return frames;
}
