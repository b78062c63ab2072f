#include "ops/inset.h"

#include "ops/extrude.h"
#include "ops/selected_entries.h"

#include <algorithm>
#include <cmath>

namespace {

float distanceToSegment(const moVec3 &p, const moVec3 &a, const moVec3 &b) {
  const moVec3 ab = subtract(b, a);
  const float len2 = lengthSquared(ab);
  const float t = len2 > 0 ? std::clamp(dot(subtract(p, a), ab) / len2, 0.0f, 1.0f) : 0.0f;
  return distance(p, add(a, scale(t, ab)));
}

} // namespace

void insetFace(moObject &obj, int32_t f, const moVec3 &n, float a) {
  if (!obj.faces.contains(f) || !obj.faces[f].active())
    return;
  std::vector<int32_t> corners;
  const size_t k = size_t(obj.faceVertices(f, corners));
  std::vector<moVec3> p(k), offset(k);
  std::vector<float> scaleOf(k);
  for (size_t i = 0; i < k; ++i)
    p[i] = obj.vertices[corners[i]].Coordinates;
  for (size_t i = 0; i < k; ++i) {
    const moVec3 &h = p[i];
    const moVec3 u = unit(subtract(p[(i + k - 1) % k], h)), w = unit(subtract(p[(i + 1) % k], h));
    const float uw = dot(u, w);
    scaleOf[i] = uw >= 1.0f ? 1.0f : float(std::sqrt(2.0) / std::sqrt(1.0 - uw));
    offset[i] = scale(scaleOf[i], unit(cross(subtract(w, u), n)));
  }
  if (a > 0)
    for (size_t i = 0; i < k; ++i)
      for (size_t j = 0; j < k; ++j) {
        // Side j runs from corner j - 1 to corner j; the two sides at corner i do not count.
        if (j == i || j == (i + 1) % k)
          continue;
        const float x =
            distanceToSegment(p[i], p[(j + k - 1) % k], p[j]) / (scaleOf[i] + 1) - 0.01f;
        if (x < 0)
          return;
        a = std::min(a, x);
      }
  for (size_t i = 0; i < k; ++i)
    obj.vertices[corners[i]].Coordinates = add(p[i], scale(a, offset[i]));
}

bool Inset(Scene &scene) {
  const OperationRules rules{true, modeBit(moFACES) | modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] {
    const std::vector<ElementRef> entries = liveEntries(scene);
    if (scene.mode == moFACES) {
      scene.elementVectors.clear();
      for (int32_t i = 0; i < scene.selection.Count(); ++i) {
        const ElementRef ref = scene.selection.Get(i);
        const bool live = scene.elementExists(ref, moFACES);
        scene.elementVectors.push_back(
            live ? scene.object(ref.object)->faceNormal(ref.element, true) : moVec3{});
      }
    }
    for (int32_t slot : selectedSlots(scene)) {
      moObject &obj = *scene.object(slot);
      std::vector<int32_t> faces = elementsOf(entries, slot);
      if (scene.mode == moOBJECTS) {
        faces.clear();
        for (int32_t f = 0; f < obj.faces.count(); ++f)
          if (obj.faces[f].active())
            faces.push_back(f);
      }
      std::sort(faces.begin(), faces.end());
      faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
      extrudeFaces(obj, faces);
    }
    return true;
  });
}

void insetStep(Scene &scene, float a) {
  if (scene.mode == moFACES) {
    for (int32_t i = 0; i < scene.selection.Count(); ++i) {
      const ElementRef ref = scene.selection.Get(i);
      if (scene.elementExists(ref, moFACES) && size_t(i) < scene.elementVectors.size())
        insetFace(*scene.object(ref.object), ref.element, scene.elementVectors[size_t(i)], a);
    }
    return;
  }
  if (scene.mode != moOBJECTS)
    return;
  for (int32_t slot : selectedSlots(scene)) {
    moObject &obj = *scene.object(slot);
    const moObject *before = scene.backup.get(slot);
    const int32_t count = before ? std::min(before->faces.count(), obj.faces.count()) : 0;
    for (int32_t f = 0; f < count; ++f)
      if (obj.faces[f].active())
        insetFace(obj, f, obj.faceNormal(f, true), a);
  }
}
