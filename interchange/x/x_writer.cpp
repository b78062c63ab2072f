#include "interchange/format_registry.h"
#include "interchange/gx_build.h"
#include "interchange/x/x_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <unordered_map>

namespace {

// A name as the file may hold it: letters, digits, '_', '-' and '.', starting with a letter or
// '_'; anything else becomes '_'. Bodies and materials get the same treatment, so a material
// list still names its material.
std::string xName(const std::string &name) {
  std::string out =
      name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_') ? "_"
                                                                                             : "";
  for (char c : name)
    out += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ? c : '_';
  return out;
}

// A file name as a quoted string may hold it: without double quotes or line ends.
std::string quotable(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '"' || c == '\r' || c == '\n'; }, '_');
  return text;
}

class XWriter {
public:
  explicit XWriter(std::string &out) : out_(out) {}
  // Whether any material of the tree has a texture: then every z is written negated.
  void findTextures(const GxElement &root);
  void material(const GxElement &material);
  void body(const GxElement &body);

private:
  void real(float value);
  void integer(int64_t value);
  void line(const char *text) { (out_ += text) += "\r\n"; }
  // "x;y;z;" for the first three values of a float leaf (missing values as 0).
  void triple(const GxElement *leaf, bool negateZ);
  // "n;i,i,...;" for an index list.
  void indexList(const std::vector<int32_t> &indices);
  // ",\r\n" between items, ";\r\n" after the last.
  void separator(size_t i, size_t count) { out_ += i + 1 < count ? ",\r\n" : ";\r\n"; }
  void vertices(const GxElement &list);
  void faces(const GxElement &list);
  void materialList(const GxElement &parts);
  void normals();
  void textureCoords();
  void vertexColors();

  std::string &out_;
  bool textured_ = false;
  const GxElement *normals_ = nullptr, *uvs_ = nullptr, *colors_ = nullptr;
  std::vector<std::vector<int32_t>> normalIndices_;
  int64_t faceCount_ = 0;
};

void XWriter::real(float value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  out_.append(buffer, result.ptr);
}

void XWriter::integer(int64_t value) {
  char buffer[24];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void XWriter::triple(const GxElement *leaf, bool negateZ) {
  const std::vector<float> *values = floatValues(leaf);
  for (size_t i = 0; i < 3; ++i) {
    const float v = values && i < values->size() ? (*values)[i] : 0.0f;
    real(i == 2 && negateZ ? -v : v);
    out_ += ';';
  }
}

void XWriter::indexList(const std::vector<int32_t> &indices) {
  integer(int64_t(indices.size()));
  out_ += ';';
  for (size_t i = 0; i < indices.size(); ++i) {
    integer(indices[i]);
    out_ += i + 1 < indices.size() ? ',' : ';';
  }
}

void XWriter::findTextures(const GxElement &root) {
  for (const GxElement *material : root.children())
    if (material->typeName() == "material")
      for (const GxElement *shading : material->children())
        if (shading->typeName() == "GL_Shade-domain" && shading->findChildOfType("map"))
          textured_ = true;
}

void XWriter::material(const GxElement &material) {
  const GxElement *diffuse = nullptr, *specular = nullptr, *emission = nullptr;
  float opacity = 0, shininess = 0;
  std::string texture;
  for (const GxElement *shading : material.children()) {
    if (shading->typeName() != "GL_Shade-domain")
      continue;
    for (const GxElement *m : shading->children()) {
      const auto *number = dynamic_cast<const GxFloatProperty *>(m);
      if (m->name() == "DIFFUSE-COLOR")
        diffuse = m;
      else if (m->name() == "SPECULAR-COLOR")
        specular = m;
      else if (m->name() == "EMISSION-COLOR")
        emission = m;
      else if (m->name() == "OPACITY" && number)
        opacity = number->value();
      else if (m->name() == "SHININESS" && number)
        shininess = number->value();
      else if (m->typeName() == "map")
        for (const GxElement *s : m->children())
          if (auto *text = dynamic_cast<const GxStringProperty *>(s))
            texture = "TextureFilename { \"" + quotable(text->value().str()) + "\"; }";
    }
  }
  out_ += "Material " + xName(material.name().str()) + " {\r\n";
  triple(diffuse, false);
  real(opacity);
  line(";;");
  real(shininess);
  line(";");
  triple(specular, false);
  line(";");
  triple(emission, false);
  line(";");
  line(texture.c_str());
  line("}");
}

void XWriter::vertices(const GxElement &list) {
  integer(list.childCount());
  line(";");
  const size_t count = list.children().size();
  for (size_t i = 0; i < count; ++i) {
    triple(list.children()[i]->findChild("coord"), textured_);
    separator(i, count);
  }
}

void XWriter::faces(const GxElement &list) {
  faceCount_ = list.childCount();
  integer(faceCount_);
  line(";");
  std::vector<int32_t> indices;
  for (size_t i = 0; i < list.children().size(); ++i) {
    const GxElement &face = *list.children()[i];
    indices.clear();
    if (const GxElement *v = face.findChild("vertex-indices"))
      intValues(*v, indices);
    indexList(indices);
    normalIndices_.emplace_back();
    if (const GxElement *n = face.findChild("vertex-normal-indices"))
      intValues(*n, normalIndices_.back());
    separator(i, list.children().size());
  }
}

void XWriter::materialList(const GxElement &parts) {
  std::unordered_map<int32_t, int32_t> partOf;
  std::string references;
  std::vector<int32_t> faces;
  for (int32_t part = 0; part < parts.childCount(); ++part) {
    const GxElement &p = *parts.childAt(part);
    faces.clear();
    if (const GxElement *list = p.findChild("face-indices"))
      intValues(*list, faces);
    for (int32_t f : faces)
      partOf[f] = part;
    if (const GxString *name = stringMember(p, "material"))
      references += "{" + xName(name->str()) + "}\r\n";
  }
  if (parts.childCount() == 0)
    return;
  line("MeshMaterialList {");
  integer(parts.childCount());
  line(";");
  integer(faceCount_);
  line(";");
  for (int64_t f = 0; f < faceCount_; ++f) {
    const auto found = partOf.find(int32_t(f));
    integer(found == partOf.end() ? 0 : found->second);
    line(f + 1 < faceCount_ ? "," : ";;");
  }
  out_ += references;
  line("}");
}

void XWriter::normals() {
  line("MeshNormals { ");
  const size_t count = normals_->children().size();
  integer(int64_t(count));
  line(";");
  for (size_t i = 0; i < count; ++i) {
    triple(normals_->children()[i], false);
    separator(i, count);
  }
  integer(int64_t(normalIndices_.size()));
  line(";");
  for (size_t i = 0; i < normalIndices_.size(); ++i) {
    indexList(normalIndices_[i]);
    separator(i, normalIndices_.size());
  }
  line("}");
}

void XWriter::textureCoords() {
  line("MeshTextureCoords {");
  const size_t count = uvs_->children().size();
  integer(int64_t(count));
  line(";");
  for (size_t i = 0; i < count; ++i) {
    float u = 0, v = 0;
    uvOf(*uvs_->children()[i], u, v);
    real(u);
    out_ += ';';
    real(1.0f - v);
    out_ += ';';
    separator(i, count);
  }
  line("}");
}

// Colour item 0 is the object's colour; items 1... are the corners, vertex i taking item i + 1.
void XWriter::vertexColors() {
  line("MeshVertexColors {");
  const size_t count = colors_->children().size() - 1;
  integer(int64_t(count));
  line(";");
  for (size_t i = 0; i < count; ++i) {
    integer(int64_t(i));
    out_ += ';';
    triple(colors_->children()[i + 1], false);
    out_ += "1.0;";
    separator(i, count);
  }
  line(";");
  line("}");
}

void XWriter::body(const GxElement &body) {
  out_ += "Mesh " + xName(body.name().str()) + " {\r\n";
  normals_ = uvs_ = colors_ = nullptr;
  normalIndices_.clear();
  faceCount_ = 0;
  for (const GxElement *m : body.children()) {
    if (m->name() == "vertex-color" && m->typeName() == "vec3f" && m->isArray() &&
        m->childCount() > 0)
      colors_ = m;
    else if (m->name() == "normals" && m->isArray())
      normals_ = m;
    else if (m->typeName() == "uv-array" && m->isArray())
      uvs_ = m;
    else if (m->typeName() == "vertex" && m->isArray())
      vertices(*m);
    else if (m->typeName() == "face" && m->isArray())
      faces(*m);
    else if (m->name() == "face-parts" && m->isArray())
      materialList(*m);
  }
  if (normals_)
    normals();
  if (uvs_)
    textureCoords();
  else if (colors_)
    vertexColors();
  line("}");
}

} // namespace

int writeX(const GxElement *tree, const std::string &, WrittenModel &out, std::ostream &) {
  if (!tree)
    return 2;
  out.main = "xof 0302txt 0064\r\nHeader {\r\n 1;\r\n 0;\r\n 1;\r\n }\r\n";
  XWriter writer(out.main);
  writer.findTextures(*tree);
  for (const GxElement *child : tree->children())
    if (child->typeName() == "material")
      writer.material(*child);
  for (const GxElement *child : tree->children())
    if (child->typeName() == "body")
      writer.body(*child);
  return 0;
}

bool sniffX(std::string_view bytes) { return bytes.substr(0, 4) == "xof "; }
