#include "ops/flip_evert.h"

#include "ops/selected_objects.h"

#include <functional>

namespace {

bool forEachSelectedObject(Scene &scene, const std::function<void(moObject &)> &change) {
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    for (int32_t slot : selectedObjects(scene))
      change(*scene.object(slot));
    return true;
  });
}

} // namespace

void flipObject(moObject &obj, int32_t axis) {
  moVec3 factors{1, 1, 1};
  (axis == 1 ? factors.y : axis == 2 ? factors.z : factors.x) = -1;
  obj.scaleAbout(obj.objectCentroid(), factors);
  obj.flipOrientation();
}

bool flipObjects(Scene &scene, int32_t axis) {
  if (axis < 0 || axis > 2)
    return false;
  return forEachSelectedObject(scene, [axis](moObject &obj) { flipObject(obj, axis); });
}

bool evertObjects(Scene &scene) {
  return forEachSelectedObject(scene, [](moObject &obj) { obj.flipOrientation(); });
}
