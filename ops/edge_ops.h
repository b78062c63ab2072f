// The immediate edge, vertex and face operations: Connect, Collapse (Delete), Dissolve, Cut edges,
// the face cut between two picked vertices, hardness, crease angle and Apply color. Each follows
// the operation protocol (painted-object guard where topology or colours change, undo saved,
// mode check, entries of hidden objects dropped). On a mesh fault the scene is restored to its
// state before the operation, the selection is cleared and the result is false. A refusal shows
// its message, leaves that element as it was and goes on with the next.
#pragma once

#include "scene/scene.h"

// Vertices: cuts every face around the selected vertices between its selected corners; the
// selection is kept. Edges: splits every selected edge at its middle and connects the middle
// points along the faces beside them; middle points left unconnected are removed again and the
// selection is cleared. Fewer than two entries are refused before anything changes. Returns
// false in other modes and on a refusal.
bool Connect(Scene &scene);
// Collapses each selected vertex, edge or face, then compacts the objects; an object left
// without edges (or, for faces, failing the validity test) is removed. Objects mode removes the
// selected objects. An empty selection is refused ("You must have objects selected"). The
// selection and both vector arrays are emptied.
bool Collapse(Scene &scene);
// The Delete command of the Edit menu and keys: Collapse, but only of objects.
bool DeleteSelected(Scene &scene);
// Edges: dissolves each selected edge, joining its faces. Faces: rebuilds each object from its
// undo copy without the selected faces and closes each hole with one new face. The selection is
// emptied. Returns false in other modes.
bool Dissolve(Scene &scene);
// Cuts each selected edge into n pieces of equal length (n from 1 to 1000); the selection then
// holds every piece and the previous selection the edges before. Edges mode only.
bool CutEdges(Scene &scene, int32_t n);
// Cuts the one selected face between the two vertices picked after it (the first two entries
// of the previous-selection list): a new edge from the first pick to the second. Symmetry does
// not apply (the picks have no images).
bool freeCut(Scene &scene);
// Sets the hard flag of the selected edges, or of every edge of the selected objects.
bool SetHard(Scene &scene, bool value);
// Objects mode: stores the angle and makes every edge hard whose faces meet at more than it.
bool CreaseAngle(Scene &scene, float degrees);
// Paints the current colour on the corners of the selected vertices, edges or faces; on
// selected objects it becomes the material colour and every corner takes it.
bool ApplyColor(Scene &scene);
