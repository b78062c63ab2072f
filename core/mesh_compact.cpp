#include "core/mesh.h"

#include <algorithm>

namespace {

// The two-pointer scheme shared by all three arrays: walking down from the last slot, each
// active slot moves into the lowest hole until no hole lies below it. move(from, to) copies
// slot `from` into hole `to`. Returns the new count.
template <class Active, class Move> int32_t compactSlots(int32_t count, Active active, Move move) {
  int32_t i = -1;
  for (int32_t j = count - 1; j > i; --j) {
    if (active(j)) {
      do
        ++i;
      while (i < j && active(i));
      if (i >= j)
        return j + 1;
      move(j, i);
    }
    count = j; // slot j was the last one
  }
  return count;
}

// Compacts an array of vertices or faces; returns the map from old to new index (unmoved slots
// map to themselves), empty when every slot is active and nothing moves.
template <class T> std::vector<int32_t> compactElements(moArray<T> &items) {
  if (std::all_of(items.begin(), items.end(), [](const T &item) { return item.active(); }))
    return {};
  std::vector<int32_t> map(static_cast<size_t>(items.count()));
  for (int32_t k = 0; k < items.count(); ++k)
    map[k] = k;
  items.truncate(compactSlots(
      items.count(), [&](int32_t j) { return items[j].active(); },
      [&](int32_t from, int32_t to) {
        items[to] = items[from];
        map[from] = to;
      }));
  return map;
}

int32_t remapped(const std::vector<int32_t> &map, int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(map.size()) ? map[index] : index;
}

} // namespace

int32_t *moObject::backLinkField(int32_t w, const moEdge &d, Wing which) {
  if (!edges.contains(w))
    return nullptr;
  moEdge &W = edges[w];
  const bool atHead = which == Wing::Fore || which == Wing::CcwFore;
  const int32_t shared = atHead ? d.Head : d.Tail;
  const bool wingHead = W.Head == shared;
  if (!wingHead && W.Tail != shared)
    return nullptr;
  switch (which) {
  case Wing::Fore:
  case Wing::Back:
    return wingHead ? &W.ccwForeWing : &W.ccwBackWing;
  case Wing::CcwFore:
  case Wing::CcwBack:
    return wingHead ? &W.ForeWing : &W.BackWing;
  }
  return nullptr;
}

void moObject::compact() {
  edgeLookup_.reset();
  const auto moveEdge = [&](int32_t from, int32_t to) {
    edges[to] = edges[from];
    moEdge &d = edges[to];
    for (int32_t v : {d.Head, d.Tail})
      if (vertices.contains(v) && vertices[v].EdgeIndex == from)
        vertices[v].EdgeIndex = to;
    for (int32_t f : {d.LeftFace, d.RightFace})
      if (faces.contains(f) && faces[f].EdgeIndex == from)
        faces[f].EdgeIndex = to;
    const std::pair<int32_t *, Wing> wings[] = {{&d.ForeWing, Wing::Fore},
                                                {&d.ccwForeWing, Wing::CcwFore},
                                                {&d.ccwBackWing, Wing::CcwBack},
                                                {&d.BackWing, Wing::Back}};
    for (const auto &[wing, which] : wings) {
      if (*wing == from) // an edge that is its own wing follows itself
        *wing = to;
      if (int32_t *back = backLinkField(*wing, d, which); back && *back == from)
        *back = to;
    }
  };
  edges.truncate(compactSlots(
      edges.count(), [&](int32_t j) { return edges[j].active(); }, moveEdge));

  const std::vector<int32_t> vertexMap = compactElements(vertices);
  if (!vertexMap.empty()) {
    for (moEdge &d : edges) {
      d.Head = remapped(vertexMap, d.Head);
      d.Tail = remapped(vertexMap, d.Tail);
    }
    for (int32_t &v : triangleVertices)
      v = remapped(vertexMap, v);
  }

  const std::vector<int32_t> faceMap = compactElements(faces);
  if (!faceMap.empty()) {
    for (moEdge &d : edges) {
      d.LeftFace = remapped(faceMap, d.LeftFace);
      d.RightFace = remapped(faceMap, d.RightFace);
    }
    for (int32_t &f : triangleFaces)
      f = remapped(faceMap, f);
  }
}
