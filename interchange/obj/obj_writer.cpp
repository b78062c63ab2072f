#include "interchange/gx_build.h"
#include "interchange/obj/obj_format.h"

#include <charconv>

namespace {

// Appends a number as C's "%g" writes it (6 significant digits), whatever the locale.
void appendFloat(std::string &out, float value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  out.append(buffer, result.ptr);
}

void appendInt(std::string &out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// Appends the first three values of a float leaf separated by blanks.
void appendValues(std::string &out, const GxElement *leaf) {
  const std::vector<float> *values = floatValues(leaf);
  for (size_t i = 0; values && i < 3 && i < values->size(); ++i) {
    if (i > 0)
      out += ' ';
    appendFloat(out, (*values)[i]);
  }
}

class ObjWriter {
public:
  ObjWriter(std::string &obj, std::string &mtl) : obj_(obj), mtl_(mtl) {}
  void material(const GxElement &material);
  void body(const GxElement &body);

private:
  // Writes the list members of a body; returns the number of "v" lines.
  int64_t lists(const GxElement &body, int64_t &texCoords);
  void faces(const GxElement &list, int64_t texCoords);

  std::string &obj_, &mtl_;
  int64_t vertexBase_ = 0, texCounter_ = 1, normalCounter_ = 1;
};

void ObjWriter::material(const GxElement &material) {
  mtl_ += "newmtl ";
  mtl_ += material.name().str();
  mtl_ += "\r\n";
  const GxString *texture = nullptr;
  for (const GxElement *shading : material.children()) {
    if (shading->name() != "GL_Shade")
      continue;
    for (const GxElement *entry : shading->children()) {
      if (entry->name() == "DIFFUSE-COLOR") {
        mtl_ += "Kd ";
        appendValues(mtl_, entry);
        mtl_ += "\r\n";
      } else if (entry->name() == "SPECULAR-COLOR") {
        mtl_ += "Ks ";
        appendValues(mtl_, entry);
        mtl_ += " \r\n"; // each value followed by a blank
      } else if (entry->name() == "SHININESS") {
        if (auto *value = dynamic_cast<const GxFloatProperty *>(entry)) {
          mtl_ += "Ns ";
          appendFloat(mtl_, value->value());
          mtl_ += "\r\n";
        }
      } else if (entry->name() == "TEXTURE-MAP") {
        for (const GxElement *name : entry->children())
          if (auto *text = dynamic_cast<const GxStringProperty *>(name))
            if (name->name() == "name" && !text->value().empty())
              texture = &text->value();
      }
    }
  }
  mtl_ += "illum 2\r\n";
  if (texture) {
    mtl_ += "map_Kd ";
    mtl_ += texture->str();
    mtl_ += " \r\n";
  }
}

void ObjWriter::body(const GxElement &body) {
  obj_ += "g ";
  obj_ += body.name().str();
  obj_ += "\r\n";
  if (const GxString *material = stringMember(body, "material")) {
    obj_ += "usemtl ";
    obj_ += material->str();
    obj_ += "\r\n";
  }
  int64_t texCoords = 0;
  const int64_t vertexLines = lists(body, texCoords);
  for (const GxElement *member : body.children())
    if (member->typeName() == "face" && member->isArray()) {
      faces(*member, texCoords);
      break;
    }
  vertexBase_ += vertexLines;
}

int64_t ObjWriter::lists(const GxElement &body, int64_t &texCoords) {
  int64_t vertexLines = 0;
  for (const GxElement *member : body.children()) {
    if (member->typeName() == "vertex" && member->isArray()) {
      obj_ += "# vertex list\r\n";
      for (const GxElement *item : member->children())
        for (const GxElement *coord : item->children())
          if (coord->typeName() == "vec3f" && coord->name() == "coord") {
            obj_ += "v ";
            appendValues(obj_, coord);
            obj_ += "\r\n";
            ++vertexLines;
          }
    } else if (member->name() == "normals") {
      obj_ += "# vertex normals\r\n";
      for (const GxElement *item : member->children()) {
        obj_ += "vn ";
        appendValues(obj_, item);
        obj_ += " \r\n";
      }
    } else if (member->name() == "uv-array") {
      texCoords = member->childCount();
      obj_ += "# vertex UVs\r\n";
      for (const GxElement *item : member->children()) {
        float u = 0, v = 0;
        uvOf(*item, u, v);
        obj_ += "vt ";
        appendFloat(obj_, u);
        obj_ += ' ';
        appendFloat(obj_, v);
        obj_ += " 0.0\r\n";
      }
    }
  }
  return vertexLines;
}

void ObjWriter::faces(const GxElement &list, int64_t texCoords) {
  std::vector<int32_t> indices;
  for (const GxElement *face : list.children())
    for (const GxElement *member : face->children()) {
      if (member->typeName() != "integer" || member->name() != "vertex-indices")
        continue;
      intValues(*member, indices);
      const int64_t n = int64_t(indices.size());
      obj_ += 'f';
      for (int64_t i = n - 1; i >= 0; --i) {
        obj_ += ' ';
        appendInt(obj_, vertexBase_ + indices[size_t(i)] + 1);
        if (texCoords == 0) {
          obj_ += "//";
        } else {
          obj_ += '/';
          appendInt(obj_, texCounter_++);
          obj_ += '/';
        }
        appendInt(obj_, normalCounter_ + i); // the first corner written takes the last normal
      }
      normalCounter_ += n;
      obj_ += "\r\n";
    }
}

} // namespace

int writeObj(const GxElement *tree, const std::string &mtlName, std::string &obj, std::string &mtl,
             std::ostream &diagnostics) {
  if (!tree) {
    diagnostics << "Root node passed to objWriter is NULL" << std::endl;
    return 2;
  }
  obj = "#\r\n# Exported from Morvo v1.1\r\n#\r\nmtllib " + mtlName + "\r\n";
  mtl.clear();
  ObjWriter writer(obj, mtl);
  for (const GxElement *child : tree->children()) {
    if (child->typeName() == "material")
      writer.material(*child);
    else if (child->typeName() == "body")
      writer.body(*child);
  }
  return 0;
}
