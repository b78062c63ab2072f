#include "view/corner_normal.h"

moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f) {
  moVec3 sum = obj.faceNormal(f, true);
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
      sum = add(sum, obj.faceNormal(face, true));
      e = leaving ? obj.nextEdgeOfFace(e, face) : obj.prevEdgeOfFace(e, face);
    }
  }
  return unit(sum);
}
