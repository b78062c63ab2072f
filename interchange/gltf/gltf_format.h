// glTF 2.0 models, as JSON (".gltf" with its binary data in a ".bin" file and its texture in a
// ".png" file beside it) or as one binary container (".glb" holding the JSON, the data and the
// texture). The writer turns an export tree into one mesh, one material and one node per body;
// the reader turns the triangle meshes a file's scene shows into bodies. Neither touches the
// disk (see format_registry.h).
#pragma once

#include "interchange/gx_element.h"
#include "interchange/obj/obj_format.h"

#include <ostream>
#include <string>
#include <string_view>

struct WrittenModel;

// Reads a glTF file, JSON or binary. Every node of the scene shown (the file's "scene", else its
// first scene, else every node no other node holds) that has a mesh gives one body per triangle
// primitive (lists, strips and fans, the last two as lists in the standard order), its positions
// moved by the node's transform and those of the nodes above it, named after the node (or its
// mesh). A body has its corner colours (base colour times COLOR_0), its texture coordinates and a
// material with the base colour and the base colour texture (PNG or JPEG, embedded or in a file
// beside the model). Whatever else the file holds (animations, skins, morph targets, cameras,
// points and lines, other maps, extensions) is left out and named in one line on diagnostics.
// Returns the tree (the caller owns it), or null with a one-line reason on diagnostics when the
// file is damaged or unsafe: JSON that does not parse, accessors outside their buffer views or of
// the wrong kind, indices out of range, more than 1 Mi triangle corners in all, data URIs that do
// not decode, buffers or images named by a URI that leads outside the model's folder (never
// followed), a required extension; nothing is half read then.
GxElement *readGltf(std::string_view bytes, const CompanionReader &companions,
                    std::ostream &diagnostics);

// Writes tree as ".gltf" JSON into out.main, its data as the companion "<stem>.bin" and each
// texture out.textures hands in as a companion file of that name. Returns 0; 2 when tree is
// null (nothing reported).
int writeGltf(const GxElement *tree, const std::string &fileName, WrittenModel &out,
              std::ostream &diagnostics);
// As writeGltf, but everything goes into out.main as one ".glb" container.
int writeGlb(const GxElement *tree, const std::string &fileName, WrittenModel &out,
             std::ostream &diagnostics);

// Whether bytes look like glTF: the binary container's magic "glTF", or a JSON object that
// names an "asset" near its start.
bool sniffGltf(std::string_view bytes);
