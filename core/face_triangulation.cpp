#include "core/face_triangulation.h"

#include "triangulate/motr.h"

int32_t triangulateFace(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                        std::vector<int32_t> &triangles) {
  // Scratch that only grows, so that face after face triangulates without allocating.
  thread_local std::vector<float> points;
  thread_local std::vector<int> result;
  const int n = static_cast<int>(corners.size());
  if (n < 3)
    return 0;
  points.resize(size_t(3 * n));
  for (int k = 0; k < n; ++k) {
    const moVec3 &p = obj.vertexAt(corners[size_t(k)]).Coordinates;
    points[size_t(3 * k)] = p.x;
    points[size_t(3 * k + 1)] = p.y;
    points[size_t(3 * k + 2)] = p.z;
  }
  result.resize(size_t(3 * (n - 2)));
  const moVec3 normal = obj.faceNormal(f, false); // outward: triangles come counter-clockwise
  const float axis[3] = {normal.x, normal.y, normal.z};
  const int count = motrDelaunayNPf(1, &n, n, points.data(), result.data(), axis);
  if (count <= 0)
    return 0;
  triangles.insert(triangles.end(), result.begin(), result.begin() + 3 * count);
  return count;
}
