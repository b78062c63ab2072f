// Puff (a script-only command): every vertex of the selected objects moves along the outward
// direction of the faces around it, driven by the puff drag (kDragPuff).
#pragma once

#include "scene/scene.h"

#include <vector>

// Per vertex slot of obj (inactive ones get zero): the sum, over the vertex's edges, of the unit
// normals of each edge's two faces; it points out of the surface.
std::vector<moVec3> puffVectors(const moObject &obj);

// Puff setup (moOBJECTS, no painted-object guard): saves undo and fills the element vectors with
// puffVectors of every selected object, one object after another in selection order. After a
// failure the scene is restored and the selection cleared. Returns whether it ran.
bool puffObjects(Scene &scene);

// One puff drag step: every vertex of the selected objects moves by amount / (number of its
// edges) times its element vector. Does nothing when the element vectors do not match the
// selection (no puff was set up for it).
void puffStep(Scene &scene, float amount);
