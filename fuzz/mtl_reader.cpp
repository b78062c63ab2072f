// MTL files from untrusted bytes: every material read is applied to a small body, as an import
// would, without touching any file.
#include "core/mesh_validation.h"
#include "interchange/gx_build.h"
#include "interchange/gx_to_geo.h"
#include "interchange/obj/obj_format.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::ostringstream diag;
  GxPtr root(makeGxRoot());
  readMtl(std::string_view(reinterpret_cast<const char *>(data), size), "fuzz.mtl", *root, diag);
  // A tetrahedron per material, asking for it by name.
  std::vector<std::string> names;
  for (const GxElement *child : root->children())
    if (child->typeName() == "material")
      names.push_back(child->name().str());
  for (const std::string &name : names) {
    GxNode *body = addNode(*root, "body", "t");
    addString(*body, "material", name);
    GxNode *vertices = addNode(*body, "vertex", "vertices", true);
    const float p[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const auto &q : p)
      addVec3(*addNode(*vertices, "vertex", ""), "coord", q[0], q[1], q[2]);
    GxNode *faces = addNode(*body, "face", "faces", true);
    const int32_t loops[4][3] = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}};
    for (const auto &loop : loops) {
      GxNode *indices = addNode(*addNode(*faces, "face", ""), "integer", "vertex-indices", true);
      for (int32_t v : loop)
        addInt(*indices, "", v);
    }
  }
  GxToGeo converter(diag, [](const std::string &, ImageBuffer &image) {
    return image.reshape(2, 2); // every texture "loads"
  });
  for (const ObjectPtr &obj : converter.convert(*root))
    if (!objectLocallyValid(*obj, false))
      std::abort();
  return 0;
}
