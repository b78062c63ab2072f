// Rotate: turning the selection about the viewing direction, an axis, or each element's normal.
#pragma once

#include "scene/scene.h"

// Rotate setup: saves undo, drops entries of hidden or insensitive objects, then fills the pivots
// (element centres) and, with normals, the axes (element vectors): vertex mode one centre, the
// mean of the selected vertices, and each vertex's normal; objects mode each object's centre;
// edges and faces mode one centre and normal per entry, shared by the entries of one connected
// region (see regionFrames). Returns false in modes without elements. A fault is recovered
// (state restored, selection cleared) and gives false.
bool Rotate(Scene &scene, bool normals, bool centres);

// Turns the selection by degrees about the unit axis: vertex mode about element centre 0, edges
// and faces mode each entry's vertices (each vertex once) about its own centre, objects mode every
// live vertex of object i about centre i. Nothing moves for a zero axis or missing centres.
void rotateSelection(Scene &scene, const moVec3 &axis, float degrees);

// Edges and faces mode only: entry i turns by degrees about element vector i through element
// centre i, each vertex once. Other modes move nothing.
void rotateAboutNormals(Scene &scene, float degrees);
