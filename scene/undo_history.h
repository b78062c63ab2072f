// The undo history's bookkeeping that needs no scene: what an object costs to keep.
#pragma once

#include "core/mesh.h"

#include <cstddef>

// The bytes an object's copy holds: its element arrays and its paint image.
size_t objectBytes(const moObject &object);
