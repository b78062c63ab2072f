// KHR_draco_mesh_compression: a primitive whose triangles and attributes are one Draco stream.
// Compiled out (dracoDecodingAvailable false) without libdraco.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

bool dracoDecodingAvailable();

// What a compressed primitive gives: per point its position, colour (colorWidth 3 or 4, none
// when colors is empty) and texture coordinates (none when empty); three corners per triangle.
struct DracoPrimitive {
  std::vector<float> positions, colors, uvs;
  int colorWidth = 0;
  std::vector<uint32_t> corners;
};

// Decodes the stream bytes of a compressed primitive; attributes is the extension's
// "attributes" object (attribute names to the stream's attribute ids), of which POSITION,
// COLOR_0 and TEXCOORD_0 are read. False with a one-line reason in error when the stream is not
// a triangle mesh, does not decode, lacks POSITION, or an attribute has fewer components than
// its kind needs; every value is read through the decoded mesh's own bounds.
bool decodeDracoPrimitive(std::string_view bytes, const nlohmann::json &attributes,
                          DracoPrimitive &out, std::string &error);
