#include "ops/lift.h"

#include "ops/extrude.h"

#include <algorithm>

namespace {

struct Hinge {
  std::vector<int32_t> pinned; // the corners that stay
  moVec3 pivot, axis;
};

bool liftFace(Scene &scene, const ElementRef &pick, bool normals, bool fromEdge) {
  const OperationRules rules{true, modeBit(moFACES), MirrorRule::None};
  return scene.runOperation(rules, [&] {
    if (scene.selection.Count() != 1) {
      scene.ui().messageBox(fromEdge ? "LiftFromEdge Implemented for one element only"
                                     : "LiftFromVertex Implemented for one element only");
      return false;
    }
    const ElementRef face = scene.selection.Get(0);
    if (pick.object != face.object) {
      scene.ui().messageBox(fromEdge ? "can only lift face from edge on same body!"
                                     : "can only lift face from vertex on same body!");
      return false;
    }
    moObject *obj = scene.object(face.object);
    if (!obj || !scene.elementExists(face, moFACES) ||
        !scene.elementExists(pick, fromEdge ? moEDGES : moVERTICES))
      return false;
    const int32_t f = face.element;
    Hinge hinge;
    const moVec3 n = obj->faceNormal(f, true), centre = obj->faceCentroid(f);
    if (fromEdge) {
      const moEdge &e = obj->edges[pick.element];
      if (e.LeftFace != f && e.RightFace != f)
        return false;
      hinge.pinned = {e.Tail, e.Head};
      hinge.pivot = obj->vertices[e.Tail].Coordinates;
      const moVec3 h = unit(obj->edgeVector(pick.element, e.Tail));
      hinge.axis = dot(cross(subtract(centre, hinge.pivot), n), h) >= 0 ? h : scale(-1.0f, h);
    } else {
      if (obj->edgeOfFaceEndingAt(f, pick.element) == -1)
        return false;
      hinge.pinned = {pick.element};
      hinge.pivot = obj->vertices[pick.element].Coordinates;
      hinge.axis = unit(cross(subtract(centre, hinge.pivot), n));
    }
    const std::vector<int32_t> made = extrudeFaces(*obj, {f}, hinge.pinned)[0];
    scene.previousSelection.Clear();
    scene.elementVectors.clear();
    scene.elementCentres.clear();
    for (int32_t v : made)
      if (std::find(hinge.pinned.begin(), hinge.pinned.end(), v) == hinge.pinned.end()) {
        scene.previousSelection.Append({v, face.object});
        if (normals)
          scene.elementVectors.push_back(n);
      }
    if (!normals) {
      scene.elementVectors.push_back(hinge.axis);
      scene.elementCentres.push_back(hinge.pivot);
    }
    return true;
  });
}

// Calls fn(position, i) for each live lifted vertex.
template <class Fn> void forEachLifted(Scene &scene, Fn fn) {
  for (int32_t i = 0; i < scene.previousSelection.Count(); ++i) {
    const ElementRef ref = scene.previousSelection.Get(i);
    moObject *obj = scene.object(ref.object);
    if (obj && obj->vertices.contains(ref.element) && obj->vertices[ref.element].active())
      fn(obj->vertices[ref.element].Coordinates, size_t(i));
  }
}

} // namespace

bool LiftFromEdge(Scene &scene, const ElementRef &pickedEdge, bool normals) {
  return liftFace(scene, pickedEdge, normals, true);
}

bool LiftFromVertex(Scene &scene, const ElementRef &pickedVertex, bool normals) {
  return liftFace(scene, pickedVertex, normals, false);
}

void liftRotateStep(Scene &scene, float degrees) {
  if (scene.elementVectors.empty() || scene.elementCentres.empty())
    return;
  const moMatrix4 r = rotation(scene.elementVectors[0], degrees);
  const moVec3 c = scene.elementCentres[0];
  forEachLifted(scene, [&](moVec3 &p, size_t) { p = add(transformPoint(r, subtract(p, c)), c); });
}

void liftMoveStep(Scene &scene, float a) {
  forEachLifted(scene, [&](moVec3 &p, size_t i) {
    if (i < scene.elementVectors.size())
      p = add(p, scale(a, scene.elementVectors[i]));
  });
}
