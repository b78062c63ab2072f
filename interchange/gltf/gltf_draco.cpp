#include "interchange/gltf/gltf_draco.h"

#if MORVO_HAVE_DRACO
#include <draco/compression/decode.h>
#endif

#include <algorithm>
#include <cmath>

namespace {

#if MORVO_HAVE_DRACO
// The values of the stream attribute named name in attributes, width per point; empty when it
// is not named (false only when it is named but unusable).
bool readAttribute(const draco::Mesh &mesh, const nlohmann::json &attributes, const char *name,
                   int lo, int hi, std::vector<float> &out, int &width) {
  const auto id = attributes.find(name);
  if (id == attributes.end())
    return true;
  if (!id->is_number_unsigned() || id->get<uint64_t>() > UINT32_MAX)
    return false;
  const draco::PointAttribute *a = mesh.GetAttributeByUniqueId(id->get<uint32_t>());
  if (!a || a->num_components() < lo)
    return false;
  width = std::min(int(a->num_components()), hi);
  out.resize(size_t(mesh.num_points()) * size_t(width));
  float value[4] = {0, 0, 0, 0};
  for (uint32_t p = 0; p < mesh.num_points(); ++p) {
    if (!a->ConvertValue<float>(a->mapped_index(draco::PointIndex(p)), int8_t(width), value))
      return false;
    for (int c = 0; c < width; ++c)
      out[size_t(p) * size_t(width) + size_t(c)] = std::isfinite(value[c]) ? value[c] : 0.0f;
  }
  return true;
}
#endif

} // namespace

bool dracoDecodingAvailable() { return MORVO_HAVE_DRACO != 0; }

bool decodeDracoPrimitive(std::string_view bytes, const nlohmann::json &attributes,
                          DracoPrimitive &out, std::string &error) {
#if MORVO_HAVE_DRACO
  if (!attributes.is_object()) {
    error = "a Draco primitive without attributes";
    return false;
  }
  draco::DecoderBuffer buffer;
  buffer.Init(bytes.data(), bytes.size());
  const auto type = draco::Decoder::GetEncodedGeometryType(&buffer);
  if (!type.ok() || type.value() != draco::TRIANGULAR_MESH) {
    error = "a Draco stream that is not a triangle mesh";
    return false;
  }
  draco::Decoder decoder;
  auto decoded = decoder.DecodeMeshFromBuffer(&buffer);
  if (!decoded.ok()) {
    error = "a Draco stream does not decode: " + decoded.status().error_msg_string();
    return false;
  }
  const std::unique_ptr<draco::Mesh> mesh = std::move(decoded).value();
  int width = 0;
  if (!attributes.contains("POSITION") ||
      !readAttribute(*mesh, attributes, "POSITION", 3, 3, out.positions, width) ||
      !readAttribute(*mesh, attributes, "COLOR_0", 3, 4, out.colors, out.colorWidth) ||
      !readAttribute(*mesh, attributes, "TEXCOORD_0", 2, 2, out.uvs, width)) {
    error = "a Draco stream without the attributes its primitive names";
    return false;
  }
  out.corners.resize(3 * size_t(mesh->num_faces()));
  for (uint32_t f = 0; f < mesh->num_faces(); ++f)
    for (int k = 0; k < 3; ++k)
      out.corners[3 * size_t(f) + size_t(k)] = mesh->face(draco::FaceIndex(f))[k].value();
  return true;
#else
  (void)bytes, (void)attributes, (void)out;
  error = "this build cannot decode KHR_draco_mesh_compression (no libdraco)";
  return false;
#endif
}
