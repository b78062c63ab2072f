// Chip off: copies of the selected faces become new objects of their own (closed over their
// holes) and a move drag carries them away; the source objects stay as they were.
#pragma once

#include "scene/scene.h"

// Faces mode. For every object with selected faces, in slot order, a new object
// "unnamed_object" in the first free slot is built from copies of its selected faces; the
// selection then names the copies, and the auxiliary vertex list is filled for a move (offset
// directions with normals). Cancelling or undoing empties the selection. On a fault the scene is
// restored, the selection cleared and the result is false. Returns false in other modes.
bool ChipOff(Scene &scene, bool normals);
// The same with one new object per selected face, named "chipoff" and its slot number; each
// selection entry becomes face 0 of its object.
bool ChipOffEach(Scene &scene, bool normals);
