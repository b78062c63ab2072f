// The shaping transforms: Flatten (applied at once), and the setups and drag steps of Tighten and
// Twist.
#pragma once

#include "scene/scene.h"

// Flattens the selection at once, without a drag. Vertex mode: the selected vertices move onto
// the plane through their mean with normal axis (with normals the normal is the zero vector, so
// nothing moves but the command succeeds). Faces mode: each connected region of selected faces
// moves onto the plane through its pivot with the region's normal (normals) or axis. Empties the
// element vectors and centres and saves undo; false in edges, objects and free mode. A fault is
// recovered (state restored, selection cleared) and gives false.
bool Flatten(Scene &scene, bool normals, const moVec3 &axis);

// Tighten setup: saves undo and lists the moving vertices (the selection in vertex mode,
// otherwise the previous-selection list: the ends of selected edges or corners of selected faces,
// once each, or every live vertex of each selected object from the highest index down); each
// element vector becomes the mean of the vertex's neighbours minus the vertex. False in free mode.
bool Tighten(Scene &scene);
// One tighten step of amount m: every moving vertex moves by 0.1 m times its element vector, then
// the vectors are recomputed from the new positions.
void tightenStep(Scene &scene, float m);

// Twist setup: saves undo, drops entries of hidden or insensitive objects and takes each entry's
// object centre as its element centre. False in free mode.
bool Twist(Scene &scene);
// One twist step of amount m (objects mode only): each live vertex p of object i turns about the
// unit axis through centre i by m * ((p - centre) . axis) degrees, so that the two sides of the
// centre turn in opposite directions.
void twistStep(Scene &scene, float m, const moVec3 &axis);
