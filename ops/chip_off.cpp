#include "ops/chip_off.h"

#include "ops/mesh_rebuild.h"
#include "ops/selected_entries.h"
#include "ops/transform_directions.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>

namespace {

// Builds an object from copies of the listed faces of object `source` and puts it into the first
// free slot; `faces` then names the copies. Returns the slot.
int32_t chipInto(Scene &scene, int32_t source, std::vector<int32_t> &faces, const char *name) {
  auto chip = std::make_shared<moObject>(name);
  chip->buildFromFaces(faces, *scene.object(source));
  requireSoundMesh(*chip); // faces that touch only at a corner make no sound chip
  return scene.objects.insert(chip);
}

// The selection becomes the chips' faces; the old one is dropped.
void selectChips(Scene &scene, bool normals) {
  scene.selection.Swap(scene.previousSelection);
  scene.previousSelection.Clear();
  updateAuxSelectionForMove(scene, normals);
}

} // namespace

bool ChipOff(Scene &scene, bool normals) {
  const OperationRules rules{true, modeBit(moFACES)};
  return scene.runOperation(rules, [&] {
    scene.clearSelectionOnUndo = true;
    const std::vector<ElementRef> entries = liveEntries(scene);
    std::vector<int32_t> slots = selectedSlots(scene);
    std::sort(slots.begin(), slots.end());
    scene.previousSelection.Clear();
    for (int32_t slot : slots) {
      // Copies are numbered in selection order; a face selected twice is copied once.
      std::vector<int32_t> faces;
      std::unordered_set<int32_t> seen;
      for (int32_t f : elementsOf(entries, slot))
        if (seen.insert(f).second)
          faces.push_back(f);
      const int32_t chip = chipInto(scene, slot, faces, nullptr);
      for (int32_t f : faces)
        scene.previousSelection.Append({f, chip});
    }
    selectChips(scene, normals);
    return true;
  });
}

bool ChipOffEach(Scene &scene, bool normals) {
  const OperationRules rules{true, modeBit(moFACES)};
  return scene.runOperation(rules, [&] {
    scene.clearSelectionOnUndo = true;
    scene.previousSelection.Clear();
    for (const ElementRef &ref : liveEntries(scene)) {
      std::vector<int32_t> face{ref.element};
      const int32_t chip = chipInto(scene, ref.object, face, "chipoff");
      scene.object(chip)->appendToName(std::to_string(chip));
      scene.previousSelection.Append({0, chip});
    }
    selectChips(scene, normals);
    return true;
  });
}
