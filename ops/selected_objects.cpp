#include "ops/selected_objects.h"

#include <unordered_set>
#include <utility>

std::vector<int32_t> selectedObjects(const Scene &scene) {
  std::vector<int32_t> slots;
  std::unordered_set<int32_t> seen;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    if (scene.objectOf(ref, true) && seen.insert(ref.object).second)
      slots.push_back(ref.object);
  }
  return slots;
}

int32_t insertObject(Scene &scene, ObjectPtr obj, const char *prefix) {
  moObject &inserted = *obj;
  const int32_t slot = scene.objects.insert(std::move(obj));
  if (prefix)
    inserted.name = prefix + std::to_string(slot);
  return slot;
}

moObject withoutGeometry(const moObject &source) {
  moObject out(source.name.c_str(), source.ownerGroup);
  out.visible = source.visible;
  out.sensitive = source.sensitive;
  out.shaded = source.shaded;
  out.showTexture = source.showTexture;
  out.material = source.material;
  return out;
}
