#include "core/face_triangulation.h"

#include "triangulate/face_triangulator.h"

#include <algorithm>

int32_t triangulateFace(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                        std::vector<int32_t> &triangles) {
  thread_local FaceTriangulator triangulator; // its buffers only grow, face after face
  if (corners.size() < 3)
    return 0;
  const moVec3 normal = obj.faceNormal(f, false); // outward: triangles come counter-clockwise
  // A face of no area has no plane to triangulate in (the library would print a complaint on
  // standard output, where morvo-cli writes its results): the caller's fan covers it.
  if (!(dot(normal, normal) > 0))
    return 0;
  triangulator.clear();
  for (int32_t v : corners) {
    const moVec3 &p = obj.vertexAt(v).Coordinates;
    triangulator.addPoint(p.x, p.y, p.z);
  }
  const float axis[3] = {normal.x, normal.y, normal.z};
  const int count = triangulator.triangulate(axis);
  if (count <= 0)
    return 0;
  triangles.insert(triangles.end(), triangulator.triangles().begin(),
                   triangulator.triangles().end());
  return count;
}

int32_t faceTriangles(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                      std::vector<int32_t> &triangles) {
  const int32_t n = int32_t(corners.size());
  if (n < 3)
    return 0;
  if (n == 3) {
    triangles.insert(triangles.end(), {2, 1, 0}); // the corners run clockwise
    return 1;
  }
  const int32_t count = triangulateFace(obj, f, corners, triangles);
  if (count > 0)
    return count;
  for (int32_t k = n - 1; k >= 2; --k)
    triangles.insert(triangles.end(), {0, k, k - 1});
  return n - 2;
}

namespace {

void addTriangle(moObject &obj, int32_t f, int32_t a, int32_t b, int32_t c) {
  obj.triangleVertices.append(a);
  obj.triangleVertices.append(b);
  obj.triangleVertices.append(c);
  obj.triangleFaces.append(f);
}

// The library's triangles when they cover the whole face (k - 2 of them), else false.
bool addDelaunayTriangles(moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                          std::vector<int32_t> &scratch) {
  scratch.clear();
  const int32_t count = triangulateFace(obj, f, corners, scratch);
  if (count != int32_t(corners.size()) - 2)
    return false;
  for (int32_t t = 0; t < count; ++t)
    addTriangle(obj, f, corners[size_t(scratch[3 * t])], corners[size_t(scratch[3 * t + 1])],
                corners[size_t(scratch[3 * t + 2])]);
  return true;
}

void appendFaceTriangles(moObject &obj, int32_t method, std::vector<int32_t> &corners,
                         std::vector<int32_t> &scratch) {
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active() || obj.faceVertices(f, corners) < 3)
      continue;
    if (method == kTriangulateDelaunay && corners.size() > 3 &&
        addDelaunayTriangles(obj, f, corners, scratch))
      continue;
    for (size_t k = 1; k + 1 < corners.size(); ++k) // faces run clockwise: reverse the fan
      addTriangle(obj, f, corners[0], corners[k + 1], corners[k]);
  }
}

} // namespace

bool triangulateFaces(moObject &obj, int32_t method) {
  if (method != kTriangulateFan && method != kTriangulateDelaunay)
    return false;
  obj.triangleVertices.clear(false);
  obj.triangleFaces.clear(false);
  const int32_t room = std::max(0, 2 * (obj.edges.count() - obj.faces.count()));
  obj.triangleVertices.reserve(3 * room);
  obj.triangleFaces.reserve(room);
  std::vector<int32_t> corners, scratch;
  try {
    appendFaceTriangles(obj, method, corners, scratch);
  } catch (...) {
    obj.triangleVertices.clear(false);
    obj.triangleFaces.clear(false);
    throw;
  }
  return true;
}
