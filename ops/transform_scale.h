// Scale: growing or shrinking the selection about per-element centres.
#pragma once

#include "ops/entry_vertices.h"
#include "scene/scene.h"

#include <vector>

// Scale setup: saves undo, drops entries of hidden or insensitive objects and fills the element
// centres (elementCentresNow). Returns false in modes without elements. A fault is recovered
// (state restored, selection cleared) and gives false.
bool Scale(Scene &scene);

// Scales by the component-wise factors: vertex mode about centres[0]; edges and faces mode each
// vertex of the selected elements once, displaced by the average over the selected elements it
// belongs to of (factors - 1) * (p - that element's centre); objects mode every live vertex of
// object i about centres[i]. Entries without a centre do not move.
void scaleSelection(Scene &scene, const moVec3 &factors, const std::vector<moVec3> &centres);
