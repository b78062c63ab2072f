#include "interchange/geo_to_gx.h"

#include "core/face_triangulation.h"
#include "core/mesh_normals.h"
#include "interchange/gx_packed.h"
#include "interchange/texture_gutter.h"

#include <algorithm>
#include <cstring>

std::string exportedName(const std::string &objectName) {
  std::string name = objectName;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == ' ' || c == '/' || c == '\\'; }, '_');
  return name;
}

namespace {

const char *const kTextureExtensions[] = {".jpg", ".ppm", ".bmp", ".png", ".tif"};
// The longest file name (in bytes) the file systems take.
constexpr size_t kMaxFileNameBytes = 255;

// The first bytes of text, at most limit of them, not ending inside a UTF-8 sequence.
std::string cutText(const std::string &text, size_t limit) {
  if (text.size() <= limit)
    return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return text.substr(0, end);
}

void addColor(GxVec3List &list, moColor c) { list.push(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f); }

void addNormal(GxVec3List &list, const moVec3 &n) { list.push(n.x, n.y, n.z); }

} // namespace

// The parts of one body under construction.
struct GeoToGx::BodyContext {
  GxElement *body = nullptr, *vertices = nullptr;
  GxVec3List *positions = nullptr; // "vertices" when every vertex has one item
  GxFaceList *faces = nullptr;
  GxVec3List *normals = nullptr;
  GxVec3List *colors = nullptr; // "vertex-color" of an unpainted object
  std::string material;
  std::vector<GxElement *> items;  // vertex item per vertex slot, made on first use
  std::vector<int32_t> numbers;    // running number per live vertex slot
  std::vector<moVec3> faceNormals; // unit normal per face slot

  // The vertex item of slot v, made (with its "coord") the first time it is asked for.
  GxElement *item(const moObject &obj, int32_t v) {
    obj.vertexAt(v); // throws for a slot that does not exist
    if (!items[size_t(v)]) {
      auto *node = new GxNode("vertex", "", true, false);
      const moVec3 &p = obj.vertices[v].Coordinates;
      addVec3(*node, "coord", p.x, p.y, p.z);
      items[size_t(v)] = node;
    }
    return items[size_t(v)];
  }
};

GeoToGx::GeoToGx(const ExportOptions &options, std::ostream &diagnostics)
    : options_(options), diag_(diagnostics) {}

GxPtr GeoToGx::convert(Scene &scene, bool allObjects) {
  GxPtr root(makeGxRoot());
  GxNode *top = addNode(*root, "gobject", "MorvoRoot");
  addString(*top, "name", "MorvoRoot");
  GxNode *instances = addNode(*top, "gobject", "children", true);
  std::vector<int32_t> slots;
  if (allObjects) {
    for (int32_t i = 0; i < scene.objects.count(); ++i)
      slots.push_back(i);
  } else {
    for (int32_t i = 0; i < scene.selection.Count(); ++i)
      slots.push_back(scene.selection.Get(i).object);
  }
  int64_t faces = 0, done = 0;
  for (int32_t slot : slots)
    if (moObject *obj = scene.object(slot))
      faces += obj->faces.count();
  for (int32_t slot : slots)
    if (moObject *obj = scene.object(slot)) {
      addObject(*root, *instances, *obj);
      done += obj->faces.count();
      if (progress_)
        progress_(done, faces);
    }
  return root;
}

void GeoToGx::addObject(GxElement &root, GxElement &instances, moObject &obj) {
  if (options_.perTriangle && obj.triangleFaces.count() == 0)
    triangulateFaces(obj, kTriangulateDelaunay);
  const std::string name = exportedName(obj.name);
  BodyContext body;
  body.material = name + "_material";
  addMaterial(root, obj, name);
  GxNode *instance = addNode(instances, "gobject", "");
  addString(*instance, "name", name);
  addString(*instance, "body", name);
  body.body = addNode(root, "body", name.c_str());
  const bool triangles = options_.perTriangle || obj.paintLayer != nullptr;
  // Through the corner list, one vertex item occurs once per corner that uses it.
  if (triangles || options_.perCorner)
    body.vertices = addNode(*body.body, "vertex", "vertices", true);
  else
    body.vertices = body.positions =
        addList(*body.body, new GxVec3List("vertex", "vertices", GxVec3List::kVertexItems));
  addString(*body.body, "material", body.material);
  const char *extra = triangles && obj.paintLayer ? "uv-indices" : "vertex-color-indices";
  body.faces =
      addList(*body.body, new GxFaceList({"vertex-indices", "vertex-normal-indices", extra}));
  body.items.assign(size_t(obj.vertices.count()), nullptr);
  body.numbers.assign(size_t(obj.vertices.count()), -1);
  int32_t running = 0;
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    if (!obj.vertices[v].active())
      continue;
    body.numbers[size_t(v)] = running++;
    if (body.positions) {
      const moVec3 &p = obj.vertices[v].Coordinates;
      body.positions->push(p.x, p.y, p.z);
    }
  }
  body.normals = addList(*body.body, new GxVec3List("vec3f", "normals", GxVec3List::kLeaves));
  body.faceNormals = unitFaceNormals(obj);
  if (triangles)
    addTriangles(body, obj);
  else
    addFaces(body, obj);
}

void GeoToGx::addMaterial(GxElement &root, const moObject &obj, const std::string &name) {
  GxNode *material = addNode(root, "material", (name + "_material").c_str());
  GxNode *shading = addNode(*material, "GL_Shade-domain", "GL_Shade");
  const moMaterial &m = obj.material;
  addVec3(*shading, "DIFFUSE-COLOR", m.diffuse[0], m.diffuse[1], m.diffuse[2]);
  addVec3(*shading, "EMISSION-COLOR", m.emission[0], m.emission[1], m.emission[2]);
  addFloat(*shading, "OPACITY", 1.0f);
  addFloat(*shading, "SHININESS", 0.0f);
  addVec3(*shading, "SPECULAR-COLOR", 0, 0, 0);
  if (obj.paintLayer && obj.paintLayer->image.pixelCount() > 1)
    addTexture(*shading, obj, name);
}

void GeoToGx::nameTexturesFor(const std::string &modelFile, TextureNameCheck taken) {
  const std::string model = modelFile.substr(0, modelFile.rfind('.'));
  texturePrefix_ = model.empty() ? "" : exportedName(model) + "_";
  taken_ = std::move(taken);
}

void GeoToGx::addTexture(GxElement &shading, const moObject &obj, const std::string &name) {
  const int type = options_.shortTextureNames ? kImageTiff : options_.textureFormat;
  if (type < kImageJpeg || type > kImageTiff) {
    diag_ << "Unknown image format in GeoToGx save texture." << std::endl;
    return;
  }
  const std::string fileName = uniqueTextureName(
      options_.shortTextureNames ? name : texturePrefix_ + name, kTextureExtensions[type]);
  GxNode *map = addNode(shading, "map", "TEXTURE-MAP");
  addString(*map, "name", fileName);
  if (type == kImageBmp)
    return; // BMP textures are named but not written
  const ImageBuffer &source = obj.paintLayer->image;
  // PPM textures are stored bottom row first, as the importer reads them back.
  ExportTexture texture{fileName, ImageBuffer(source.width(), source.height()), type,
                        type == kImagePpm ? RowOrder::kBottomFirst : RowOrder::kTopFirst};
  for (int32_t i = 0; i < source.pixelCount(); ++i)
    texture.image.pixels()[i] = source.pixels()[i] | 0xFF000000u;
  fillTextureGutter(obj, texture.image);
  textures_.push_back(std::move(texture));
}

std::string GeoToGx::uniqueTextureName(const std::string &stem, const char *extension) {
  const size_t limit = options_.shortTextureNames ? 8 : kMaxFileNameBytes - std::strlen(extension);
  std::string name = cutText(stem, limit) + extension;
  for (int n = 1; textureNameTaken(name); ++n) {
    const std::string number = std::to_string(n);
    name = cutText(stem, limit - std::min(limit, number.size())) + number + extension;
  }
  textureNames_.insert(name);
  return name;
}

bool GeoToGx::textureNameTaken(const std::string &name) const {
  return textureNames_.count(name) != 0 || (options_.shortTextureNames && taken_ && taken_(name));
}

void GeoToGx::addTriangles(BodyContext &body, const moObject &obj) {
  const PaintLayer *layer = obj.paintLayer.get();
  GxUvList *uvs = nullptr;
  if (layer) {
    uvs = addList(*body.body, new GxUvList("", "uv-array"));
  } else {
    body.colors = addList(*body.body, new GxVec3List("vec3f", "vertex-color", GxVec3List::kLeaves));
    body.colors->push(obj.material.diffuse[0], obj.material.diffuse[1], obj.material.diffuse[2]);
  }
  const int32_t count = std::min(obj.triangleFaces.count(), obj.triangleVertices.count() / 3);
  for (int32_t t = 0; t < count; ++t) {
    const int32_t f = obj.triangleFaces[t];
    const int32_t *corners = &obj.triangleVertices[3 * t];
    for (int k = 2; k >= 0; --k) {
      body.vertices->addChild(body.item(obj, corners[k]));
      addNormal(*body.normals, cornerNormal(obj, corners[k], f, body.faceNormals));
      if (!layer)
        addColor(*body.colors, obj.cornerColorAt(corners[k], f));
    }
    if (layer) {
      float uv[6];
      layer->cornerTexCoords(obj, t, uv);
      for (int i = 0; i < 3; ++i) {
        const int k = options_.reverseCorners ? 2 - i : i;
        uvs->push(uv[2 * k], options_.flipV ? 1.0f - uv[2 * k + 1] : uv[2 * k + 1]);
      }
    }
    const int32_t extra[3] = {layer ? 3 * t + 2 : 3 * t + 1, layer ? 3 * t + 1 : 3 * t + 2,
                              layer ? 3 * t : 3 * t + 3};
    const int32_t values[9] = {3 * t,     3 * t + 1, 3 * t + 2, 3 * t,   3 * t + 1,
                               3 * t + 2, extra[0],  extra[1],  extra[2]};
    body.faces->push(values, 3, 7);
  }
  addFaceParts(body, count);
}

void GeoToGx::addFaces(BodyContext &body, const moObject &obj) {
  body.colors = addList(*body.body, new GxVec3List("vec3f", "vertex-color", GxVec3List::kLeaves));
  body.colors->push(obj.material.diffuse[0], obj.material.diffuse[1], obj.material.diffuse[2]);
  std::vector<int32_t> corners;
  int32_t k = 0, faces = 0;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active())
      continue;
    const int32_t n = obj.faceVertices(f, corners, options_.reverseCorners);
    body.faces->start(n, 7);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t v = corners[size_t(i)];
      if (options_.perCorner) {
        body.vertices->addChild(body.item(obj, v));
        body.faces->add(k + i);
      } else {
        body.faces->add(body.numbers[size_t(v)]);
      }
      addNormal(*body.normals, cornerNormal(obj, v, f, body.faceNormals));
      addColor(*body.colors, obj.cornerColorAt(v, f));
    }
    for (int32_t i = 0; i < n; ++i)
      body.faces->add(k + i); // normal indices
    for (int32_t i = 0; i < n; ++i)
      body.faces->add(k + i + 1); // colour indices: item 0 is the object colour
    k += n;
    ++faces;
  }
  addFaceParts(body, faces);
}

// One part holding every face. The count is that of the face items written, so that every
// face index names a face (deleted face slots write no item).
void GeoToGx::addFaceParts(BodyContext &body, int32_t count) {
  GxNode *parts = addNode(*body.body, "face-part", "face-parts", true);
  GxNode *part = addNode(*parts, "face-part", "");
  addString(*part, "name", "default-part");
  addString(*part, "material", body.material);
  GxIntList *indices = addList(*part, new GxIntList("face-indices"));
  for (int32_t i = 0; i < count; ++i)
    indices->push(i);
}
