// Closing holes with new faces, and copying a subset of faces into an object of their own.
#include "core/mesh.h"
#include "core/mesh_validation.h"

#include <iostream>

// From hole edge e, arriving at v, turns around v to the next edge whose side leaving v has no
// face yet. Returns `first` when the loop closes there; -1 when the ring around v is broken.
int32_t moObject::nextHoleEdge(int32_t e, int32_t v, int32_t first) const {
  int32_t d = e;
  for (int32_t steps = 0; steps <= edges.count(); ++steps) {
    const moEdge &w = edgeAt(d);
    if (v != w.Head && v != w.Tail) {
      dumpEdge(std::cerr, w);
      std::cerr << v << std::endl;
      return -1;
    }
    if ((v == w.Head ? w.LeftFace : w.RightFace) == -1)
      return d;
    d = prevEdgeAtVertex(d, v);
    if (d == e || d == -1)
      return -1;
    if (d == first)
      return d;
  }
  return -1;
}

bool moObject::closeHoles() {
  for (int32_t i = 0; i < edges.count(); ++i) {
    if (!edges[i].active())
      continue;
    const bool leftMissing = edges[i].LeftFace == -1;
    if (!leftMissing && edges[i].RightFace != -1)
      continue;
    const int32_t f = appendFace();
    (leftMissing ? edges[i].LeftFace : edges[i].RightFace) = f;
    faces[f].EdgeIndex = i;
    int32_t v = leftMissing ? edges[i].Tail : edges[i].Head;
    int32_t e = i;
    // Every step links one more edge into f, so a simple loop closes within the edge count.
    for (int32_t steps = 0;; ++steps) {
      const int32_t d = nextHoleEdge(e, v, i);
      if (d == -1 || d == e || steps > edges.count())
        invalidTopology();
      if (d != i)
        (v == edges[d].Head ? edges[d].BackWing : edges[d].ForeWing) = -1;
      linkEdgeIntoFaceAndBack(d, v, -1, f, e);
      v = endVertex(d, f);
      e = d;
      if (d == i)
        break;
    }
  }
  return objectLocallyValid(*this, true);
}

void moObject::buildFromFaces(std::vector<int32_t> &faceList, const moObject &source) {
  std::cerr << "chipoff faces" << std::endl;
  std::vector<bool> listed(static_cast<size_t>(source.faces.count()));
  for (int32_t s : faceList) {
    if (!source.faces.contains(s) || !source.faces[s].active() || listed[s])
      invalidTopology();
    listed[s] = true;
  }
  reserve(source.edges.count(), static_cast<int32_t>(faceList.size()), source.vertices.count());
  for (int32_t e = 0; e < source.edges.count(); ++e)
    appendEdge();
  for (int32_t v = 0; v < source.vertices.count(); ++v)
    addVertex(0, 0, 0);
  for (int32_t &s : faceList) {
    const int32_t b = appendFace();
    faces[b].EdgeIndex = source.faces[s].EdgeIndex;
    source.forEachEdgeOfFace(s, true, [&](int32_t e) {
      moEdge &d = edges[e];
      if (!d.active()) {
        d = source.edges[e];
        d.LeftFace = d.LeftFace == s ? b : -1;
        d.RightFace = d.RightFace == s ? b : -1;
      } else {
        (d.LeftFace == -1 ? d.LeftFace : d.RightFace) = b;
      }
      const int32_t v = source.startVertex(e, s);
      if (!vertexAt(v).active()) {
        vertices[v] = source.vertices[v];
        vertices[v].EdgeIndex = e;
      }
    });
    s = b;
  }
  closeHoles();
  compact();
}
