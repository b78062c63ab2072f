// The mesh-level edits the edge, vertex and face operations are made of: splitting an edge,
// cutting a face, collapsing a vertex, an edge or a face, and dissolving an edge. Each works on
// one object. A refusal shows its message through ui and leaves the object unchanged. They throw
// the element-limit exceptions and moInvalidTopologyException; the object may then be
// half-changed and the caller restores it from its undo copy.
#pragma once

#include "core/mesh.h"
#include "scene/user_interface.h"

// Puts a new vertex at fraction t of the way from v (e's Tail when -1) to e's other end. e keeps
// the part at v and keeps its direction; a new edge takes the rest. The new corner in each face
// blends the colours of its two neighbouring corners. Returns the new edge.
int32_t splitEdge(moObject &obj, int32_t e, float t, int32_t v = -1);
// splitEdge at distance d from v; nothing when d <= 0 or d >= the edge's length. Returns the new
// edge or -1.
int32_t splitEdgeAtDistance(moObject &obj, int32_t e, float d, int32_t v = -1);
// Cuts face f with a new edge from b to a; the edges from a around to b go to a new face, which
// is returned. Refusals (-1): a = b, a or b not a corner of f, an edge already joining them.
int32_t cutFace(moObject &obj, UserInterface &ui, int32_t f, int32_t a, int32_t b);
// Removes vertex v. With d > 0 every edge at v is first split at distance d from v. A vertex of
// two edges joins them into one; otherwise the faces around v become one new face over its
// neighbours, which is returned (-1 otherwise). Refused when two edges lead to the same
// neighbour, or when joining would give an edge twice or a face fewer than three sides.
int32_t collapseVertex(moObject &obj, UserInterface &ui, int32_t v, float d);
// Merges e's higher-numbered end into the lower one, which moves to the midpoint; a face left
// with two sides goes, one of its edges taking the other's place. Returns false on a refusal.
bool collapseEdge(moObject &obj, UserInterface &ui, int32_t e);
// Shrinks face f to a new vertex at its centre; neighbouring triangles left with two sides go.
// Returns false on a refusal.
bool collapseFace(moObject &obj, UserInterface &ui, int32_t f);
// Removes e and joins its two faces into the lower-numbered one (or into `keep`). An end with
// only one other edge is joined to it instead (the vertex goes). Returns false on a refusal.
bool dissolveEdge(moObject &obj, UserInterface &ui, int32_t e, int32_t keep = -1);
