#include "core/mesh.h"

#include <cassert>
#include <limits>

bool moObject::linearEdgeSearch = false;

moObject::moObject(const char *objectName, moGroupNode *owner)
    : ownerGroup(owner), name(objectName ? objectName : kDefaultObjectName) {}

moObject::moObject(const moObject &source) : moObject(source, nullptr) {}

moObject::moObject(const moObject &source, const char *newName)
    : ownerGroup(source.ownerGroup), edges(source.edges), faces(source.faces),
      vertices(source.vertices), triangleVertices(source.triangleVertices),
      triangleFaces(source.triangleFaces), visible(source.visible), sensitive(source.sensitive),
      shaded(source.shaded), showTexture(source.showTexture), name(newName ? newName : source.name),
      material(source.material),
      paintLayer(source.paintLayer ? source.paintLayer->clone() : nullptr) {}

moObject &moObject::operator=(const moObject &source) {
  if (this != &source)
    *this = moObject(source);
  return *this;
}

void moObject::clear(bool releaseStorage) {
  edgeLookup_.reset();
  edges.clear(releaseStorage);
  faces.clear(releaseStorage);
  vertices.clear(releaseStorage);
  triangleVertices.clear(releaseStorage);
  triangleFaces.clear(releaseStorage);
}

void moObject::reserve(int32_t edgeCount, int32_t faceCount, int32_t vertexCount) {
  clear(true);
  edges.reserve(edgeCount);
  faces.reserve(faceCount);
  vertices.reserve(vertexCount);
}

int32_t moObject::addVertex(float x, float y, float z) {
  if (vertices.count() == std::numeric_limits<int32_t>::max())
    throw moTooManyVerticesException();
  moVertex v;
  v.Coordinates = {x, y, z};
  return vertices.append(v);
}

int32_t moObject::appendEdge() {
  if (edges.count() == std::numeric_limits<int32_t>::max())
    throw moTooManyEdgesException();
  return edges.append(moEdge());
}

int32_t moObject::appendFace() {
  if (faces.count() >= kMaxFaceSlots)
    throw moTooManyFacesException();
  return faces.append(moFace());
}

void moObject::invalidTopology() { throw moInvalidTopologyException(); }

const moEdge &moObject::edgeAt(int32_t e) const {
  if (!edges.contains(e))
    invalidTopology();
  return edges[e];
}

const moVertex &moObject::vertexAt(int32_t v) const {
  if (!vertices.contains(v))
    invalidTopology();
  return vertices[v];
}

const moFace &moObject::faceAt(int32_t f) const {
  if (!faces.contains(f))
    invalidTopology();
  return faces[f];
}

int32_t moObject::otherVertex(int32_t e, int32_t v) const {
  const moEdge &d = edgeAt(e);
  return v == d.Head ? d.Tail : v == d.Tail ? d.Head : -1;
}

int32_t moObject::otherFace(int32_t e, int32_t f) const {
  const moEdge &d = edgeAt(e);
  return f == d.LeftFace ? d.RightFace : f == d.RightFace ? d.LeftFace : -1;
}

int32_t moObject::startVertex(int32_t e, int32_t f) const {
  const moEdge &d = edgeAt(e);
  return f == d.RightFace ? d.Tail : f == d.LeftFace ? d.Head : -1;
}

int32_t moObject::endVertex(int32_t e, int32_t f) const {
  const moEdge &d = edgeAt(e);
  return f == d.RightFace ? d.Head : f == d.LeftFace ? d.Tail : -1;
}

int32_t moObject::wingFor(int32_t e, int32_t key, Field first, Field firstWing, Field second,
                          Field secondWing, bool quiet) const {
  const moEdge &d = edgeAt(e);
  if (key == d.*first)
    return d.*firstWing;
  if (key == d.*second)
    return d.*secondWing;
  if (quiet)
    return -1;
  invalidTopology();
}

int32_t moObject::nextEdgeOfFace(int32_t e, int32_t f) const {
  if (f == -1)
    return -1;
  if (e == -1)
    return faceAt(f).EdgeIndex;
  return wingFor(e, f, &moEdge::RightFace, &moEdge::ForeWing, &moEdge::LeftFace, &moEdge::BackWing,
                 false);
}

int32_t moObject::prevEdgeOfFace(int32_t e, int32_t f) const {
  if (f == -1)
    return -1;
  if (e == -1)
    return faceAt(f).EdgeIndex;
  return wingFor(e, f, &moEdge::RightFace, &moEdge::ccwBackWing, &moEdge::LeftFace,
                 &moEdge::ccwForeWing, false);
}

int32_t moObject::nextEdgeAtVertex(int32_t e, int32_t v, bool quiet) const {
  if (v == -1)
    return -1;
  if (e == -1)
    return vertexAt(v).EdgeIndex;
  return wingFor(e, v, &moEdge::Tail, &moEdge::BackWing, &moEdge::Head, &moEdge::ForeWing, quiet);
}

int32_t moObject::prevEdgeAtVertex(int32_t e, int32_t v, bool quiet) const {
  if (v == -1)
    return -1;
  if (e == -1)
    return vertexAt(v).EdgeIndex;
  return wingFor(e, v, &moEdge::Tail, &moEdge::ccwBackWing, &moEdge::Head, &moEdge::ccwForeWing,
                 quiet);
}

int32_t moObject::faceOfCorner(int32_t e, int32_t v) const {
  const moEdge &d = edgeAt(e);
  return v == d.Head ? d.RightFace : v == d.Tail ? d.LeftFace : -1;
}

moColor moObject::cornerColor(int32_t e, int32_t f) const {
  const moEdge &d = edgeAt(e);
  if (f == d.RightFace)
    return d.rightColor;
  if (f == d.LeftFace)
    return d.leftColor;
  invalidTopology();
}

int32_t moObject::commonVertex(int32_t e1, int32_t e2) const {
  if (e1 == -1 || e2 == -1)
    return -1;
  const moEdge &a = edgeAt(e1);
  const moEdge &b = edgeAt(e2);
  if (a.Tail == b.Head || a.Tail == b.Tail)
    return a.Tail;
  if (a.Head == b.Head || a.Head == b.Tail)
    return a.Head;
  return -1;
}

int32_t moObject::findEdge(int32_t a, int32_t b) const {
  if (linearEdgeSearch)
    return findEdgeLinear(a, b);
  const int32_t e = edgeLookup_.find(edges, a, b);
  // Debug builds prove the index against the scan wherever that stays cheap.
  assert(edges.count() > 4096 || e == findEdgeLinear(a, b));
  return e;
}

int32_t moObject::findEdgeLinear(int32_t a, int32_t b) const {
  for (int32_t e = 0; e < edges.count(); ++e) {
    const moEdge &d = edges[e];
    if (d.Head != -1 && ((d.Head == a && d.Tail == b) || (d.Head == b && d.Tail == a)))
      return e;
  }
  return -1;
}

int32_t moObject::edgeOfFaceEndingAt(int32_t f, int32_t v) const {
  int32_t found = -1;
  forEachEdgeOfFace(f, false, [&](int32_t e) {
    if (found == -1 && endVertex(e, f) == v)
      found = e;
  });
  return found;
}

int32_t moObject::faceVertices(int32_t f, std::vector<int32_t> &list, bool reverse) const {
  list.clear();
  forEachEdgeOfFace(f, reverse, [&](int32_t e) { list.push_back(endVertex(e, f)); });
  return static_cast<int32_t>(list.size());
}

int32_t moObject::faceEdges(int32_t f, std::vector<int32_t> &list, bool reverse) const {
  list.clear();
  forEachEdgeOfFace(f, reverse, [&](int32_t e) { list.push_back(e); });
  return static_cast<int32_t>(list.size());
}

bool moObject::facesShareVertex(int32_t f1, int32_t f2) const {
  std::vector<int32_t> a, b;
  faceVertices(f1, a);
  faceVertices(f2, b);
  for (int32_t v : a)
    for (int32_t w : b)
      if (v == w)
        return true;
  return false;
}

int32_t moObject::sharedEdgeCount(int32_t f, int32_t g) const {
  int32_t n = 0;
  forEachEdgeOfFace(f, false, [&](int32_t e) { n += otherFace(e, f) == g ? 1 : 0; });
  return n;
}

bool moObject::isSingleNeighbour(int32_t f) const {
  int32_t neighbour = -2;
  bool single = true;
  forEachEdgeOfFace(f, false, [&](int32_t e) {
    const int32_t g = otherFace(e, f);
    if (neighbour == -2)
      neighbour = g;
    else if (g != neighbour)
      single = false;
  });
  return single;
}

bool moObject::leftFaceIsTriangle(int32_t e) const {
  if (e == -1)
    invalidTopology();
  const moEdge &d = edgeAt(e);
  return otherVertex(d.BackWing, d.Tail) == otherVertex(d.ccwForeWing, d.Head);
}

bool moObject::rightFaceIsTriangle(int32_t e) const {
  if (e == -1)
    invalidTopology();
  const moEdge &d = edgeAt(e);
  return otherVertex(d.ForeWing, d.Head) == otherVertex(d.ccwBackWing, d.Tail);
}

int32_t moObject::findVertexAt(const moVec3 &p) const {
  for (int32_t v = 0; v < vertices.count(); ++v)
    if (equals(vertices[v].Coordinates, p))
      return v;
  return -1;
}

int32_t moObject::nearestEdgeOfFace(int32_t f, const moVec3 &p) const {
  int32_t best = -1;
  double bestSum = kFloatMax;
  forEachEdgeOfFace(f, true, [&](int32_t e) {
    const moEdge &d = edges[e];
    const double sum = double(lengthSquared(subtract(p, vertexAt(d.Head).Coordinates))) +
                       lengthSquared(subtract(p, vertexAt(d.Tail).Coordinates));
    if (sum < bestSum) {
      bestSum = sum;
      best = e;
    }
  });
  return best;
}
