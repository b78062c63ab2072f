#include "core/mesh.h"

#include <cmath>

moVec3 moObject::faceNormal(int32_t f, bool unitLength) const {
  if (f == -1 || !faceAt(f).active())
    return {};
  double x = 0, y = 0, z = 0;
  forEachEdgeOfFace(f, false, [&](int32_t e) {
    const moVec3 &a = vertexAt(startVertex(e, f)).Coordinates;
    const moVec3 &b = vertexAt(endVertex(e, f)).Coordinates;
    x += (double(b.y) - a.y) * (double(b.z) + a.z);
    y += (double(a.x) + b.x) * (double(b.z) - a.z);
    z += (double(b.y) + a.y) * (double(b.x) - a.x);
  });
  const moVec3 n{float(x), float(y), float(z)};
  return unitLength ? unit(n) : n;
}

moVec3 moObject::faceCentroid(int32_t f) const {
  PointAverage centre;
  forEachEdgeOfFace(f, false,
                    [&](int32_t e) { centre.add(vertexAt(endVertex(e, f)).Coordinates); });
  return centre.mean();
}

void moObject::faceBounds(int32_t f, moVec3 &min, moVec3 &max) const {
  min = {kFloatMax, kFloatMax, kFloatMax};
  max = {-kFloatMax, -kFloatMax, -kFloatMax};
  forEachEdgeOfFace(f, false, [&](int32_t e) {
    const moVec3 &p = vertexAt(endVertex(e, f)).Coordinates;
    min = {std::fmin(min.x, p.x), std::fmin(min.y, p.y), std::fmin(min.z, p.z)};
    max = {std::fmax(max.x, p.x), std::fmax(max.y, p.y), std::fmax(max.z, p.z)};
  });
}

moVec3 moObject::vertexNeighbourCentroid(int32_t v) const {
  if (v == -1 || !vertexAt(v).active())
    return {};
  PointAverage centre;
  forEachEdgeAtVertex(v, [&](int32_t e) { centre.add(vertexAt(otherVertex(e, v)).Coordinates); });
  return centre.mean();
}

moVec3 moObject::edgeMidpoint(int32_t e) const {
  const moEdge &d = edgeAt(e);
  return scale(0.5f, add(vertexAt(d.Head).Coordinates, vertexAt(d.Tail).Coordinates));
}

moVec3 moObject::edgeVector(int32_t e, int32_t fromVertex) const {
  const moEdge &d = edgeAt(e);
  const int32_t from = fromVertex == d.Head ? d.Head : d.Tail;
  const int32_t to = from == d.Head ? d.Tail : d.Head;
  return subtract(vertexAt(to).Coordinates, vertexAt(from).Coordinates);
}

moVec3 moObject::edgeNormal(int32_t e, bool unitLength) const {
  const moEdge &d = edgeAt(e);
  if (!d.active())
    return {};
  moVec3 n = add(faceNormal(d.RightFace, true), faceNormal(d.LeftFace, true));
  if (lengthSquared(n) < 0.0001f)
    n = cross(edgeVector(e, d.Tail), faceNormal(d.LeftFace, false));
  return unitLength ? unit(n) : n;
}

float moObject::edgeSharpness(int32_t e) const {
  const moEdge &d = edgeAt(e);
  if (d.LeftFace == -1 || d.RightFace == -1 || !faceAt(d.LeftFace).active() ||
      !faceAt(d.RightFace).active())
    return 1.0f;
  return (1.0f - dot(faceNormal(d.LeftFace, true), faceNormal(d.RightFace, true))) * 0.5f;
}

bool moObject::nearlyCollinear(const moVec3 &v, const moVec3 &a, const moVec3 &b, float tolerance) {
  const moVec3 d1 = unit(subtract(a, v));
  const moVec3 d2 = unit(subtract(b, v));
  return 1.0f - std::fabs(dot(d1, d2)) < tolerance;
}

moVec3 moObject::objectCentroid() const {
  PointAverage centre;
  for (const moVertex &v : vertices)
    if (v.active())
      centre.add(v.Coordinates);
  return centre.mean();
}

void moObject::transform(const moMatrix4 &m) {
  for (moVertex &v : vertices)
    if (v.active())
      v.Coordinates = transformPoint(m, v.Coordinates);
}

namespace {

moVec3 scaledAbout(const moVec3 &p, const moVec3 &centre, const moVec3 &factors) {
  return add(multiply(subtract(p, centre), factors), centre);
}

} // namespace

void moObject::scaleAbout(const moVec3 &centre, const moVec3 &factors) {
  for (moVertex &v : vertices)
    if (v.active())
      v.Coordinates = scaledAbout(v.Coordinates, centre, factors);
}

void moObject::scaleFaceAbout(int32_t f, const moVec3 &centre, const moVec3 &factors) {
  std::vector<int32_t> corners;
  faceVertices(f, corners);
  for (int32_t v : corners)
    vertices[v].Coordinates = scaledAbout(vertexAt(v).Coordinates, centre, factors);
}

void moObject::scaleEdgeAbout(int32_t e, const moVec3 &centre, const moVec3 &factors) {
  const moEdge &d = edgeAt(e);
  for (int32_t v : {d.Head, d.Tail})
    vertices[v].Coordinates = scaledAbout(vertexAt(v).Coordinates, centre, factors);
}
