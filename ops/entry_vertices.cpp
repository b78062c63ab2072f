#include "ops/entry_vertices.h"

#include "ops/vertex_marks.h"

void forEachEntryVertex(Scene &scene, bool once,
                        const std::function<void(moObject &, int32_t, int32_t)> &fn) {
  VertexMarks visited;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    moObject *obj = scene.object(ref.object);
    if (!obj || !scene.elementExists(ref, scene.mode))
      continue;
    const auto visit = [&](int32_t v) {
      if (obj->vertices.contains(v) && obj->vertices[v].active() &&
          (!once || visited.mark(ref.object, *obj, v)))
        fn(*obj, v, i);
    };
    switch (scene.mode) {
    case moVERTICES:
      visit(ref.element);
      break;
    case moEDGES:
      visit(obj->edges[ref.element].Head);
      visit(obj->edges[ref.element].Tail);
      break;
    case moFACES:
      obj->forEachEdgeOfFace(ref.element, false,
                             [&](int32_t e) { visit(obj->startVertex(e, ref.element)); });
      break;
    case moOBJECTS:
      for (int32_t v = 0; v < obj->vertices.count(); ++v)
        visit(v);
      break;
    default:
      return;
    }
  }
}

std::vector<moVec3> elementCentresNow(Scene &scene) {
  std::vector<moVec3> centres;
  if (scene.mode == moVERTICES) {
    PointAverage mean;
    forEachEntryVertex(scene, false, [&](moObject &obj, int32_t v, int32_t) {
      mean.add(obj.vertices[v].Coordinates);
    });
    centres.push_back(mean.mean());
    return centres;
  }
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    const moObject *obj = scene.object(ref.object);
    if (!obj || !scene.elementExists(ref, scene.mode))
      centres.push_back({});
    else if (scene.mode == moEDGES)
      centres.push_back(obj->edgeMidpoint(ref.element));
    else if (scene.mode == moFACES)
      centres.push_back(obj->faceCentroid(ref.element));
    else
      centres.push_back(obj->objectCentroid());
  }
  return centres;
}
