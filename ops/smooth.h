// Smooth: one subdivision step that splits every face into four-sided faces and rounds the
// shape, keeping hard edges sharp.
#pragma once

#include "scene/scene.h"

// A new object with source's attributes: each face of k corners becomes k four-sided faces
// (corner, edge point, face point, edge point) with the corner colours carried over (edge and
// face points take averages). Face points are face centres; an edge point is the mean of the
// edge's ends and its two face points, or the midpoint for a hard edge; an old vertex stays with
// three or more hard edges, takes (6V + A + B) / 8 with exactly two (A, B their far ends), and
// ((n - 2) / n) V + (far ends + face points around it) / n^2 otherwise. Old vertices keep their
// order first, then one point per edge, then one per face. Throws moTooManyFacesException when
// the result would not fit in an object. With surface, it also gets where each new vertex lies on
// the source's surface: the old vertex itself, the middle of the old edge, the old face's
// centroid.
moObject subdivide(const moObject &source, std::vector<moVec3> *surface = nullptr);

// Smooth (moOBJECTS): replaces every selected object by its subdivision; the selection stays.
// Reports progress per object. After a failure the scene is restored and the selection cleared;
// stopped by the user, the scene is restored and the selection kept. Returns whether it ran.
bool smooth(Scene &scene);
