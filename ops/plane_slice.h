// Slicing an object by an axis plane so that no face crosses it: the building block of Plane Cut
// and Axis Multi Cut, with the two local edits it is made of.
#pragma once

#include "core/mesh.h"

// Points whose distance from a cut plane is below this count as lying on it.
constexpr float kPlaneTolerance = 0.0001f;

// The plane where coordinate `axis` (0 x, 1 y, 2 z) equals offset.
struct AxisPlane {
  int32_t axis = 0;
  float offset = 0;
  float distance(const moVec3 &p) const { return (&p.x)[axis] - offset; }
  moVec3 normal() const;
};

// Splits edge e at p, a fraction t of the way from its Tail: e then ends at the new vertex and a
// new edge runs on to the old Head, both in e's two faces. The corner colours at the new vertex
// are interpolated along each face. Returns the new vertex. Throws the element-limit exceptions.
int32_t splitEdge(moObject &obj, int32_t e, const moVec3 &p, float t);

// Divides face f by a new edge from corner v to corner w, which must be distinct corners of f
// that are not neighbours along it. f keeps the corners from v round to w, a new face (returned)
// the corners from w round to v; the new edge's corners take the colours f had there. Throws
// moTooManyFacesException with nothing changed, moInvalidTopologyException for corners not on f.
int32_t cutFace(moObject &obj, int32_t f, int32_t v, int32_t w);

// Splits every edge crossing the plane at the crossing and divides the faces along it, so that
// afterwards no face has corners on both sides. Faces lying in the plane are left whole.
// Throws the element-limit exceptions (obj then half sliced).
void planeSlice(moObject &obj, const AxisPlane &plane);
