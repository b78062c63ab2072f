#include "tests/ops/ops_fixture.h"

#include "core/primitives.h"

#include <vector>

double enclosedVolume(const moObject &obj) {
  // Triangles from each face's centre, so a face that is not quite flat counts the same however
  // its corners are numbered.
  double sum = 0;
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active())
      continue;
    const moVec3 centre = obj.faceCentroid(f);
    const size_t n = size_t(obj.faceVertices(f, corners));
    for (size_t k = 0; k < n; ++k)
      sum += dot(centre, cross(obj.vertices[corners[k]].Coordinates,
                               obj.vertices[corners[(k + 1) % n]].Coordinates));
  }
  return -sum / 6; // faces run clockwise seen from outside
}

std::string validity(const moObject &obj) {
  for (const moEdge &d : obj.edges)
    if (!d.active())
      return "inactive edge left";
  for (const moFace &f : obj.faces)
    if (!f.active())
      return "inactive face left";
  for (const moVertex &v : obj.vertices)
    if (!v.active())
      return "inactive vertex left";
  if (!objectLocallyValid(obj, false))
    return "locally invalid";
  moObject copy(obj);
  const std::string wings = wingProblem(copy);
  return wings;
}

std::string soundness(const moObject &obj) {
  const std::string problem = validity(obj);
  if (!problem.empty())
    return problem;
  return enclosedVolume(obj) > 0 ? "" : "faces inward";
}

int32_t faceNear(const moObject &obj, const moVec3 &p) {
  int32_t best = -1;
  float bestDistance = kFloatMax;
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faces[f].active() && distance(obj.faceCentroid(f), p) < bestDistance) {
      bestDistance = distance(obj.faceCentroid(f), p);
      best = f;
    }
  return best;
}

moObject moved(moObject obj, const moVec3 &offset) {
  for (moVertex &v : obj.vertices)
    v.Coordinates = add(v.Coordinates, offset);
  return obj;
}

moObject boxObject(const moVec3 &min, const moVec3 &max) {
  moObject obj("box");
  const moVec3 size = subtract(max, min);
  buildBox(obj, size.x, size.y, size.z, scale(0.5f, add(min, max)));
  return obj;
}
