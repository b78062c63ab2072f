#include "core/mesh.h"

#include <utility>

void moObject::flipOrientation() {
  for (moEdge &d : edges) {
    if (!d.active())
      continue;
    std::swap(d.LeftFace, d.RightFace);
    std::swap(d.ForeWing, d.ccwForeWing);
    std::swap(d.BackWing, d.ccwBackWing);
  }
  // Every edge still stores the colour of the corner it ended before the flip; around each
  // vertex that is one edge off, so each colour moves to the edge before it.
  for (int32_t v = 0; v < vertices.count(); ++v) {
    if (!vertices[v].active())
      continue;
    const int32_t last = nextEdgeAtVertex(vertices[v].EdgeIndex, v);
    moColor carried = storedColorAt(last, v);
    forEachEdgeAtVertex(v, [&](int32_t e) { std::swap(carried, storedColorAt(e, v)); });
  }
}

void moObject::mirror(const moVec3 &n, const moVec3 &q) {
  for (moVertex &v : vertices)
    if (v.active()) {
      const float d = 2.0f * dot(subtract(v.Coordinates, q), n);
      v.Coordinates = subtract(v.Coordinates, scale(d, n));
    }
  flipOrientation();
}

void moObject::deleteComponent(int32_t e) {
  std::vector<int32_t> work{e};
  while (!work.empty()) {
    const int32_t i = work.back();
    work.pop_back();
    if (!edges.contains(i) || !edges[i].active())
      continue;
    moEdge &d = edges[i];
    for (int32_t f : {d.LeftFace, d.RightFace})
      if (faces.contains(f))
        faces[f].EdgeIndex = -1;
    for (int32_t v : {d.Head, d.Tail})
      if (vertices.contains(v))
        vertices[v].EdgeIndex = -1;
    d.Head = -1;
    work.insert(work.end(), {d.ccwBackWing, d.ccwForeWing, d.BackWing, d.ForeWing});
  }
}
