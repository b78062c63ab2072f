// 3D Studio ".3ds" models, through the chunk toolkit (chunk_database.h, mesh_records.h). The
// reader turns the mesh objects and materials of a file into bodies and materials; the writer
// puts the bodies of an export tree (triangles) and its materials into a new database and writes
// it. 3DS is Z-up: a tree position (x, y, z) is the file's (x, -z, y). Neither touches the disk
// (see format_registry.h).
#pragma once

#include "interchange/gx_element.h"
#include "interchange/obj/obj_format.h"

#include <ostream>
#include <string>
#include <string_view>

struct WrittenModel;

// Reads a 3DS file: one body per mesh object (faces with their corners reversed, texture
// coordinates when it has them, the first material group's material and one face part per
// group) and one material per material. Returns the tree (the caller owns it), or null with the
// toolkit's error text and the reason on diagnostics when the file is damaged anywhere (chunks
// running past their parent or the file, chunks shorter than their header, counts beyond the
// data, face indices out of range); nothing is half read then.
GxElement *read3ds(std::string_view bytes, const CompanionReader &companions,
                   std::ostream &diagnostics);

// Writes the bodies and materials of tree as a 3DS file into out.main; fileName is not used.
// Names longer than the file allows (10 characters for objects, 16 for materials, 12 for texture
// maps) are cut, and object and material names are made unique by a number at their end. Faces
// of more than three corners report "Mesh is for triangles only" and keep their first three.
// Returns 0; 2 when tree is null; 1, with the reason on diagnostics and out unchanged, when a
// body has more vertices, texture coordinates or faces than a 3DS object holds (65535).
int write3ds(const GxElement *tree, const std::string &fileName, WrittenModel &out,
             std::ostream &diagnostics);

// Whether bytes start with a 3DS main chunk.
bool sniff3ds(std::string_view bytes);
