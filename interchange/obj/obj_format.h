// Wavefront OBJ with its MTL material library. The reader builds a tree of bodies and materials
// from the bytes of an ".obj" file and the ".mtl" files it names; the writer turns an export tree
// into the text of an ".obj" file and of the ".mtl" file beside it. Neither touches the disk: the
// caller hands in the bytes and writes the results (see format_registry.h).
#pragma once

#include "interchange/gx_element.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

// Gives the bytes of a file that a model names (a material library), or false when it cannot be
// read or may not be (a name leading outside the model's folder).
using CompanionReader = std::function<bool(const std::string &name, std::string &bytes)>;

// Reads an OBJ file. Positions and texture coordinates are numbered file-wide, and each body
// holds one item for every one it uses. Faces go into the current body, named after the current
// group or object ("default_name" before the first "g"); a new body starts with the first face
// after a "usemtl" or a change of group name. Every problem is reported on diagnostics as one
// line with its line number and reading goes on with the next line; a face naming a position or
// coordinate that does not exist (or whose numbers were not finite), or with more than 4096
// corners, is left out, and past 4 Mi face corners in all the remaining faces are left out.
// Returns the tree (the caller owns it); null, with a message, only when memory runs out.
GxElement *readObj(std::string_view bytes, const CompanionReader &companions,
                   std::ostream &diagnostics);

// Reads an MTL file into materials added to root: "newmtl" starts a material with a shading
// block, "Kd", "Ks" and "map_Kd" fill it; every other statement is skipped. Problems are
// reported on diagnostics with their line in the file called fileName, and reading goes on.
void readMtl(std::string_view bytes, const std::string &fileName, GxElement &root,
             std::ostream &diagnostics);

// Writes the OBJ text of tree into obj and its materials into mtl; mtlName is the file name the
// "mtllib" line gives. Every line ends in CR LF. Returns 0; 2 (with "Root node passed to
// objWriter is NULL" on diagnostics) when tree is null.
int writeObj(const GxElement *tree, const std::string &mtlName, std::string &obj, std::string &mtl,
             std::ostream &diagnostics);

// Whether bytes look like OBJ text: within its first lines a statement "v", "vt", "vn", "f",
// "g", "o", "usemtl" or "mtllib" and nothing but text.
bool sniffObj(std::string_view bytes);
