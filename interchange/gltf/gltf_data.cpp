#include "interchange/gltf/gltf_data.h"

#include "interchange/gltf/gltf_container.h"
#include "interchange/gltf/gltf_meshopt.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kByte = 5120, kUnsignedByte = 5121, kShort = 5122, kUnsignedShort = 5123,
              kUnsignedInt = 5125, kFloat = 5126;

int componentSize(int type) {
  switch (type) {
  case kByte:
  case kUnsignedByte:
    return 1;
  case kShort:
  case kUnsignedShort:
    return 2;
  case kUnsignedInt:
  case kFloat:
    return 4;
  default:
    return 0;
  }
}

int widthOf(const std::string &type) {
  static const char *const kTypes[] = {"SCALAR", "VEC2", "VEC3", "VEC4"};
  for (int i = 0; i < 4; ++i)
    if (type == kTypes[i])
      return i + 1;
  return 0;
}

// One component at p, little-endian, as the accessor declares it.
double component(const char *p, int type, bool normalized) {
  uint8_t b[4] = {0, 0, 0, 0};
  std::memcpy(b, p, size_t(componentSize(type)));
  const uint32_t u =
      uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  switch (type) {
  case kByte:
    return normalized ? std::max(int8_t(u) / 127.0, -1.0) : int8_t(u);
  case kUnsignedByte:
    return normalized ? uint8_t(u) / 255.0 : uint8_t(u);
  case kShort:
    return normalized ? std::max(int16_t(u) / 32767.0, -1.0) : int16_t(u);
  case kUnsignedShort:
    return normalized ? uint16_t(u) / 65535.0 : uint16_t(u);
  case kUnsignedInt:
    return u;
  default: {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
  }
  }
}

std::string label(const char *list, int64_t index) {
  return std::string(list).substr(0, std::strlen(list) - 1) + " " + std::to_string(index);
}

} // namespace

GltfData::GltfData(std::string_view bytes, const CompanionReader &companions)
    : companions_(companions) {
  std::string_view text = bytes;
  if (isGlb(bytes)) {
    std::string error;
    std::string_view bin;
    if (!unpackGlb(bytes, text, bin, error))
      throw GltfDamage(error);
    binChunk_.assign(bin);
  }
  try {
    doc_ = json::parse(text.begin(), text.end());
  } catch (const json::exception &failure) {
    throw GltfDamage(std::string("the JSON does not parse: ") + failure.what());
  }
  if (!doc_.is_object())
    throw GltfDamage("the JSON is not an object");
}

const json &GltfData::item(const char *list, const json &index) const {
  const auto found = doc_.find(list);
  if (!index.is_number_integer() || found == doc_.end() || !found->is_array() ||
      index.get<int64_t>() < 0 || index.get<int64_t>() >= int64_t(found->size()) ||
      !(*found)[size_t(index.get<int64_t>())].is_object())
    throw GltfDamage(std::string("a reference to ") + list + " that does not exist");
  return (*found)[size_t(index.get<int64_t>())];
}

int64_t GltfData::integer(const json &object, const char *key, int64_t fallback, int64_t lo,
                          int64_t hi) {
  const auto found = object.find(key);
  if (found == object.end())
    return fallback;
  if (!found->is_number_integer() || found->get<int64_t>() < lo || found->get<int64_t>() > hi ||
      (found->is_number_unsigned() && found->get<uint64_t>() > uint64_t(hi)))
    throw GltfDamage(std::string("\"") + key + "\" is not an integer in its range");
  return found->get<int64_t>();
}

std::vector<double> GltfData::numbers(const json &object, const char *key, size_t count,
                                      std::vector<double> fallback) {
  const auto found = object.find(key);
  if (found == object.end())
    return fallback;
  if (!found->is_array() || found->size() != count)
    throw GltfDamage(std::string("\"") + key + "\" does not hold " + std::to_string(count) +
                     " numbers");
  std::vector<double> values;
  for (const json &v : *found) {
    if (!v.is_number() || !std::isfinite(v.get<double>()))
      throw GltfDamage(std::string("\"") + key + "\" holds something other than a number");
    values.push_back(v.get<double>());
  }
  return values;
}

const std::string *GltfData::uriBytes(const std::string &uri, const std::string &what) const {
  const auto known = sources_.find(uri);
  if (known != sources_.end())
    return &known->second;
  std::string path, bytes;
  switch (classifyUri(uri)) {
  case UriKind::kData:
    if (!decodeDataUri(uri, bytes))
      throw GltfDamage(what + ": its data URI does not decode");
    break;
  case UriKind::kRefused:
    throw GltfDamage(what + ": refused the URI \"" + uri.substr(0, 80) +
                     "\", which leads outside the model's folder");
  case UriKind::kFile:
    if (!decodePercent(uri, path) || !companions_ || !companions_(path, bytes))
      return nullptr;
    break;
  }
  return &(sources_[uri] = std::move(bytes));
}

std::string_view GltfData::buffer(int64_t index) const {
  const json &b = item("buffers", index);
  const int64_t length = integer(b, "byteLength", -1, 1, INT64_MAX);
  const std::string what = label("buffers", index);
  std::string_view bytes;
  const auto uri = b.find("uri");
  if (uri == b.end()) {
    if (index != 0 || binChunk_.empty())
      throw GltfDamage(what + " has no data");
    bytes = binChunk_;
  } else {
    if (!uri->is_string())
      throw GltfDamage(what + " has a URI that is not text");
    const std::string *loaded = uriBytes(uri->get<std::string>(), what);
    if (!loaded)
      throw GltfDamage(what + ": cannot read \"" + uri->get<std::string>().substr(0, 80) + "\"");
    bytes = *loaded;
  }
  if (length < 0 || uint64_t(length) > bytes.size())
    throw GltfDamage(what + " is shorter than its byteLength");
  return bytes.substr(0, size_t(length));
}

std::string_view GltfData::decodedView(int64_t index, const json &extension) const {
  const auto known = decoded_.find(index);
  if (known != decoded_.end())
    return known->second;
  if (!extension.is_object())
    throw GltfDamage(label("bufferViews", index) + " has a compression that is not an object");
  const std::string_view data = buffer(integer(extension, "buffer", -1, 0, INT32_MAX));
  const int64_t offset = integer(extension, "byteOffset", 0, 0, INT64_MAX / 2);
  const int64_t length = integer(extension, "byteLength", -1, 1, INT64_MAX / 2);
  if (length < 0 || uint64_t(offset + length) > data.size())
    throw GltfDamage(label("bufferViews", index) + ": its compressed data reaches past its buffer");
  std::string bytes, error;
  if (!decodeMeshoptView(extension, data.substr(size_t(offset), size_t(length)), bytes, error))
    throw GltfDamage(label("bufferViews", index) + ": " + error);
  return decoded_[index] = std::move(bytes);
}

std::string_view GltfData::viewBytes(const json &index) const {
  const json &view = item("bufferViews", index);
  if (view.contains("extensions") && view["extensions"].is_object() &&
      view["extensions"].contains(kMeshoptExtension))
    return decodedView(index.get<int64_t>(), view["extensions"][kMeshoptExtension]);
  const std::string_view data = buffer(integer(view, "buffer", -1, 0, INT32_MAX));
  const int64_t offset = integer(view, "byteOffset", 0, 0, INT64_MAX / 2);
  const int64_t length = integer(view, "byteLength", -1, 1, INT64_MAX / 2);
  if (length < 0 || uint64_t(offset + length) > data.size())
    throw GltfDamage(label("bufferViews", index.get<int64_t>()) + " reaches past its buffer");
  return data.substr(size_t(offset), size_t(length));
}

GltfData::Accessor GltfData::accessor(const json &index, std::initializer_list<int> widths) const {
  const json &a = item("accessors", index);
  const std::string what = label("accessors", index.get<int64_t>());
  Accessor r;
  r.componentType = int(integer(a, "componentType", 0, 0, INT32_MAX));
  const auto type = a.find("type");
  r.width = type != a.end() && type->is_string() ? widthOf(type->get<std::string>()) : 0;
  if (!componentSize(r.componentType) ||
      std::find(widths.begin(), widths.end(), r.width) == widths.end())
    throw GltfDamage(what + " has the wrong type or component type");
  if (a.contains("sparse"))
    throw GltfDamage(what + " is sparse, which is not supported");
  if (!a.contains("bufferView"))
    throw GltfDamage(what + " has no data");
  const auto normalized = a.find("normalized");
  r.normalized = normalized != a.end() && normalized->is_boolean() && normalized->get<bool>();
  r.count = integer(a, "count", -1, 1, INT32_MAX);
  const int64_t offset = integer(a, "byteOffset", 0, 0, INT32_MAX);
  const std::string_view view = viewBytes(a["bufferView"]);
  const int64_t element = int64_t(componentSize(r.componentType)) * r.width;
  const json &v = item("bufferViews", a["bufferView"]);
  r.stride = integer(v, "byteStride", element, 4, 252);
  if (r.count < 0 || r.stride < element ||
      uint64_t(offset + r.stride * (r.count - 1) + element) > view.size())
    throw GltfDamage(what + " reaches past its buffer view");
  r.data = view.substr(size_t(offset));
  return r;
}

std::vector<float> GltfData::floats(const json &index, std::initializer_list<int> widths,
                                    int &width) const {
  const Accessor a = accessor(index, widths);
  width = a.width;
  const int size = componentSize(a.componentType);
  std::vector<float> values;
  values.reserve(size_t(a.count * a.width));
  for (int64_t i = 0; i < a.count; ++i)
    for (int c = 0; c < a.width; ++c) {
      const double value =
          component(a.data.data() + i * a.stride + c * size, a.componentType, a.normalized);
      if (!std::isfinite(value) || std::fabs(value) > 1e30)
        throw GltfDamage(label("accessors", index.get<int64_t>()) + " holds a value too large");
      values.push_back(float(value));
    }
  return values;
}

std::vector<uint32_t> GltfData::indices(const json &index) const {
  const int64_t type = integer(item("accessors", index), "componentType", 0, 0, INT32_MAX);
  if (type != kUnsignedByte && type != kUnsignedShort && type != kUnsignedInt)
    throw GltfDamage(label("accessors", index.get<int64_t>()) +
                     " holds indices that are not unsigned integers");
  const Accessor a = accessor(index, {1});
  std::vector<uint32_t> values(size_t(a.count));
  for (int64_t i = 0; i < a.count; ++i)
    values[size_t(i)] = uint32_t(component(a.data.data() + i * a.stride, a.componentType, false));
  return values;
}
