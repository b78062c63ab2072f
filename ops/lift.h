// Lifting a face off the mesh on a hinge edge or a pivot vertex, the two-step operations that the
// model window completes after one pick. The face is extruded except at the hinge or pivot, so
// it can swing open or be pushed out while staying joined there.
#pragma once

#include "scene/scene.h"

// Faces mode, exactly one selected face ("LiftFromEdge Implemented for one element only"
// otherwise) and a picked edge of the same object ("can only lift face from edge on same
// body!"); an edge that does not border the face changes nothing and gives false. The face's
// other corners get new vertices, listed in the previous-selection list. With normals the drag
// is kind 10 (element vectors: the face normal for each), otherwise kind 9 (element vector 0:
// the hinge axis, element centre 0: the hinge's Tail). On a fault the scene is restored, the
// selection cleared and the result is false. Symmetry does not apply to either lift (the picked
// hinge has no image).
bool LiftFromEdge(Scene &scene, const ElementRef &pickedEdge, bool normals);
// The same on a picked corner of the face as pivot ("LiftFromVertex Implemented for one element
// only", "can only lift face from vertex on same body!"); drag kind 12 with normals, otherwise
// 11 (the axis lies in the face plane, across the line from the pivot to the face centre).
bool LiftFromVertex(Scene &scene, const ElementRef &pickedVertex, bool normals);

// Drag kinds 9 and 11: turns the lifted vertices by `degrees` about element vector 0 through
// element centre 0; positive angles lift the face outward.
void liftRotateStep(Scene &scene, float degrees);
// Drag kinds 10 and 12: moves lifted vertex i by a times element vector i.
void liftMoveStep(Scene &scene, float a);
