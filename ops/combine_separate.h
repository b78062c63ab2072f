// Combine joins the selected objects into the first one; Separate splits every selected object
// into its connected pieces.
#pragma once

#include "scene/scene.h"

#include <vector>

// Appends b's vertices, edges and faces to a, renumbered after a's own: b's element i becomes
// i + a's count before the call (inactive slots included). a's triangle lists are emptied.
// Throws moTooManyFacesException (a unchanged) when the faces would not fit.
void mergeInto(moObject &a, const moObject &b);

// Moves every connected piece of obj but the one holding its lowest active edge into new objects
// (attributes from obj, elements in their old order, dense), one per piece in the order of their
// lowest edges, and compacts obj. Returns nothing new for an object of one piece.
std::vector<moObject> splitComponents(moObject &obj);

// Combine (moOBJECTS): merges every further selected object into the first in selection order
// and removes it; clears the selection. After a failure the scene is restored and the selection
// cleared. Returns whether it ran.
bool combineObjects(Scene &scene);

// Separate (moOBJECTS): every piece but the first of each selected object becomes an object
// "separate%d" in the lowest empty slot; clears the selection and the previous selection. After
// a failure the scene is restored and the selection cleared. Returns whether it ran.
bool separateObjects(Scene &scene);
