// The directions the transform operations move vertices along: the vertex normal, the offset
// direction of a normal move over selected edges or faces, and the auxiliary vertex list that a
// move of edges or faces drags.
#pragma once

#include "core/mesh.h"
#include "scene/scene.h"

#include <functional>

// The smooth normal of vertex v: per face corner at v, the corner's own normal weighted by how
// sharp the corner is, falling back on the face normal at reflex or nearly straight corners;
// normalised. (0, 0, 0) for an inactive vertex. Throws moInvalidTopologyException for a broken
// edge ring.
moVec3 vertexNormal(const moObject &obj, int32_t v);

// Calls fn(face, edge) once for each face around v, with the face's edge that leaves v.
void forEachFaceAtVertex(const moObject &obj, int32_t v,
                         const std::function<void(int32_t face, int32_t leaving)> &fn);

// The direction in which vertex v moves when the selected elements around it (faces, or edges,
// by mode) move along their normals: every selected face plane around v moves by the same
// distance, and a selected edge's vertices stay in the plane through the edge's normal. Scaled so
// that one step of 1 moves each plane by 1; (0, 0, 0) when the normals cancel or nothing around v
// is selected. selected(element) tells whether an element of this object is selected.
moVec3 offsetDirection(const moObject &obj, int32_t v, SelectionMode mode,
                       const std::function<bool(int32_t)> &selected);

// Vertex mode: the element vectors become the normals of the selected vertices, one per entry
// ((0, 0, 0) for an entry naming no live vertex).
void fillVertexNormals(Scene &scene);

// Fills the auxiliary vertex list (the scene's previous-selection list) with every vertex of the
// selected edges (Head, then Tail) or faces (in face order), each once in order of discovery;
// with normals the element vectors become their offset directions. In vertices or objects mode it
// shows a message instead and leaves both lists empty. Entries of missing objects or elements are
// skipped.
void updateAuxSelectionForMove(Scene &scene, bool normals);
