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

void buildPaintTriangles(moObject &obj) {
  obj.triangleVertices.clear(false);
  obj.triangleFaces.clear(false);
  std::vector<int32_t> corners, triangles;
  try {
    for (int32_t f = 0; f < obj.faces.count(); ++f) {
      if (!obj.faces[f].active())
        continue;
      obj.faceVertices(f, corners);
      triangles.clear();
      const int32_t count = faceTriangles(obj, f, corners, triangles);
      for (int32_t t = 0; t < count; ++t) {
        for (int32_t k = 0; k < 3; ++k)
          obj.triangleVertices.append(corners[size_t(triangles[size_t(3 * t + k)])]);
        obj.triangleFaces.append(f);
      }
    }
  } catch (...) {
    obj.triangleVertices.clear(false);
    obj.triangleFaces.clear(false);
    throw;
  }
}
