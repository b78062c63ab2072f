#include "ops/selected_entries.h"

#include "ops/mesh_rebuild.h"

#include <algorithm>

std::vector<int32_t> selectedSlots(const Scene &scene) {
  std::vector<int32_t> slots;
  std::vector<bool> seen;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const int32_t slot = scene.selection.Get(i).object;
    if (slot < 0 || !scene.object(slot))
      continue;
    if (size_t(slot) >= seen.size())
      seen.resize(size_t(slot) + 1);
    if (!seen[size_t(slot)]) {
      seen[size_t(slot)] = true;
      slots.push_back(slot);
    }
  }
  return slots;
}

std::vector<int32_t> elementsOf(const std::vector<ElementRef> &entries, int32_t slot) {
  std::vector<int32_t> out;
  for (const ElementRef &ref : entries)
    if (ref.object == slot)
      out.push_back(ref.element);
  return out;
}

void requireSoundObjects(const Scene &scene, const std::vector<int32_t> &slots) {
  for (int32_t slot : slots)
    if (const moObject *obj = scene.object(slot))
      requireSoundMesh(*obj);
}
