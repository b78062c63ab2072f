#include "core/mesh_normals.h"

namespace {

template <class FaceNormal>
moVec3 sumAroundCorner(const moObject &obj, int32_t v, int32_t f, FaceNormal faceNormal) {
  moVec3 sum = faceNormal(f);
  const int32_t arriving = obj.edgeOfFaceEndingAt(f, v);
  if (arriving == -1)
    return sum;
  // Turn one way across the edges leaving v, then the other way across those arriving at v.
  for (bool leaving : {true, false}) {
    int32_t face = f;
    int32_t e = leaving ? obj.nextEdgeOfFace(arriving, f) : arriving;
    for (int32_t steps = 0; steps < obj.faces.count(); ++steps) {
      if (e == -1 || obj.edges[e].hard)
        break;
      face = obj.otherFace(e, face);
      if (face == -1)
        break;
      if (face == f)
        return unit(sum); // all the way round without a hard edge
      sum = add(sum, faceNormal(face));
      e = leaving ? obj.nextEdgeOfFace(e, face) : obj.prevEdgeOfFace(e, face);
    }
  }
  return unit(sum);
}

} // namespace

moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f) {
  return sumAroundCorner(obj, v, f, [&](int32_t g) { return obj.faceNormal(g, true); });
}

std::vector<moVec3> unitFaceNormals(const moObject &obj) {
  std::vector<moVec3> normals(size_t(obj.faces.count()));
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    normals[size_t(f)] = obj.faceNormal(f, true);
  return normals;
}

moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f,
                    const std::vector<moVec3> &faceNormals) {
  return sumAroundCorner(obj, v, f, [&](int32_t g) {
    return g >= 0 && size_t(g) < faceNormals.size() ? faceNormals[size_t(g)]
                                                    : obj.faceNormal(g, true);
  });
}
