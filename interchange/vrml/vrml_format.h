// VRML 2.0 (".wrl"). The reader parses a file with the general VRML 2.0 parser and converts its
// shapes with indexed face sets, their appearance and the grouping around them into an
// interchange tree; the writer turns an export tree into the text of a ".wrl" file. Neither
// touches the disk (see format_registry.h), and the reader fetches nothing a file names.
#pragma once

#include "interchange/gx_element.h"
#include "interchange/obj/obj_format.h"

#include <ostream>
#include <string>
#include <string_view>

// Reads a VRML 2.0 file: every top-level node becomes an instance under the root; grouping nodes
// give instances with an identity "matrix" (their transforms are not applied) and a "children"
// list; each shape gives a body named after the shape (or its geometry, or "Body_<n>"), with the
// faces of its indexed face set, and a material named after its appearance. A shape used again
// through USE adds an instance of the same body, not a second body. Problems are reported on
// diagnostics; a file that cannot be parsed (see parseVrml) gives a root without instances, and
// a file whose shapes would outgrow the reader's limits loses the shapes past them, with a
// message. Returns the tree (the caller owns it); null only when memory runs out. Inline files
// are never read: companions is not used.
GxElement *readVrml(std::string_view bytes, const CompanionReader &companions,
                    std::ostream &diagnostics);

// Writes the VRML text of an export tree into out: one group per body holding one shape per face
// part, with its appearance, its index fields and (in the body's first shape; later ones USE
// them) its coordinate, colour, texture coordinate and normal nodes. Names are made into valid
// VRML names ('_' for every character a name may not hold). Lines end in CR LF. Returns 0; 2
// (with "Root node passed to vrmlWriter is NULL" on diagnostics) when tree is null.
int writeVrml(const GxElement *tree, std::string &out, std::ostream &diagnostics);

// Whether bytes start with the VRML 2.0 header "#VRML V2.0".
bool sniffVrml(std::string_view bytes);

// name made into a valid VRML name: each character a name may not hold becomes '_', and a name
// that is empty or starts like a number gets a leading '_'.
std::string vrmlName(const std::string &name);
