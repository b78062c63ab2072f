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
