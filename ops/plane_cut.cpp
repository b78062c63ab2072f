#include "ops/plane_cut.h"

#include "ops/cut_closing.h"
#include "ops/selected_objects.h"
#include "scene/progress_task.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// +1 above the plane, -1 below, 0 on it, per vertex slot.
std::vector<int8_t> vertexSides(const moObject &obj, const AxisPlane &plane) {
  std::vector<int8_t> side(size_t(obj.vertices.count()), 0);
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    const float d = plane.distance(obj.vertices[v].Coordinates);
    side[v] = d > kPlaneTolerance ? 1 : d < -kPlaneTolerance ? -1 : 0;
  }
  return side;
}

// Gives each active vertex an edge that is still there, or deactivates it when none is left.
void repairVertexEdges(moObject &obj) {
  std::vector<int32_t> any(size_t(obj.vertices.count()), -1);
  for (int32_t e = 0; e < obj.edges.count(); ++e)
    if (obj.edges[e].active())
      any[obj.edges[e].Head] = any[obj.edges[e].Tail] = e;
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    moVertex &vertex = obj.vertices[v];
    const bool current = vertex.active() && obj.edges[vertex.EdgeIndex].active();
    if (!current)
      vertex.EdgeIndex = any[v];
  }
}

// Removes from obj everything on the side `drop` of the plane: the vertices there, the faces
// without a corner on the kept side, and the edges touching a removed vertex or left without
// faces. A kept face that still reaches across the plane is a slicing fault.
void keepSide(moObject &obj, const std::vector<int8_t> &side, int8_t drop) {
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active())
      continue;
    obj.faceVertices(f, corners);
    const bool keep =
        std::any_of(corners.begin(), corners.end(), [&](int32_t v) { return side[v] == -drop; });
    const bool across =
        std::any_of(corners.begin(), corners.end(), [&](int32_t v) { return side[v] == drop; });
    if (keep && across)
      throw moInvalidTopologyException();
    if (!keep)
      obj.deleteFace(f);
  }
  for (moEdge &d : obj.edges) {
    if (!d.active())
      continue;
    const bool faceless = !obj.faces[d.LeftFace].active() && !obj.faces[d.RightFace].active();
    if (faceless || side[d.Head] == drop || side[d.Tail] == drop)
      d.Head = -1;
  }
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    if (side[v] == drop)
      obj.deleteVertex(v);
  repairVertexEdges(obj);
}

// A copy of obj whose arrays hold just its elements: a freshly sliced object's arrays have just
// doubled, and copying the spare room would cost as much as the elements. Paint and paint
// triangles are left behind: the operation protocol gives the result its paint afterwards.
moObject exactCopy(const moObject &obj) {
  moObject out = withoutGeometry(obj);
  out.reserve(obj.edges.count(), obj.faces.count(), obj.vertices.count());
  for (const moEdge &d : obj.edges)
    out.edges.append(d);
  for (const moFace &f : obj.faces)
    out.faces.append(f);
  for (const moVertex &v : obj.vertices)
    out.vertices.append(v);
  return out;
}

} // namespace

bool planeDividesObject(const moObject &obj, const AxisPlane &plane) {
  bool above = false, below = false;
  for (const moVertex &v : obj.vertices) {
    if (!v.active())
      continue;
    const float d = plane.distance(v.Coordinates);
    above = above || d > kPlaneTolerance;
    below = below || d < -kPlaneTolerance;
  }
  return above && below;
}

moObject planeCutObject(moObject &obj, const AxisPlane &plane) {
  planeSlice(obj, plane);
  moObject upper = exactCopy(obj);
  const std::vector<int8_t> side = vertexSides(obj, plane);
  keepSide(obj, side, 1);
  keepSide(upper, side, -1);
  closeCut(obj, plane.normal());
  closeCut(upper, scale(-1.0f, plane.normal()));
  obj.compact();
  upper.compact();
  return upper;
}

bool planeCut(Scene &scene, int32_t axis) {
  if (axis < 0 || axis > 2)
    return false;
  const AxisPlane plane{axis, 0.0f};
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    const std::vector<int32_t> slots = selectedObjects(scene);
    for (int32_t slot : slots)
      if (!planeDividesObject(*scene.object(slot), plane)) {
        scene.ui().messageBox("The plane does not cut the object.");
        return false;
      }
    ProgressTask progress(scene.ui(), "Cutting", int64_t(slots.size()));
    for (int32_t slot : slots) {
      moObject upper = planeCutObject(*scene.object(slot), plane);
      insertObject(scene, std::make_shared<moObject>(std::move(upper)), "planecut");
      progress.advance();
    }
    scene.clearSelection();
    scene.previousSelection.Clear();
    return true;
  });
}

bool axisMultiCut(Scene &scene, int32_t axis, int32_t count) {
  if (axis < 0 || axis > 2 || count < 1 || count > 2)
    return false;
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    for (int32_t slot : selectedObjects(scene)) {
      moObject &obj = *scene.object(slot);
      float lowest = kFloatMax, highest = -kFloatMax;
      for (const moVertex &v : obj.vertices)
        if (v.active()) {
          lowest = std::min(lowest, (&v.Coordinates.x)[axis]);
          highest = std::max(highest, (&v.Coordinates.x)[axis]);
        }
      const float step = (highest - lowest) / float(count + 1);
      for (int32_t k = 1; k <= count && lowest <= highest; ++k)
        planeSlice(obj, {axis, lowest + float(k) * step});
      obj.compact();
    }
    return true;
  });
}
