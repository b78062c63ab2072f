#include "ops/drag_origin.h"

void DragOrigin::capture(const Scene &scene) {
  clear();
  captured_ = true;
  for (int32_t slot = 0; slot < scene.objects.count(); ++slot) {
    const moObject *obj = scene.object(slot);
    // An object the backup shares is one the operation does not change.
    if (!obj || (slot < scene.backup.count() && scene.backup.get(slot) == obj))
      continue;
    std::vector<moVec3> kept(size_t(obj->vertices.count()));
    for (int32_t v = 0; v < obj->vertices.count(); ++v)
      kept[size_t(v)] = obj->vertices[v].Coordinates;
    coordinates_.emplace_back(slot, std::move(kept));
  }
  elementVectors_ = scene.elementVectors;
  elementCentres_ = scene.elementCentres;
  previousSelection_ = scene.previousSelection;
}

bool DragOrigin::restore(Scene &scene) const {
  if (!captured_)
    return false;
  bool whole = true;
  for (const auto &[slot, kept] : coordinates_) {
    moObject *obj = scene.object(slot);
    if (!obj || size_t(obj->vertices.count()) != kept.size()) {
      whole = false;
      continue;
    }
    for (int32_t v = 0; v < obj->vertices.count(); ++v)
      obj->vertices[v].Coordinates = kept[size_t(v)];
  }
  scene.elementVectors = elementVectors_;
  scene.elementCentres = elementCentres_;
  scene.previousSelection = previousSelection_;
  return whole;
}

void DragOrigin::clear() {
  captured_ = false;
  coordinates_.clear();
  elementVectors_.clear();
  elementCentres_.clear();
  previousSelection_.Clear();
}

bool DragOrigin::position(int32_t slot, int32_t vertex, moVec3 &out) const {
  for (const auto &[kept, points] : coordinates_)
    if (kept == slot && vertex >= 0 && size_t(vertex) < points.size()) {
      out = points[size_t(vertex)];
      return true;
    }
  return false;
}
