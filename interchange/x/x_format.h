// DirectX ".x" models. The writer turns an export tree into the text form ("xof 0302txt 0064"):
// the materials, then one Mesh per body with its material list, normals and either texture
// coordinates or vertex colours. The reader takes the text and the uncompressed binary form and
// builds bodies and materials. Neither touches the disk (see format_registry.h).
#pragma once

#include "interchange/gx_element.h"
#include "interchange/obj/obj_format.h"

#include <ostream>
#include <string>
#include <string_view>

struct WrittenModel;

// Reads a DirectX file. Each Mesh (at the top level or inside Frames, whose transforms are not
// applied) becomes a body with its vertices, faces, texture coordinates and vertex colours, and
// the first material of its material list; each Material becomes a material. Returns the tree
// (the caller owns it), or null with a one-line reason on diagnostics when the header is not
// "xof" with "txt" or "bin", the file is compressed, or anything in it is damaged (counts
// beyond the data, indices out of range, tokens cut short); nothing is half read then.
GxElement *readX(std::string_view bytes, const CompanionReader &companions,
                 std::ostream &diagnostics);

// Writes the text form of tree into out.main; fileName is not used. Every line ends in CR LF,
// reals have 6 decimals. When any material has a texture, every vertex is written with z
// negated. Returns 0; 2 when tree is null (nothing reported).
int writeX(const GxElement *tree, const std::string &fileName, WrittenModel &out,
           std::ostream &diagnostics);

// Whether bytes start like a DirectX file ("xof ").
bool sniffX(std::string_view bytes);
