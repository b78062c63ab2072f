#include "ops/measurements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string fixed(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", std::fabs(value) < 0.0005f ? 0.0 : double(value));
  return text;
}

std::string triple(const moVec3 &v, const char *between) {
  return fixed(v.x) + between + fixed(v.y) + between + fixed(v.z);
}

const moObject *objectWith(const Scene &scene, const ElementRef &ref) {
  return scene.elementExists(ref, scene.mode) ? scene.object(ref.object) : nullptr;
}

std::string distance(const Scene &scene) {
  const ElementRef a = scene.selection.Get(0), b = scene.selection.Get(1);
  const moObject *oa = objectWith(scene, a), *ob = objectWith(scene, b);
  if (!oa || !ob)
    return "";
  const moVec3 d =
      subtract(ob->vertices[b.element].Coordinates, oa->vertices[a.element].Coordinates);
  return "Distance " + fixed(length(d)) + " (x " + fixed(d.x) + ", y " + fixed(d.y) + ", z " +
         fixed(d.z) + ")";
}

std::string edgeLength(const Scene &scene) {
  const ElementRef e = scene.selection.Get(0);
  const moObject *obj = objectWith(scene, e);
  if (!obj)
    return "";
  const moEdge &edge = obj->edges[e.element];
  return "Edge length " + fixed(length(subtract(obj->vertices[edge.Head].Coordinates,
                                                obj->vertices[edge.Tail].Coordinates)));
}

std::string face(const Scene &scene) {
  const ElementRef f = scene.selection.Get(0);
  const moObject *obj = objectWith(scene, f);
  if (!obj)
    return "";
  const float area = 0.5f * length(obj->faceNormal(f.element, false));
  return "Face area " + fixed(area) + ", normal (" +
         triple(obj->faceNormal(f.element, true), ", ") + ")";
}

std::string objectSize(const Scene &scene) {
  const moObject *obj = scene.object(scene.selection.Get(0).object);
  if (!obj)
    return "";
  moVec3 low{0, 0, 0}, high{0, 0, 0};
  bool any = false;
  for (int32_t v = 0; v < obj->vertices.count(); ++v) {
    if (!obj->vertices[v].active())
      continue;
    const moVec3 &p = obj->vertices[v].Coordinates;
    low = any ? moVec3{std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)} : p;
    high = any ? moVec3{std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)} : p;
    any = true;
  }
  return any ? "Object size " + triple(subtract(high, low), " x ") : "";
}

} // namespace

std::string measureSelection(const Scene &scene) {
  const int32_t n = scene.selection.Count();
  switch (scene.mode) {
  case moVERTICES:
    return n == 2 ? distance(scene) : "";
  case moEDGES:
    return n == 1 ? edgeLength(scene) : "";
  case moFACES:
    return n == 1 ? face(scene) : "";
  case moOBJECTS:
    return n == 1 ? objectSize(scene) : "";
  default:
    return "";
  }
}
