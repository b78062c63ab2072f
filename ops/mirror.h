// Mirror: each selected face becomes a mirror plane; the object is copied across it and the two
// halves are welded into one closed object. Also the mirrored copy of a whole object.
#pragma once

#include "scene/scene.h"

// WeldFaces: removes faces a and b of obj, which lie on each other, and joins their boundaries
// corner to corner (paired as Bridge pairs them), so the surfaces on both sides become one.
// Returns null when done, or the refusal with obj unchanged: "Cannot weld neighboring faces."
// (they share a vertex or an edge) or the pairing's.
const char *weldFaces(moObject &obj, int32_t a, int32_t b);

// Mirror (moFACES): for each selected face whose plane no earlier selected face of its object
// shares, a mirrored copy of the object is welded on at that face; faces in a plane already
// mirrored are welded to their images in that copy. Clears the selection and the previous
// selection. A weld refusal is shown and, like any failure, restores the scene and clears the
// selection. Returns whether it ran. Symmetry does not apply: the faces are mirror planes.
bool mirrorFaces(Scene &scene);

// The mirrored copy, completed by a face pick: needs exactly one selected object (moOBJECTS) and
// a picked face on it; the object is copied into the lowest empty slot as "mirror%d" and
// mirrored in the picked face's plane. Shows "copyMirrored Implemented for one element only"
// (and goes on with the first object unless none is selected) or "copyMirrored: selected face
// not on selected object". Returns whether a copy was made.
bool copyMirrored(Scene &scene, const ElementRef &pickedFace);
