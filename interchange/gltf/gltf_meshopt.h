// EXT_meshopt_compression: buffer views whose bytes are compressed with meshoptimizer's vertex
// and index codecs. Compiled out (meshoptDecodingAvailable false) without libmeshoptimizer.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

bool meshoptDecodingAvailable();

// Decodes the bytes of one compressed buffer view: extension is the view's
// "EXT_meshopt_compression" object, source the byteLength bytes it names in its buffer. Every
// size is checked before anything is allocated (the decoded bytes, count times byteStride, may
// be at most 128 times the compressed ones and 256 MiB). False with a one-line reason in error
// for a mode, filter or stride the codec does not define, sizes out of range, or data the
// codec refuses.
bool decodeMeshoptView(const nlohmann::json &extension, std::string_view source, std::string &out,
                       std::string &error);
