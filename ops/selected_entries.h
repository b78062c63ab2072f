// Snapshots of the selection for operations that change the mesh while they walk it.
#pragma once

#include "scene/scene.h"

#include <vector>

// The object slots the selection names, each once, in selection order.
std::vector<int32_t> selectedSlots(const Scene &scene);
// The selected elements of object `slot` in selection order.
std::vector<int32_t> elementsOf(const std::vector<ElementRef> &entries, int32_t slot);
// requireSoundMesh on each object of the listed slots that still exists.
void requireSoundObjects(const Scene &scene, const std::vector<int32_t> &slots);
