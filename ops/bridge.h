// Bridge: joins two faces that look at each other with a ring of four-sided faces, making a
// tunnel through an object or a bridge between two parts. The corner pairing is shared with the
// weld of Mirror.
#pragma once

#include "scene/scene.h"

#include <vector>

// The corners and edges of two faces paired across the gap between them. A is listed
// counter-clockwise seen from outside, B clockwise, so corner i of A faces corner i of B; edge i
// of either joins its corners i and i + 1.
struct FacePairing {
  std::vector<int32_t> aCorners, aEdges, bCorners, bEdges;
};

// Pairs the corners of faces a and b of obj, trying each of b's corners as the partner of a's
// first and keeping the start with the least squared distance across the direction `across`
// (ties keep the first). Returns null, or "Faces do not have same number of edges.  Skipping
// bridge." when the loops differ in length.
const char *pairFaceCorners(const moObject &obj, int32_t a, int32_t b, const moVec3 &across,
                            FacePairing &pairing);

// BridgeFaces: replaces faces a and b of obj by four-sided faces joining their paired corners.
// Returns null when done, or the refusal text with obj unchanged: "Faces are neighbors.  Skipping
// bridge." (they share a vertex or an edge), "Faces co-planar or facing same direction. Skipping
// bridge." or the pairing's. Throws the element-limit exceptions (obj then half changed).
const char *bridgeFaces(moObject &obj, int32_t a, int32_t b);

// Bridge (moFACES): the two selected faces in selection order, or the one selected face and the
// one previous-selection entry; faces of two objects first merge the second object into the
// first. Clears the selection and the previous selection. "Bridge implemented for two faces
// only" for other selections; any refusal or failure restores the scene exactly and clears the
// selection. Returns whether the faces were joined. Symmetry does not apply: the two faces are
// the whole of what it joins.
bool bridge(Scene &scene);
