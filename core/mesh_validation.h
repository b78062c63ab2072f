// Consistency tests of a winged-edge mesh and text dumps of its elements. The tests write their
// findings to standard error (verbose) and return whether the mesh passed; nothing here changes
// a mesh. Every dump line is flushed.
#pragma once

#include "core/mesh.h"

#include <ostream>

// Fields of an active edge are set and distinct where the winged-edge form needs them;
// inactive edges pass.
bool edgeInternallyValid(const moEdge &e);
// Edge e's vertices, faces and wings are active and every wing points back at e through the
// field its position requires. Verbose reports each failure ("  edge N ...") and dumps the edge.
bool edgeLocallyValid(const moObject &object, int32_t e, bool verbose);
// Every active edge internally and locally valid, every active vertex and face naming an active
// edge that holds it. Verbose reports every finding and goes on; quiet stops at the first and
// reports nothing.
bool objectLocallyValid(const moObject &object, bool verbose);

void dumpVertex(std::ostream &out, const moVertex &vertex);
void dumpEdge(std::ostream &out, const moEdge &edge);
void dumpFace(std::ostream &out, const moFace &face);
