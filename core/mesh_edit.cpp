#include "core/mesh.h"

#include <algorithm>

int32_t moObject::makeEdge(int32_t from, int32_t to, bool forceNew) {
  vertexAt(from);
  vertexAt(to);
  if (!forceNew) {
    const int32_t found = findEdge(from, to);
    if (found != -1)
      return found;
  }
  const int32_t e = appendEdge();
  edges[e].Tail = from;
  edges[e].Head = to;
  for (int32_t v : {from, to})
    if (vertices[v].EdgeIndex == -1)
      vertices[v].EdgeIndex = e;
  return e;
}

int32_t moObject::linkNewFace(const int32_t *ring, const int32_t *start, int32_t n) {
  const int32_t f = appendFace();
  for (int32_t k = 0; k < n; ++k)
    linkEdgeIntoFace(ring[k], start[k], ring[(k + 1) % n], f, ring[(k + n - 1) % n]);
  faces[f].EdgeIndex = ring[0];
  if (n == 3)
    for (int32_t k = 0; k < 3; ++k)
      copyCornerColorsFromWings(ring[k]);
  return f;
}

int32_t moObject::makeFaceFromCorners(const int32_t *corners, int32_t n) {
  int32_t ring[4] = {-1, -1, -1, -1};
  for (int32_t k = 0; k < n; ++k)
    ring[k] = makeEdge(corners[k], corners[(k + 1) % n]);
  return linkNewFace(ring, corners, n);
}

int32_t moObject::makeFace(int32_t c0, int32_t c1, int32_t c2) {
  const int32_t corners[] = {c0, c1, c2};
  return makeFaceFromCorners(corners, 3);
}

int32_t moObject::makeFace(int32_t c0, int32_t c1, int32_t c2, int32_t c3) {
  const int32_t corners[] = {c0, c1, c2, c3};
  return makeFaceFromCorners(corners, 4);
}

int32_t moObject::makeFacePolygon(const int32_t *list, int32_t n, bool reversed) {
  if (n < 3)
    invalidTopology();
  const auto corner = [&](int32_t k) { return list ? list[k] : k; };
  for (int32_t k = 0; k < n; ++k)
    vertexAt(corner(k));
  const int32_t f = appendFace();
  std::vector<int32_t> ring(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    const int32_t neighbour = reversed ? (k + n - 1) % n : (k + 1) % n;
    ring[k] = makeEdge(corner(k), corner(neighbour));
  }
  for (int32_t k = 0; k < n; ++k) {
    const int32_t after = ring[(k + 1) % n], before = ring[(k + n - 1) % n];
    linkEdgeIntoFace(ring[k], corner(k), reversed ? before : after, f, reversed ? after : before);
  }
  faces[f].EdgeIndex = reversed ? ring[n - 1] : ring[0];
  return f;
}

int32_t moObject::makeFaceFromEdges(const int32_t *edgeList, const int32_t *starts, int32_t n) {
  if (n != 3 && n != 4)
    invalidTopology();
  int32_t start[4] = {-1, -1, -1, -1};
  for (int32_t k = 0; k < n; ++k) {
    edgeAt(edgeList[k]);
    start[k] = starts && starts[k] != -1 ? starts[k]
                                         : commonVertex(edgeList[k], edgeList[(k + n - 1) % n]);
  }
  return linkNewFace(edgeList, start, n);
}

void moObject::linkEdgeIntoFace(int32_t e, int32_t v, int32_t next, int32_t face, int32_t prev) {
  moEdge &d = checkedEdge(e);
  const bool right = v == d.Tail; // e leaves v along the face: the face is its RightFace
  if (!right && v != d.Head)
    invalidTopology();
  int32_t &nextField = right ? d.ForeWing : d.BackWing;
  int32_t &faceField = right ? d.RightFace : d.LeftFace;
  int32_t &prevField = right ? d.ccwBackWing : d.ccwForeWing;
  if (next != -1)
    nextField = next;
  if (face != -1) {
    if (faces.contains(faceField) && faces[faceField].EdgeIndex == e)
      faces[faceField].EdgeIndex = nextField != -1 ? nextField : prevField;
    faceField = face;
  }
  if (prev != -1)
    prevField = prev;
}

void moObject::linkBack(int32_t e, int32_t w, Wing which) {
  if (w == -1)
    return;
  int32_t *back = backLinkField(w, edges[e], which);
  if (!back)
    invalidTopology();
  *back = e;
}

void moObject::linkEdgeIntoFaceAndBack(int32_t e, int32_t v, int32_t next, int32_t face,
                                       int32_t prev) {
  linkEdgeIntoFace(e, v, next, face, prev);
  const bool right = v == edges[e].Tail;
  linkBack(e, next, right ? Wing::Fore : Wing::Back);
  linkBack(e, prev, right ? Wing::CcwBack : Wing::CcwFore);
}

void moObject::setWingAtVertex(int32_t e, int32_t v, int32_t w, bool ccw) {
  if (e == -1)
    invalidTopology();
  moEdge &d = checkedEdge(e);
  Wing which;
  if (v == d.Head) {
    (ccw ? d.ccwForeWing : d.ForeWing) = w;
    which = ccw ? Wing::CcwFore : Wing::Fore;
  } else if (v == d.Tail) {
    (ccw ? d.ccwBackWing : d.BackWing) = w;
    which = ccw ? Wing::CcwBack : Wing::Back;
  } else {
    invalidTopology();
  }
  linkBack(e, w, which);
}

void moObject::setPrevWingOfFace(int32_t e, int32_t f, int32_t w) {
  moEdge &d = checkedEdge(e);
  if (f == d.RightFace) {
    d.ccwBackWing = w;
    linkBack(e, w, Wing::CcwBack);
  } else if (f == d.LeftFace) {
    d.ccwForeWing = w;
    linkBack(e, w, Wing::CcwFore);
  } else {
    invalidTopology();
  }
}

void moObject::setAllWings(int32_t e, int32_t fore, int32_t back, int32_t ccwFore,
                           int32_t ccwBack) {
  moEdge &d = checkedEdge(e);
  d.ForeWing = fore != -1 ? fore : ccwFore;
  d.ccwForeWing = ccwFore != -1 ? ccwFore : fore;
  d.BackWing = back != -1 ? back : ccwBack;
  d.ccwBackWing = ccwBack != -1 ? ccwBack : back;
  linkBack(e, d.ForeWing, Wing::Fore);
  linkBack(e, d.ccwForeWing, Wing::CcwFore);
  linkBack(e, d.BackWing, Wing::Back);
  linkBack(e, d.ccwBackWing, Wing::CcwBack);
}

void moObject::setEdgeVertex(int32_t e, bool head, int32_t v, int32_t wing, int32_t ccwWing) {
  moEdge &d = checkedEdge(e);
  int32_t &end = head ? d.Head : d.Tail;
  int32_t &wingField = head ? d.ForeWing : d.BackWing;
  int32_t &ccwField = head ? d.ccwForeWing : d.ccwBackWing;
  if (vertices.contains(end) && vertices[end].EdgeIndex == e)
    vertices[end].EdgeIndex = wingField != -1 ? wingField : ccwField;
  end = v;
  if (wing != -1)
    wingField = wing;
  if (ccwWing != -1)
    ccwField = ccwWing;
  edgeEndsChanged(e);
}

void moObject::detachEdge(int32_t e) {
  const moEdge d = edgeAt(e);
  if (vertices.contains(d.Head) && vertices[d.Head].EdgeIndex == e)
    vertices[d.Head].EdgeIndex = d.ForeWing == e || d.ccwForeWing == e ? -1 : d.ForeWing;
  if (vertices.contains(d.Tail) && vertices[d.Tail].EdgeIndex == e)
    vertices[d.Tail].EdgeIndex = d.BackWing == e || d.ccwBackWing == e ? -1 : d.BackWing;
  // Each neighbour now skips e: what pointed at e points at e's partner wing at that end.
  const auto bypass = [&](int32_t w, int32_t replacement) {
    if (!edges.contains(w))
      return;
    moEdge &n = edges[w];
    for (int32_t *field : {&n.ForeWing, &n.BackWing, &n.ccwForeWing, &n.ccwBackWing})
      if (*field == e)
        *field = replacement;
  };
  bypass(d.ForeWing, d.ccwForeWing);
  bypass(d.ccwForeWing, d.ForeWing);
  bypass(d.BackWing, d.ccwBackWing);
  bypass(d.ccwBackWing, d.BackWing);
  edges[e].Head = -1;
}

void moObject::repairFaceReference(int32_t f, int32_t removed, int32_t preferA, int32_t preferB) {
  if (faceAt(f).EdgeIndex != removed)
    return;
  const auto usable = [&](int32_t e) { return edges.contains(e) && edges[e].active(); };
  if (usable(preferA)) {
    faces[f].EdgeIndex = preferA;
    return;
  }
  if (usable(preferB)) {
    faces[f].EdgeIndex = preferB;
    return;
  }
  int32_t e = removed;
  for (int32_t steps = 0; steps < edges.count(); ++steps) {
    const moEdge &d = edgeAt(e);
    e = f == d.RightFace ? d.ForeWing : f == d.LeftFace ? d.BackWing : -1;
    if (e == -1 || e == removed || !edges.contains(e))
      break;
    if (edges[e].active()) {
      faces[f].EdgeIndex = e;
      return;
    }
  }
  if (preferA == preferB)
    faces[f].EdgeIndex = -1;
}

void moObject::deleteVertex(int32_t v) {
  vertexAt(v);
  vertices[v].EdgeIndex = -1;
}

void moObject::deleteFace(int32_t f) {
  faceAt(f);
  faces[f].EdgeIndex = -1;
}
