// The data side of reading glTF: the parsed JSON, its buffers (embedded, in the binary chunk or
// in files beside the model) and the accessors that read numbers out of them. Every index,
// offset and count is checked against what the file really holds before it is used.
#pragma once

#include "interchange/obj/obj_format.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using json = nlohmann::json;

constexpr const char *kMeshoptExtension = "EXT_meshopt_compression";

// A damaged or unsafe file: what() is the one-line reason; nothing of the file is used.
struct GltfDamage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class GltfData {
public:
  // Parses bytes (JSON text or the binary container). Throws GltfDamage when they are neither.
  GltfData(std::string_view bytes, const CompanionReader &companions);

  const json &doc() const { return doc_; }
  // The element at index of the top-level array named list; throws GltfDamage when it is
  // missing or not an object.
  const json &item(const char *list, const json &index) const;
  // An integer member of object: fallback when absent; throws when not an integer in lo..hi.
  static int64_t integer(const json &object, const char *key, int64_t fallback, int64_t lo,
                         int64_t hi);
  // A member that must hold count finite numbers (fallback when absent); throws otherwise.
  static std::vector<double> numbers(const json &object, const char *key, size_t count,
                                     std::vector<double> fallback);

  // The values of an accessor of the given widths (components per element), as floats with
  // normalized integers scaled to 0..1 or -1..1; width is set to the one found. Throws when the
  // accessor is not one of those widths, is not numeric, is sparse or reaches outside its data.
  std::vector<float> floats(const json &index, std::initializer_list<int> widths, int &width) const;
  // The values of a SCALAR accessor of unsigned integers (indices).
  std::vector<uint32_t> indices(const json &index) const;
  // The bytes of buffer view index (the images embedded in the file), decoded when the view is
  // compressed with EXT_meshopt_compression.
  std::string_view viewBytes(const json &index) const;
  // The bytes a URI names: decoded data, or a file beside the model; what names the referrer in
  // messages. Throws for a URI that does not decode or leads outside the model's folder; null
  // when the file cannot be read.
  const std::string *uriBytes(const std::string &uri, const std::string &what) const;

private:
  struct Accessor {
    std::string_view data; // from the first element's first byte to the end of the view
    int64_t count = 0, stride = 0;
    int width = 0, componentType = 0;
    bool normalized = false;
  };
  Accessor accessor(const json &index, std::initializer_list<int> widths) const;
  // The decoded bytes of compressed view index, decoded on first use.
  std::string_view decodedView(int64_t index, const json &extension) const;
  // The first byteLength bytes of buffer index.
  std::string_view buffer(int64_t index) const;

  json doc_;
  std::string binChunk_;
  const CompanionReader &companions_;
  // Decoded bytes by URI, loaded on first use: buffers naming the same file share it.
  mutable std::map<std::string, std::string> sources_;
  mutable std::map<int64_t, std::string> decoded_; // compressed views by index
};
