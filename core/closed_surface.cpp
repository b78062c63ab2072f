#include "core/closed_surface.h"

namespace {

// The edges made so far, each listed at its lower-numbered end. A vertex has few edges, so a
// walk along its list finds an edge in a few steps without hashing.
class EdgeLists {
public:
  EdgeLists(int32_t vertices, int32_t edges) : first_(size_t(vertices), -1) {
    links_.reserve(size_t(edges));
  }
  // The edge joining a and b in either direction, or -1.
  int32_t find(int32_t a, int32_t b) const {
    const int32_t low = a < b ? a : b, high = a < b ? b : a;
    for (int32_t e = first_[size_t(low)]; e != -1; e = links_[size_t(e)].next)
      if (links_[size_t(e)].other == high)
        return e;
    return -1;
  }
  // Lists edge e (the next one made) between a and b.
  void add(int32_t e, int32_t a, int32_t b) {
    const int32_t low = a < b ? a : b, high = a < b ? b : a;
    links_.push_back({high, first_[size_t(low)]});
    first_[size_t(low)] = e;
  }

private:
  struct Link {
    int32_t other, next;
  };
  std::vector<int32_t> first_;
  std::vector<Link> links_; // by edge
};

// Makes or finds the edge of the loop step prev -> q of face f as MeshBuilder does: a new edge
// runs from q to prev with f on its left; an existing one must run the other way with its right
// side still free. Returns the edge, or -1 where the surface is not closed and manifold.
int32_t stepEdge(moObject &object, EdgeLists &lists, std::vector<int32_t> &degree, int32_t prev,
                 int32_t q, int32_t f, int32_t edgeLimit) {
  int32_t e = lists.find(prev, q);
  if (e != -1) {
    moEdge &d = object.edges[e];
    if (d.Head != prev || d.RightFace != -1 || d.LeftFace == f)
      return -1;
    d.RightFace = f;
    return e;
  }
  if (object.edges.count() == edgeLimit)
    return -1; // more edges than a closed surface of these corners has
  moEdge d;
  d.Head = q;
  d.Tail = prev;
  d.LeftFace = f;
  e = object.edges.append(d);
  lists.add(e, prev, q);
  for (int32_t v : {q, prev}) {
    ++degree[size_t(v)];
    if (object.vertices[v].EdgeIndex == -1)
      object.vertices[v].EdgeIndex = e; // the vertex's first edge
  }
  return e;
}

// The wings of one face loop, set as MeshBuilder::convertInto sets them: the object's faces run
// against the loop, so the edge after p in the loop is the one before p around the face.
void linkLoop(moObject &object, const std::vector<int32_t> &loop, int32_t f) {
  const size_t n = loop.size();
  for (size_t k = n; k-- > 0;) {
    const int32_t after = loop[(k + 1) % n];
    moEdge &p = object.edges[loop[k]];
    moEdge &c = object.edges[after];
    (p.LeftFace == f ? p.ccwForeWing : p.ccwBackWing) = after;
    (c.LeftFace == f ? c.BackWing : c.ForeWing) = loop[k];
  }
}

// Whether the faces around every vertex form one fan: turning from edge to edge through the
// faces, as MeshBuilder counts a fan, comes back to the start after all of the vertex's edges.
bool singleFans(const moObject &object, const std::vector<int32_t> &degree) {
  for (int32_t v = 0; v < object.vertices.count(); ++v) {
    const int32_t first = object.vertices[v].EdgeIndex;
    if (first == -1)
      continue;
    int32_t e = first, count = 0;
    do {
      const moEdge &d = object.edges[e];
      e = d.Tail == v ? d.BackWing : d.Head == v ? d.ForeWing : -1;
      if (e < 0 || ++count > degree[size_t(v)])
        return false;
    } while (e != first);
    if (count != degree[size_t(v)])
      return false;
  }
  return true;
}

bool build(const std::vector<moVec3> &positions, const std::vector<int32_t> &corners,
           const std::vector<int32_t> &starts, moObject &object) {
  const int32_t polygons = int32_t(starts.size()) - 1;
  // A closed surface passes each edge twice, so it has half as many edges as corners.
  if (polygons < 1 || polygons > kMaxFaceSlots || corners.size() % 2 != 0 ||
      corners.size() / 2 > size_t(INT32_MAX) || positions.size() > size_t(INT32_MAX))
    return false;
  const int32_t vertexCount = int32_t(positions.size()), edgeCount = int32_t(corners.size() / 2);
  object.reserve(edgeCount, polygons, vertexCount);
  for (const moVec3 &p : positions)
    object.addVertex(p.x, p.y, p.z);
  EdgeLists lists(vertexCount, edgeCount);
  std::vector<int32_t> degree(size_t(vertexCount), 0), lastFace(size_t(vertexCount), -1);
  std::vector<int32_t> loop;
  for (int32_t f = 0; f < polygons; ++f) {
    const int32_t *polygon = corners.data() + starts[size_t(f)];
    const int32_t n = starts[size_t(f) + 1] - starts[size_t(f)];
    if (n < 3)
      return false;
    for (int32_t k = 0; k < n; ++k) {
      if (lastFace[size_t(polygon[k])] == f)
        return false; // a vertex passed twice
      lastFace[size_t(polygon[k])] = f;
    }
    object.appendFace();
    // MeshBuilder's loop of a polygon added with forward false: from the first index to the
    // last, then backwards through the list.
    loop.clear();
    int32_t prev = polygon[0];
    for (int32_t k = n - 1; k >= 0; --k) {
      const int32_t e = stepEdge(object, lists, degree, prev, polygon[k], f, edgeCount);
      if (e == -1)
        return false;
      loop.push_back(e);
      prev = polygon[k];
    }
    object.faces[f].EdgeIndex = loop.front();
    linkLoop(object, loop, f);
  }
  // Every corner made or completed an edge; all of them made means every edge has both faces.
  // Such an object needs no validity test: each edge joins two distinct vertices between two
  // distinct faces, and every wing was set together with its back-link by the face loop that
  // holds both edges.
  return object.edges.count() == edgeCount && singleFans(object, degree);
}

} // namespace

bool buildClosedSurface(const std::vector<moVec3> &positions, const std::vector<int32_t> &corners,
                        const std::vector<int32_t> &starts, moObject &object) {
  if (build(positions, corners, starts, object))
    return true;
  object.clear(true);
  return false;
}
