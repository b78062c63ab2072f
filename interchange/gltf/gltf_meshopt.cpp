#include "interchange/gltf/gltf_meshopt.h"

#if MORVO_HAVE_MESHOPTIMIZER
#include <meshoptimizer.h>
#endif

#include <cstdint>

namespace {

constexpr uint64_t kMaxDecoded = uint64_t(256) << 20, kMaxRatio = 128;

// A non-negative integer member, or -1 when it is absent or not one.
int64_t count(const nlohmann::json &object, const char *key, int64_t fallback = -1) {
  const auto found = object.find(key);
  if (found == object.end())
    return fallback;
  return found->is_number_unsigned() && found->get<uint64_t>() < (uint64_t(1) << 40)
             ? found->get<int64_t>()
             : -1;
}

std::string text(const nlohmann::json &object, const char *key, const char *fallback) {
  const auto found = object.find(key);
  return found == object.end() ? fallback : found->is_string() ? found->get<std::string>() : "";
}

// Whether the codec's own preconditions hold for mode, filter, stride and count.
bool shapeIsValid(const std::string &mode, const std::string &filter, int64_t stride,
                  int64_t elements) {
  if (mode == "ATTRIBUTES")
    return stride > 0 && stride <= 256 && stride % 4 == 0 &&
           (filter == "NONE" || (filter == "OCTAHEDRAL" && (stride == 4 || stride == 8)) ||
            (filter == "QUATERNION" && stride == 8) || filter == "EXPONENTIAL");
  return filter == "NONE" && (stride == 2 || stride == 4) &&
         (mode == "INDICES" || (mode == "TRIANGLES" && elements % 3 == 0));
}

} // namespace

bool meshoptDecodingAvailable() { return MORVO_HAVE_MESHOPTIMIZER != 0; }

bool decodeMeshoptView(const nlohmann::json &extension, std::string_view source, std::string &out,
                       std::string &error) {
  const int64_t stride = count(extension, "byteStride"), elements = count(extension, "count");
  const std::string mode = text(extension, "mode", ""), filter = text(extension, "filter", "NONE");
  if (stride < 0 || elements < 0 || !shapeIsValid(mode, filter, stride, elements)) {
    error = "a compressed buffer view of a mode, filter or stride the codec does not define";
    return false;
  }
  const uint64_t size = uint64_t(stride) * uint64_t(elements);
  if (size > kMaxDecoded || size > kMaxRatio * source.size() + 4096) {
    error = "a compressed buffer view claims " + std::to_string(size) + " bytes, beyond its data";
    return false;
  }
#if MORVO_HAVE_MESHOPTIMIZER
  out.assign(size_t(size), '\0');
  void *to = &out[0];
  const auto *from = reinterpret_cast<const unsigned char *>(source.data());
  const int result =
      mode == "ATTRIBUTES"
          ? meshopt_decodeVertexBuffer(to, size_t(elements), size_t(stride), from, source.size())
      : mode == "TRIANGLES"
          ? meshopt_decodeIndexBuffer(to, size_t(elements), size_t(stride), from, source.size())
          : meshopt_decodeIndexSequence(to, size_t(elements), size_t(stride), from, source.size());
  if (result != 0) {
    error = "a compressed buffer view does not decode (meshoptimizer code " +
            std::to_string(result) + ")";
    return false;
  }
  if (filter == "OCTAHEDRAL")
    meshopt_decodeFilterOct(to, size_t(elements), size_t(stride));
  else if (filter == "QUATERNION")
    meshopt_decodeFilterQuat(to, size_t(elements), size_t(stride));
  else if (filter == "EXPONENTIAL")
    meshopt_decodeFilterExp(to, size_t(elements), size_t(stride));
  return true;
#else
  (void)out;
  error = "this build cannot decode EXT_meshopt_compression (no libmeshoptimizer)";
  return false;
#endif
}
