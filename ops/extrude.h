// Extrude (vertices, edges, faces) and Extrude region: the topology is built at once with the new
// vertices exactly on the old ones, then a move drag (free, axis or normal) pulls it out.
#pragma once

#include "core/mesh.h"
#include "scene/scene.h"

#include <vector>

// --- Mesh level. Each throws the element-limit exceptions (the face limit before anything
// changes) and moInvalidTopologyException; the object may then be half-changed. ---

// Extrudes each face on its own: k new vertices on its k corners, an edge from each corner to
// its new vertex and between consecutive new vertices; the face moves onto the new edges (it
// keeps its index) and k four-sided faces fill the ring, their corners coloured like the corner
// they start from. Corners listed in `pinned` keep their vertex (no new one; the side faces there
// are triangles, and none is made along an edge with both ends pinned). Returns the new vertices
// of each face in face order, a pinned corner giving its own vertex.
std::vector<std::vector<int32_t>> extrudeFaces(moObject &obj, const std::vector<int32_t> &faces,
                                               const std::vector<int32_t> &pinned = {});
// Extrudes the faces as regions: edges between two listed faces stay shared; every boundary
// edge gets a four-sided side face between the old boundary and the region's new one. A vertex
// where the region touches itself only at that vertex gets a new vertex per touching fan.
void extrudeRegion(moObject &obj, const std::vector<int32_t> &faces);
// Splits every edge at each vertex at `length` from it (a length <= 0 counts as 1; shorter
// edges stay whole) and cuts each face around the vertex between its two split points, so that
// the vertex stands on a ring of new faces.
void extrudeVertices(moObject &obj, const std::vector<int32_t> &vertices, float length);
// The same around the ends of the edges, except that along a chain of selected edges the faces
// beside it are cut once between the split points before and after the chain, so that the
// edges can be pulled out as a ridge.
void extrudeEdges(moObject &obj, const std::vector<int32_t> &edges, float length);

// --- Scene level: the operation protocol around the mesh functions. On a fault the scene is
// restored, the selection cleared and the result is false. ---

// Vertices: with normals the element vectors become the vertex normals (before the cut), then
// extrudeVertices; the drag moves the selected vertices. Edges and faces: extrudeEdges or
// extrudeFaces per object, then the auxiliary vertex list for a move (with offset directions for
// normals). Returns false in other modes.
bool Extrude(Scene &scene, float length, bool normals);
// Faces mode: extrudeRegion per object, then the auxiliary vertex list for a move.
bool ExtrudeRegion(Scene &scene, bool normals);
