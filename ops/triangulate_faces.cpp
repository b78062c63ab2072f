#include "ops/triangulate_faces.h"

#include "core/face_triangulation.h"

#include <algorithm>
#include <vector>

namespace {

void addTriangle(moObject &obj, int32_t f, int32_t a, int32_t b, int32_t c) {
  obj.triangleVertices.append(a);
  obj.triangleVertices.append(b);
  obj.triangleVertices.append(c);
  obj.triangleFaces.append(f);
}

// The library triangle set when it covers the whole face (k - 2 triangles), else false.
bool addDelaunayTriangles(moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                          std::vector<int32_t> &scratch) {
  scratch.clear();
  const int32_t count = triangulateFace(obj, f, corners, scratch);
  if (count != int32_t(corners.size()) - 2)
    return false;
  // The library gives them counter-clockwise seen from outside; the lists run like the faces.
  for (int32_t t = 0; t < count; ++t)
    addTriangle(obj, f, corners[scratch[3 * t]], corners[scratch[3 * t + 2]],
                corners[scratch[3 * t + 1]]);
  return true;
}

} // namespace

bool triangulateFaces(moObject &obj, int32_t method) {
  if (method != kTriangulateFan && method != kTriangulateDelaunay)
    return false;
  const int32_t room = std::max(0, 2 * (obj.edges.count() - obj.faces.count()));
  obj.triangleVertices.reserve(3 * room);
  obj.triangleFaces.reserve(room);
  std::vector<int32_t> corners, scratch;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active() || obj.faceVertices(f, corners) < 3)
      continue;
    if (method == kTriangulateDelaunay && corners.size() > 3 &&
        addDelaunayTriangles(obj, f, corners, scratch))
      continue;
    for (size_t k = 1; k + 1 < corners.size(); ++k)
      addTriangle(obj, f, corners[0], corners[k], corners[k + 1]);
  }
  return true;
}

bool Triangulate(moObject &obj, int32_t method, UserInterface &ui) {
  if (triangulateFaces(obj, method))
    return true;
  ui.messageBox("Triangulation method not implemented yet");
  return false;
}
