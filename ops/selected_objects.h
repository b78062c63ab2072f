// Small helpers the object operations share: which objects the selection names, putting a new
// object into the table under a numbered name, and an empty object with another's attributes.
#pragma once

#include "scene/scene.h"

#include <string>
#include <vector>

// The slots of the usable objects the selection names, each once, in selection order.
std::vector<int32_t> selectedObjects(const Scene &scene);

// Puts obj into the lowest empty slot, names it prefix followed by the slot number (unless the
// prefix is null, which keeps its name). Returns the slot.
int32_t insertObject(Scene &scene, ObjectPtr obj, const char *prefix);

// An object without elements that has source's name, flags, material and owner group; no paint.
moObject withoutGeometry(const moObject &source);
