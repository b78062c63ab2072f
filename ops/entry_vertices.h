// Walking the vertices of the selected elements, entry by entry.
#pragma once

#include "scene/scene.h"

#include <functional>
#include <vector>

// The modes whose selection holds elements, for OperationRules.
constexpr uint32_t kElementModes =
    modeBit(moVERTICES) | modeBit(moEDGES) | modeBit(moFACES) | modeBit(moOBJECTS);

// Calls fn(object, vertex, entry) for each vertex of each selection entry in selection order:
// vertex mode the vertex, edges mode Head then Tail, faces mode the corners in face order
// (startVertex along nextEdgeOfFace), objects mode every live vertex. With once, a vertex shared
// by several entries is visited only for the first. Entries naming no existing element are
// skipped. Throws moInvalidTopologyException for a broken face ring.
void forEachEntryVertex(Scene &scene, bool once,
                        const std::function<void(moObject &, int32_t v, int32_t entry)> &fn);

// The centres of the selection as it stands now, as scaling and rotation pivot on them: vertex
// mode one centre (the mean of the selected live vertices), otherwise one per entry: edge
// midpoint, face centre or object centre ((0, 0, 0) for an entry naming no existing element).
std::vector<moVec3> elementCentresNow(Scene &scene);
