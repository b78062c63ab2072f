// The byte-level parts of glTF: the binary container (".glb"), data URIs and the percent
// encoding of file URIs. Everything here treats its input as untrusted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr uint32_t kGlbJsonChunk = 0x4E4F534A; // "JSON"
constexpr uint32_t kGlbBinChunk = 0x004E4942;  // "BIN\0"

// Whether bytes start with the binary container's magic "glTF".
bool isGlb(std::string_view bytes);

// Splits a binary container into its JSON chunk and its binary chunk (empty when there is none);
// views into bytes. False with a one-line reason in error when the header is not glTF 2.0, the
// first chunk is not JSON, or a length leads past the end.
bool unpackGlb(std::string_view bytes, std::string_view &json, std::string_view &bin,
               std::string &error);
// A binary container of the JSON (padded with blanks) and, when not empty, the binary chunk
// (padded with zeros), each to a multiple of four bytes.
std::string packGlb(std::string json, std::string bin);

// What a URI in a model file stands for.
enum class UriKind {
  kData,    // "data:...;base64,..."
  kFile,    // a relative path inside the model's folder
  kRefused, // a scheme (http:, file:, ...), an absolute path, a ".." step or a NUL: never followed
};
UriKind classifyUri(std::string_view uri);

// The bytes of a base64 data URI; false when it is not base64 or does not decode.
bool decodeDataUri(std::string_view uri, std::string &bytes);
// A file URI's path with its %XX escapes decoded; false for a malformed escape.
bool decodePercent(std::string_view uri, std::string &path);
// A file name as a URI: every byte outside the unreserved ones and "/" written as %XX.
std::string encodePercent(std::string_view name);
