#include "ops/plane_slice.h"

#include <cmath>
#include <vector>

namespace {

moColor lerp(const moColor &a, const moColor &b, float t) {
  const auto mix = [t](uint8_t x, uint8_t y) {
    return uint8_t(std::lround(float(x) + t * (float(y) - float(x))));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

bool onPlane(const moObject &obj, const AxisPlane &plane, int32_t v) {
  return std::abs(plane.distance(obj.vertices[v].Coordinates)) < kPlaneTolerance;
}

void splitCrossingEdges(moObject &obj, const AxisPlane &plane) {
  const int32_t original = obj.edges.count();
  for (int32_t e = 0; e < original; ++e) {
    const moEdge &d = obj.edges[e];
    if (!d.active())
      continue;
    const moVec3 tail = obj.vertices[d.Tail].Coordinates, head = obj.vertices[d.Head].Coordinates;
    const float g = plane.distance(tail), h = plane.distance(head);
    if (!((g > kPlaneTolerance && h < -kPlaneTolerance) ||
          (g < -kPlaneTolerance && h > kPlaneTolerance)))
      continue;
    const float t = (0 - g) / (h - g);
    moVec3 p = add(tail, scale(t, subtract(head, tail)));
    (&p.x)[plane.axis] = plane.offset; // exactly on the plane, whatever the rounding
    splitEdge(obj, e, p, t);
  }
}

// From corner v of edge e in face f: the nearest other corner on the plane on the inner side of
// e, when it is neither e's other end nor v's neighbour along f; -1 otherwise or when every
// corner of f lies on the plane.
int32_t cutPartner(const moObject &obj, const AxisPlane &plane, int32_t e, int32_t v, int32_t f,
                   std::vector<int32_t> &corners) {
  const int32_t n = obj.faceVertices(f, corners);
  int32_t at = -1, onCount = 0;
  for (int32_t k = 0; k < n; ++k) {
    onCount += onPlane(obj, plane, corners[k]);
    at = corners[k] == v ? k : at;
  }
  if (at == -1 || onCount == n)
    return -1;
  const moVec3 &pv = obj.vertices[v].Coordinates;
  const moVec3 run = subtract(obj.vertices[obj.endVertex(e, f)].Coordinates,
                              obj.vertices[obj.startVertex(e, f)].Coordinates);
  const moVec3 inward = cross(run, obj.faceNormal(f, false));
  int32_t best = -1;
  float bestDistance = kFloatMax;
  for (int32_t u : corners) {
    const moVec3 offset = subtract(obj.vertices[u].Coordinates, pv);
    if (u == v || !onPlane(obj, plane, u) || dot(offset, inward) <= 0)
      continue;
    if (lengthSquared(offset) < bestDistance) {
      bestDistance = lengthSquared(offset);
      best = u;
    }
  }
  const bool neighbour = best == corners[(at + 1) % n] || best == corners[(at + n - 1) % n];
  return best == obj.otherVertex(e, v) || neighbour ? -1 : best;
}

void cutAlongPlane(moObject &obj, const AxisPlane &plane) {
  std::vector<int32_t> corners;
  for (int32_t e = 0; e < obj.edges.count(); ++e) {
    if (!obj.edges[e].active())
      continue;
    for (bool head : {false, true}) {
      const int32_t v = head ? obj.edges[e].Head : obj.edges[e].Tail;
      if (!onPlane(obj, plane, v))
        continue;
      for (bool left : {false, true}) {
        const int32_t f = left ? obj.edges[e].LeftFace : obj.edges[e].RightFace;
        const int32_t w = cutPartner(obj, plane, e, v, f, corners);
        if (w != -1)
          cutFace(obj, f, v, w);
      }
    }
  }
}

} // namespace

moVec3 AxisPlane::normal() const {
  moVec3 n;
  (&n.x)[axis] = 1;
  return n;
}

int32_t splitEdge(moObject &obj, int32_t e, const moVec3 &p, float t) {
  const moEdge d = obj.edgeAt(e);
  const moColor rightAtTail = obj.cornerColor(d.ccwBackWing, d.RightFace);
  const moColor leftAtHead = obj.cornerColor(d.ccwForeWing, d.LeftFace);
  const int32_t v = obj.addVertex(p.x, p.y, p.z);
  const int32_t n = obj.appendEdge();
  moEdge &rest = obj.edges[n];
  rest.Tail = v;
  rest.Head = d.Head;
  rest.LeftFace = d.LeftFace;
  rest.RightFace = d.RightFace;
  rest.hard = d.hard;
  rest.rightColor = d.rightColor;
  rest.leftColor = lerp(d.leftColor, leftAtHead, t);
  obj.edges[e].Head = v;
  obj.edges[e].rightColor = lerp(rightAtTail, d.rightColor, t);
  obj.edgeEndsChanged(e);
  if (obj.vertices[d.Head].EdgeIndex == e)
    obj.vertices[d.Head].EdgeIndex = n;
  obj.vertices[v].EdgeIndex = e;
  obj.setAllWings(n, d.ForeWing, e, d.ccwForeWing, e);
  return v;
}

int32_t cutFace(moObject &obj, int32_t f, int32_t v, int32_t w) {
  std::vector<int32_t> loop;
  const int32_t n = obj.faceEdges(f, loop);
  int32_t from = -1, to = -1; // the edge leaving v and the one arriving at w
  for (int32_t k = 0; k < n; ++k) {
    from = obj.startVertex(loop[k], f) == v ? k : from;
    to = obj.endVertex(loop[k], f) == w ? k : to;
  }
  if (from == -1 || to == -1)
    throw moInvalidTopologyException();
  const int32_t g = obj.appendFace();
  const int32_t d = obj.makeEdge(v, w, true);
  const int32_t afterW = loop[(to + 1) % n], beforeV = loop[(from + n - 1) % n];
  for (int32_t k = (to + 1) % n;; k = (k + 1) % n) {
    moEdge &moved = obj.edges[loop[k]];
    (moved.RightFace == f ? moved.RightFace : moved.LeftFace) = g;
    if (k == (from + n - 1) % n)
      break;
  }
  obj.edges[d].RightFace = g;
  obj.edges[d].LeftFace = f;
  obj.setAllWings(d, afterW, loop[from], loop[to], beforeV);
  obj.faces[f].EdgeIndex = d;
  obj.faces[g].EdgeIndex = d;
  obj.copyCornerColorsFromWings(d);
  return g;
}

void planeSlice(moObject &obj, const AxisPlane &plane) {
  splitCrossingEdges(obj, plane);
  cutAlongPlane(obj, plane);
}
