// Copy: duplicates the selected objects so that the following move drag carries the originals
// away from their copies.
#pragma once

#include "scene/scene.h"

// Copy (moOBJECTS, no painted-object guard): every selected visible, sensitive object gets a full
// copy (geometry, flags, material, paint) named "copy%d" in the lowest empty slot. The selection
// stays on the originals; the caller then starts the free move drag (kDragMoveFree, kOpCopy).
// After a failure the scene is restored and the selection cleared. Returns whether it ran.
bool copyObjects(Scene &scene);
