// Move: translating the selection freely, along an axis or along per-element normals.
#pragma once

#include "scene/scene.h"

#include <functional>

// Move setup: saves undo, drops entries of hidden or insensitive objects; with normals, vertex
// mode takes each selected vertex's normal as its element vector; edges and faces mode build the
// auxiliary vertex list (updateAuxSelectionForMove). Returns false in modes without elements
// (nothing changes but the undo backup). A fault is recovered (state restored, selection
// cleared) and gives false. With symmetry on, the selection keeps its own elements and their
// mirror vertices follow every drag step (MirrorRule::Follow), as for Rotate, Scale, Flatten and
// Tighten.
bool Move(Scene &scene, bool normals);

// Calls fn(object, vertex, i) for each vertex a translation moves: the selected vertices (i the
// entry), every live vertex of each selected object (i counts on over the objects), or the
// auxiliary vertex list in edges and faces mode (i the list position). Missing objects and
// elements are skipped; i still counts them.
void forEachMovingVertex(Scene &scene,
                         const std::function<void(moObject &, int32_t v, int32_t i)> &fn);

// Moves every moving vertex by v.
void translateSelection(Scene &scene, const moVec3 &v);

// Moves selected vertices (vertex mode) or auxiliary vertices (edges and faces mode) by a times
// their element vectors. Objects and free mode show "normalMove has mode of ..." and move
// nothing.
void normalMove(Scene &scene, float a);

// The noise drags, re-seeded with 54321 at every step so that one amount always gives the same
// shape: each moving vertex i draws r in 0..32767 and moves by m * r / 32767 along its element
// vector (alongVectors) or along axis; with random directions it moves by m / 32767 times a
// vector of three draws.
enum class NoiseKind { AlongVectors, AlongAxis, Random };
void noiseStep(Scene &scene, NoiseKind kind, float m, const moVec3 &axis);
