#include "interchange/gx_to_geo.h"

#include "core/closed_surface.h"
#include "core/face_triangulation.h"
#include "core/mesh_builder.h"
#include "image/image_file.h"
#include "interchange/gx_build.h"
#include "interchange/gx_packed.h"
#include "interchange/mesh_simplify.h"
#include "layers/paint_layers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace {

// The openings of the converter's progress notes.
constexpr const char *kMaterialNote = "Material hashed ";
constexpr const char *kBodyNote = "Hashed body name = ";
constexpr const char *kWantedNote = "Material desired = ";
constexpr const char *kTextureNote = "We got a texture called ";
constexpr const char *kInstanceNote = "Looking up body :: ";

// One face item as the builder received it: where its index lists lie in the body's pool of
// kept indices, by corner position.
struct Polygon {
  struct List {
    uint32_t at = 0, size = 0; // a tree in memory holds far fewer indices than 2^32
  };
  List items, colors, uvs;
};

const GxElement *member(const GxElement &parent, const char *name) {
  return parent.findChild(name);
}

moColor toColor(const float *rgb) {
  auto byte = [](float value) {
    const float scaled = value * 255.0f;
    return uint8_t(scaled >= 0.0f && scaled <= 255.0f ? scaled : scaled > 255.0f ? 255 : 0);
  };
  return moColor{byte(rgb[0]), byte(rgb[1]), byte(rgb[2]), 255};
}

// The face items of a body: the measure of its conversion work.
int64_t facesOf(const GxElement &body) {
  const GxElement *faces = member(body, "faces");
  return faces ? faces->childCount() : 0;
}

} // namespace

struct GxToGeo::Body {
  explicit Body(MeshBuilder &emptyBuilder) : builder(emptyBuilder) {}
  MeshBuilder &builder;
  bool built = false;             // by the builder; else face f is polygon f, vertex v input v
  std::vector<moVec3> positions;  // the input vertices
  std::vector<int32_t> itemInput; // input vertex of each vertex item, -1 for none
  std::vector<int32_t> corners, starts{0}; // polygon k: corners[starts[k] .. starts[k + 1])
  std::vector<Polygon> polygons; // by input polygon, only while corners are looked up later
  std::vector<int32_t> kept;     // the index lists of the polygons
  const GxElement *colorList = nullptr, *uvList = nullptr;

  void collect(const GxElement &tree);
  int64_t triangles() const { return int64_t(corners.size()) - 2 * int64_t(starts.size() - 1); }
  // Takes the simplified triangles in place of the polygons; each corner of them finds its
  // colour and texture coordinate where the vertex was first used.
  void adopt(SimplifiedMesh &mesh);
  bool build(moObject &obj, std::ostream &diag);
  Polygon::List keep(const GxIndexSpan &span) {
    kept.insert(kept.end(), span.data, span.data + span.size);
    return {uint32_t(kept.size() - span.size), uint32_t(span.size)};
  }
  // Entry j of one of a polygon's lists, -1 past its end.
  int32_t at(const Polygon::List &list, size_t j) const {
    return j < list.size ? kept[list.at + j] : -1;
  }
  // The tree corner of object corner (v, f): the polygon and corner position that name it, or
  // null. The records of which polygons face f and which inputs vertex v came from keep the
  // search local.
  const Polygon *corner(int32_t v, int32_t f, size_t &position) const {
    const IndexList<2> direct[2] = {{f}, {v}};
    const IndexList<2> &faceIds = built ? builder.face(f).ids : direct[0];
    const IndexList<2> &vertexIds = built ? builder.vertex(v).ids : direct[1];
    for (int32_t p : faceIds) {
      const Polygon &polygon = polygons[size_t(p)];
      for (int32_t input : vertexIds)
        for (size_t j = 0; j < polygon.items.size; ++j) {
          const int32_t item = kept[polygon.items.at + j];
          if (item >= 0 && size_t(item) < itemInput.size() && itemInput[size_t(item)] == input) {
            position = j;
            return &polygon;
          }
        }
    }
    return nullptr;
  }
};

void GxToGeo::Body::adopt(SimplifiedMesh &mesh) {
  struct Use {
    int32_t polygon = -1;
    uint32_t position = 0;
  };
  std::vector<Use> firstUse(mesh.positions.size());
  for (int32_t &input : itemInput)
    input = input < 0 ? -1 : mesh.vertexOf[size_t(input)];
  for (size_t p = 0; p < polygons.size(); ++p)
    for (uint32_t j = 0; j < polygons[p].items.size; ++j) {
      const int32_t item = kept[polygons[p].items.at + j];
      const int32_t v = item >= 0 && size_t(item) < itemInput.size() ? itemInput[size_t(item)] : -1;
      if (v >= 0 && firstUse[size_t(v)].polygon < 0)
        firstUse[size_t(v)] = {int32_t(p), j};
    }
  std::vector<Polygon> made;
  std::vector<int32_t> lists;
  if (!polygons.empty())
    for (size_t t = 0; t < mesh.corners.size(); t += 3) {
      Polygon triangle;
      for (Polygon::List Polygon::*list : {&Polygon::items, &Polygon::colors, &Polygon::uvs}) {
        (triangle.*list) = {uint32_t(lists.size()), 3};
        for (size_t k = 0; k < 3; ++k) {
          const Use use = firstUse[size_t(mesh.corners[t + k])];
          lists.push_back(use.polygon < 0 ? -1
                                          : at(polygons[size_t(use.polygon)].*list, use.position));
        }
      }
      made.push_back(triangle);
    }
  polygons = std::move(made);
  kept = std::move(lists);
  positions = std::move(mesh.positions);
  corners = std::move(mesh.corners);
  starts = std::move(mesh.starts);
}

GxOverLimit::GxOverLimit(const std::string &body, int64_t triangles)
    : std::runtime_error(body + " has " + groupedCount(triangles) +
                         " triangles; an object holds at most " + std::to_string(kMaxFaceSlots) +
                         " faces") {}

bool isConversionNote(std::string_view line) {
  if (line.find(kSimplifiedNote) != std::string_view::npos)
    return true;
  for (const char *note : {kMaterialNote, kBodyNote, kWantedNote, kTextureNote, kInstanceNote})
    if (line.substr(0, std::strlen(note)) == note)
      return true;
  return false;
}

GxToGeo::GxToGeo(std::ostream &diagnostics, TextureLoader loadTexture)
    : diag_(diagnostics), loadTexture_(std::move(loadTexture)), builder_(diagnostics) {}

std::vector<ObjectPtr> GxToGeo::convert(const GxElement &root) {
  for (const GxElement *child : root.children())
    if (child->typeName() == "material") {
      materials_[child->name().str()] = child;
      diag_ << kMaterialNote << child->name() << std::endl;
    }
  std::vector<ObjectPtr> objects;
  int64_t faces = 0, done = 0;
  for (const GxElement *child : root.children())
    if (child->typeName() == "body")
      faces += facesOf(*child);
  for (const GxElement *child : root.children()) {
    if (child->typeName() != "body")
      continue;
    if (ObjectPtr obj = convertBody(*child)) {
      bodies_[child->name().str()] = obj;
      objects.push_back(obj);
    }
    done += facesOf(*child);
    if (progress_)
      progress_(done, faces);
  }
  for (const GxElement *child : root.children())
    if (child->typeName() == "gobject")
      placeInstance(*child);
  return objects;
}

// One input vertex per distinct "coord" leaf (items sharing a leaf share a vertex) and one
// polygon per face with three or more usable corners. The polygons' tree index lists are kept
// only when colours or texture coordinates are to be looked up by corner.
void GxToGeo::Body::collect(const GxElement &tree) {
  std::unordered_map<const GxElement *, int32_t> inputOfCoord;
  const GxElement *vertices = member(tree, "vertices"), *faces = member(tree, "faces");
  const int32_t vertexItems = vertices ? vertices->childCount() : 0;
  const int32_t faceItems = faces ? faces->childCount() : 0;
  const bool keepLists =
      (colorList && colorList->childCount() > 0) || (uvList && uvList->childCount() > 1);
  positions.reserve(size_t(vertexItems));
  itemInput.reserve(size_t(vertexItems));
  starts.reserve(size_t(faceItems) + 1);
  corners.reserve(size_t(faceItems) * 3);
  if (keepLists)
    polygons.reserve(size_t(faceItems));
  if (vertices)
    gxForEachVertexCoord(*vertices, [&](const GxElement *coord, const float *p) {
      int32_t input = -1;
      if (p) {
        const auto known = coord ? inputOfCoord.find(coord) : inputOfCoord.end();
        if (known != inputOfCoord.end()) {
          input = known->second;
        } else {
          input = int32_t(positions.size());
          positions.push_back({p[0], p[1], p[2]});
        }
        if (coord)
          inputOfCoord.emplace(coord, input);
      }
      itemInput.push_back(input);
    });
  static const char *const kLists[] = {"vertex-indices", "vertex-color-indices", "uv-indices"};
  if (!faces)
    return;
  gxForEachFace(*faces, kLists, 3, [&](const GxIndexSpan *lists) {
    if (!lists[0].present)
      return;
    const size_t start = corners.size();
    for (size_t k = 0; k < lists[0].size; ++k) {
      const int32_t item = lists[0].data[k];
      if (item >= 0 && size_t(item) < itemInput.size() && itemInput[size_t(item)] >= 0)
        corners.push_back(itemInput[size_t(item)]);
    }
    if (corners.size() - start < 3) {
      corners.resize(start);
      return;
    }
    starts.push_back(int32_t(corners.size()));
    if (keepLists)
      polygons.push_back({keep(lists[0]), keep(lists[1]), keep(lists[2])});
  });
}

// The object from the polygons: straight away when they form a closed surface, else through
// the builder's repairs, whose messages go to diag.
bool GxToGeo::Body::build(moObject &obj, std::ostream &diag) {
  if (buildClosedSurface(positions, corners, starts, obj))
    return true;
  built = true;
  builder.reserve(int32_t(positions.size()), int32_t(starts.size()) - 1);
  for (const moVec3 &p : positions)
    builder.addVertex(p.x, p.y, p.z);
  for (size_t k = 0; k + 1 < starts.size(); ++k)
    builder.addPolygon(corners.data() + starts[k], starts[k + 1] - starts[k], false);
  if (!builder.fix()) {
    diag << "failed to fix object!" << std::endl;
    return false;
  }
  if (!builder.convertInto(obj)) {
    diag << "failed to convert object!" << std::endl;
    return false;
  }
  return true;
}

ObjectPtr GxToGeo::convertBody(const GxElement &tree) {
  builder_.clear(); // one builder serves every body: its storage is reused
  Body body(builder_);
  diag_ << kBodyNote << tree.name() << std::endl;
  body.colorList = member(tree, "vertex-color");
  body.uvList = member(tree, "uv-array");
  body.collect(tree);
  if (body.triangles() > kMaxFaceSlots)
    simplify(body, tree.name().str());
  auto obj = std::make_shared<moObject>(tree.name().c_str());
  if (!body.build(*obj, diag_))
    return nullptr;
  ImageBuffer texture;
  bool textured = false;
  if (const GxString *material = stringMember(tree, "material")) {
    diag_ << kWantedNote << *material << std::endl;
    const auto found = materials_.find(material->str());
    if (found != materials_.end())
      textured = applyMaterial(*found->second, *obj, texture);
  }
  applyColors(body, *obj);
  if (textured && body.uvList && body.uvList->childCount() > 1)
    applyTexture(body, *obj, texture);
  obj->compact();
  return obj;
}

void GxToGeo::simplify(Body &body, const std::string &name) {
  const int64_t triangles = body.triangles();
  if (!overLimit_ || !overLimit_(name, triangles))
    throw GxOverLimit(name, triangles);
  SimplifiedMesh mesh;
  if (!simplificationAvailable())
    throw std::runtime_error(name + ": this build cannot simplify (no libmeshoptimizer)");
  if (!simplifyPolygons(body.positions, body.corners, body.starts, kSimplifyTarget, mesh))
    throw std::runtime_error(name + ": simplification does not reach " +
                             groupedCount(kSimplifyTarget) + " triangles");
  const int64_t from = mesh.from;
  const double error = mesh.error;
  body.adopt(mesh);
  char percent[32];
  // One decimal, or two where that would show a small error as none.
  std::snprintf(percent, sizeof percent, 100 * error < 0.05 ? "%.2f" : "%.1f", 100 * error);
  diag_ << name << kSimplifiedNote << groupedCount(from) << " to " << groupedCount(body.triangles())
        << " triangles, error " << percent << " %" << std::endl;
}

bool GxToGeo::applyMaterial(const GxElement &material, moObject &obj, ImageBuffer &texture) {
  bool textured = false;
  for (const GxElement *shading : material.children()) {
    if (shading->name() != "GL_Shade")
      continue;
    for (const GxElement *entry : shading->children()) {
      const std::vector<float> *rgb = floatValues(entry);
      float *target = entry->name() == "DIFFUSE-COLOR"    ? obj.material.diffuse
                      : entry->name() == "SPECULAR-COLOR" ? obj.material.specular
                      : entry->name() == "EMISSIVE-COLOR" ? obj.material.emission
                                                          : nullptr;
      if (target && rgb && rgb->size() >= 3) {
        std::copy(rgb->begin(), rgb->begin() + 3, target);
        target[3] = 1.0f;
        if (target == obj.material.diffuse)
          for (int32_t f = 0; f < obj.faces.count(); ++f)
            if (obj.faces[f].active())
              obj.setFaceColor(f, toColor(rgb->data()));
      } else if (entry->name() == "SHININESS") {
        if (auto *value = dynamic_cast<const GxFloatProperty *>(entry))
          obj.material.shininess = value->value();
      } else if (entry->name() == "TEXTURE-MAP" || entry->name() == "texture") {
        textured = loadTextureMap(*entry, texture);
      }
    }
  }
  return textured;
}

bool GxToGeo::loadTextureMap(const GxElement &map, ImageBuffer &texture) {
  bool loaded = false;
  for (const GxElement *entry : map.children()) {
    auto *name = dynamic_cast<const GxStringProperty *>(entry);
    if (!name || entry->name() != "name")
      continue;
    if (name->value().empty()) {
      diag_ << "A texture name was zero length" << std::endl;
      continue;
    }
    diag_ << kTextureNote << name->value() << std::endl;
    // A model file that holds its images gives their bytes beside the name.
    const auto *data = dynamic_cast<const GxStringProperty *>(map.findChild("data"));
    const int type = imageType(name->value().str());
    loaded = data ? loadImageFromMemory(texture,
                                        reinterpret_cast<const uint8_t *>(data->value().c_str()),
                                        size_t(data->value().length()), type, type == kImageTiff,
                                        name->value().str()) == 1
                  : loadTexture_ && loadTexture_(name->value().str(), texture);
    if (!loaded)
      diag_ << "We just deleted the texture ma'am" << std::endl;
  }
  return loaded;
}

void GxToGeo::applyColors(const Body &body, moObject &obj) const {
  if (!body.colorList || body.colorList->childCount() == 0)
    return;
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active())
      continue;
    obj.faceVertices(f, corners);
    for (int32_t v : corners) {
      size_t j = 0;
      const Polygon *polygon = body.corner(v, f, j);
      float rgb[3];
      if (polygon && gxLeafVec3At(*body.colorList, body.at(polygon->colors, j), rgb))
        obj.setCornerColor(v, f, toColor(rgb));
    }
  }
}

// The texture becomes a per-corner paint layer over a fresh triangulation; corners the tree
// gives no coordinate keep (0, 0).
void GxToGeo::applyTexture(const Body &body, moObject &obj, const ImageBuffer &texture) const {
  triangulateFaces(obj, kTriangulateDelaunay);
  const int32_t corners = obj.triangleVertices.count();
  std::unique_ptr<PaintLayer> layer =
      makePaintLayer(PaintLayer::kPerCorner, texture.width(), texture.height(), corners, &texture);
  if (!layer) {
    diag_ << "texture too large, left out" << std::endl;
    return;
  }
  layer->coordinates.assign(size_t(2 * corners), 0.0f);
  for (int32_t c = 0; c < corners; ++c) {
    size_t j = 0;
    const Polygon *polygon = body.corner(obj.triangleVertices[c], obj.triangleFaces[c / 3], j);
    float u, v;
    if (polygon && gxUvAt(*body.uvList, body.at(polygon->uvs, j), u, v)) {
      layer->coordinates[size_t(2 * c)] = u;
      layer->coordinates[size_t(2 * c + 1)] = v;
    }
  }
  obj.paintLayer = std::move(layer);
}

namespace {

// The transform of an instance: its "matrix" rows r give m[4c + r], so the translation is the
// last value of the first three rows. Identity when the instance has no complete matrix.
moMatrix4 instanceMatrix(const GxElement &instance) {
  moMatrix4 m = identity();
  const GxElement *rows = instance.findChild("matrix");
  if (!rows || rows->childCount() != 4)
    return m;
  int r = 0;
  for (const GxElement *row : rows->children()) {
    const std::vector<float> *values = floatValues(row);
    if (!values || values->size() < 4)
      return identity();
    for (int c = 0; c < 4; ++c)
      m.m[4 * c + r] = (*values)[size_t(c)];
    ++r;
  }
  return m;
}

bool isIdentity(const moMatrix4 &m) {
  const moMatrix4 one = identity();
  return std::equal(m.m, m.m + 16, one.m);
}

} // namespace

// Iterative, so that a tree nested arbitrarily deep cannot exhaust the stack.
void GxToGeo::placeInstance(const GxElement &top) {
  std::vector<std::pair<const GxElement *, moMatrix4>> pending{{&top, instanceMatrix(top)}};
  std::unordered_set<const GxElement *> seen; // a tree that holds itself is walked once
  while (!pending.empty()) {
    const auto [instance, world] = pending.back();
    pending.pop_back();
    if (!seen.insert(instance).second)
      continue;
    const GxString *body = stringMember(*instance, "body");
    if (body && !body->empty()) {
      diag_ << kInstanceNote << *body << "." << std::endl;
      const auto found = bodies_.find(body->str());
      // An object is placed once; a second instance of the same body adds nothing.
      if (found != bodies_.end() && !placed_[found->second.get()]) {
        placed_[found->second.get()] = true;
        if (!isIdentity(world))
          found->second->transform(world);
      }
    }
    if (const GxElement *children = instance->findChild("children"))
      for (const GxElement *child : children->children())
        pending.emplace_back(child, multiply(instanceMatrix(*child), world));
  }
}
