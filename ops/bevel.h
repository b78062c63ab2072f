// Bevel: vertices are cut off into small faces, edges replaced by narrow faces with small faces
// at their ends; the drag then widens or narrows the bevel by moving the new vertices along their
// offsets from the old corners.
#pragma once

#include "core/mesh.h"
#include "scene/scene.h"

#include <vector>

// The new vertices of a bevel, each with its offset from the old vertex it came from.
struct BevelVertices {
  std::vector<int32_t> vertices;
  std::vector<moVec3> offsets;
};

// --- Mesh level. These throw the element-limit exceptions and moInvalidTopologyException; the
// object may then be half-changed. Old vertices and edges are left as inactive slots. ---

// Replaces each edge by a narrow face whose long sides run on the two faces beside it at about
// distance d from the edge, and each end vertex by a small face over the new vertices around it
// (none where only two new vertices meet). Around an end vertex, every other edge ends at a new
// vertex d along it (at most 0.45 of its length), and a face between two bevelled edges gets a
// new corner d along the bisector of its corner. Appends the new vertices to `made`.
void bevelEdges(moObject &obj, const std::vector<int32_t> &edges, float d, BevelVertices &made);

// --- Scene level. On a fault the scene is restored, the selection cleared and the result is
// false. The new vertices are listed in the previous-selection list, their offsets in the element
// vectors; the objects are not compacted, so the listed indices hold through the drag. ---

// Bevels with amount 0.1. Vertices: each selected vertex is cut off (its edges split at 0.1 and
// the vertex collapsed), the selection emptied. Edges: bevelEdges per object, the selection
// emptied. Faces: every edge of the selected faces, the selection kept. Objects: every edge
// sharper than 0.1. Returns false in other modes.
bool Bevel(Scene &scene);
// One drag step (kind 29, a = 5 x 0.05 per pixel): every listed vertex moves by a times its
// offset, a lowered first so that no vertex moves more than 40 % along the first edge it moves
// toward; a step that would move along an edge shorter than 0.025 is skipped. Nothing in objects
// mode.
void bevelStep(Scene &scene, float a);
