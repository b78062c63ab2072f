#include "core/mesh.h"

moColor &moObject::storedColorAt(int32_t e, int32_t v) {
  moEdge &d = checkedEdge(e);
  if (v == d.Head)
    return d.rightColor;
  if (v == d.Tail)
    return d.leftColor;
  invalidTopology();
}

void moObject::setFaceColor(int32_t f, moColor c) {
  forEachEdgeOfFace(f, false, [&](int32_t e) {
    moEdge &d = edges[e];
    (f == d.RightFace ? d.rightColor : d.leftColor) = c;
  });
}

void moObject::setVertexColor(int32_t v, moColor c) {
  forEachEdgeAtVertex(v, [&](int32_t e) { storedColorAt(e, v) = c; });
}

void moObject::setEdgeColor(int32_t e, moColor c) {
  moEdge &d = checkedEdge(e);
  d.rightColor = c;
  d.leftColor = c;
  // The wing that precedes e at each end stores the corner of e's other face there.
  if (d.ccwForeWing != -1)
    storedColorAt(d.ccwForeWing, d.Head) = c;
  if (d.ccwBackWing != -1)
    storedColorAt(d.ccwBackWing, d.Tail) = c;
}

moColor moObject::cornerColorAt(int32_t v, int32_t f) const {
  const int32_t e = edgeOfFaceEndingAt(f, v);
  if (e == -1)
    invalidTopology();
  return cornerColor(e, f);
}

void moObject::setCornerColor(int32_t v, int32_t f, moColor c) {
  const int32_t e = edgeOfFaceEndingAt(f, v);
  if (e == -1)
    return;
  moEdge &d = edges[e];
  (f == d.RightFace ? d.rightColor : d.leftColor) = c;
}

void moObject::copyCornerColorsFromWings(int32_t e) {
  const moEdge &d = edgeAt(e);
  if (d.ccwForeWing != -1)
    edges[e].rightColor = storedColorAt(d.ccwForeWing, d.Head);
  if (d.ccwBackWing != -1)
    edges[e].leftColor = storedColorAt(d.ccwBackWing, d.Tail);
}
