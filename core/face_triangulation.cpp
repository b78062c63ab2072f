#include "core/face_triangulation.h"

#include "triangulate/face_triangulator.h"

int32_t triangulateFace(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                        std::vector<int32_t> &triangles) {
  thread_local FaceTriangulator triangulator; // its buffers only grow, face after face
  if (corners.size() < 3)
    return 0;
  triangulator.clear();
  for (int32_t v : corners) {
    const moVec3 &p = obj.vertexAt(v).Coordinates;
    triangulator.addPoint(p.x, p.y, p.z);
  }
  const moVec3 normal = obj.faceNormal(f, false); // outward: triangles come counter-clockwise
  const float axis[3] = {normal.x, normal.y, normal.z};
  const int count = triangulator.triangulate(axis);
  if (count <= 0)
    return 0;
  triangles.insert(triangles.end(), triangulator.triangles().begin(),
                   triangulator.triangles().end());
  return count;
}

namespace {

void appendFaceTriangles(moObject &obj, int32_t f, std::vector<int32_t> &corners,
                         std::vector<int32_t> &triangles) {
  const int32_t n = obj.faceVertices(f, corners);
  if (n < 3)
    return;
  triangles.clear();
  if (n == 3 || triangulateFace(obj, f, corners, triangles) == 0) {
    triangles.clear();
    for (int32_t k = 1; k + 1 < n; ++k) // a fan, counter-clockwise like the triangulation
      triangles.insert(triangles.end(), {0, k + 1, k});
  }
  for (size_t i = 0; i < triangles.size(); i += 3) {
    for (size_t k = 0; k < 3; ++k)
      obj.triangleVertices.append(corners[size_t(triangles[i + k])]);
    obj.triangleFaces.append(f);
  }
}

} // namespace

void triangulateObject(moObject &obj) {
  obj.triangleVertices.clear(false);
  obj.triangleFaces.clear(false);
  std::vector<int32_t> corners, triangles;
  try {
    for (int32_t f = 0; f < obj.faces.count(); ++f)
      if (obj.faces[f].active())
        appendFaceTriangles(obj, f, corners, triangles);
  } catch (...) {
    obj.triangleVertices.clear(false);
    obj.triangleFaces.clear(false);
    throw;
  }
}
