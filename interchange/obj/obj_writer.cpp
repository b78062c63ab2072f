#include "interchange/gx_packed.h"
#include "interchange/obj/obj_format.h"
#include "interchange/text_buffer.h"
#include "morvo_version.h"

namespace {

// Appends a number as C's "%g" writes it (6 significant digits).
void appendFloat(TextBuffer &out, float value) { out.appendFloat(value, 6); }

void appendInt(TextBuffer &out, int64_t value) { out.appendInt(value); }

// Appends up to three values separated by blanks.
void appendValues(TextBuffer &out, const float *values, size_t count) {
  for (size_t i = 0; i < 3 && i < count; ++i) {
    if (i > 0)
      out += ' ';
    appendFloat(out, values[i]);
  }
}

// Appends the first three values of a float leaf separated by blanks.
void appendValues(TextBuffer &out, const GxElement *leaf) {
  if (const std::vector<float> *values = floatValues(leaf))
    appendValues(out, values->data(), values->size());
}

// How many lines the bodies of tree give, about.
size_t expectedLines(const GxElement &tree) {
  size_t lines = 0;
  for (const GxElement *body : tree.children())
    if (body->typeName() == "body")
      for (const GxElement *member : body->children())
        if (member->isArray() && (member->typeName() == "vertex" || member->name() == "normals" ||
                                  member->name() == "uv-array" || member->typeName() == "face"))
          lines += size_t(member->childCount());
  return lines;
}

class ObjWriter {
public:
  // A line of three numbers, or a face of three corners, takes about 40 characters.
  ObjWriter(std::string &obj, std::string &mtl, size_t lines) : obj_(obj), mtl_(mtl) {
    obj_.reserve(lines * 40);
  }
  void material(const GxElement &material);
  void body(const GxElement &body);

private:
  // Writes the list members of a body; returns the number of "v" lines.
  int64_t lists(const GxElement &body, int64_t &texCoords);
  void line(const char *start, const float *values, size_t count, const char *end);
  int64_t vertexLines(const GxElement &list);
  void normalLines(const GxElement &list);
  void texCoordLines(const GxElement &list);
  void faces(const GxElement &list, int64_t texCoords);
  void face(const int32_t *indices, int64_t n, int64_t texCoords);

  TextBuffer obj_, mtl_;
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
  int64_t vertexCount = 0;
  for (const GxElement *member : body.children()) {
    if (member->typeName() == "vertex" && member->isArray()) {
      obj_ += "# vertex list\r\n";
      vertexCount += vertexLines(*member);
    } else if (member->name() == "normals") {
      obj_ += "# vertex normals\r\n";
      normalLines(*member);
    } else if (member->name() == "uv-array") {
      texCoords = member->childCount();
      obj_ += "# vertex UVs\r\n";
      texCoordLines(*member);
    }
  }
  return vertexCount;
}

void ObjWriter::line(const char *start, const float *values, size_t count, const char *end) {
  obj_ += start;
  appendValues(obj_, values, count);
  obj_ += end;
}

int64_t ObjWriter::vertexLines(const GxElement &list) {
  auto *packed = dynamic_cast<const GxVec3List *>(&list);
  if (packed && packed->packed() && !packed->leaves()) {
    const std::vector<float> &xyz = *packed->packed();
    for (size_t i = 0; i + 2 < xyz.size(); i += 3)
      line("v ", &xyz[i], 3, "\r\n");
    return packed->childCount();
  }
  int64_t count = 0;
  for (const GxElement *item : list.children())
    for (const GxElement *coord : item->children())
      if (coord->typeName() == "vec3f" && coord->name() == "coord") {
        const std::vector<float> *values = floatValues(coord);
        line("v ", values ? values->data() : nullptr, values ? values->size() : 0, "\r\n");
        ++count;
      }
  return count;
}

void ObjWriter::normalLines(const GxElement &list) {
  auto *packed = dynamic_cast<const GxVec3List *>(&list);
  if (packed && packed->packed() && packed->leaves()) {
    const std::vector<float> &xyz = *packed->packed();
    for (size_t i = 0; i + 2 < xyz.size(); i += 3)
      line("vn ", &xyz[i], 3, " \r\n");
    return;
  }
  for (const GxElement *item : list.children()) {
    const std::vector<float> *values = floatValues(item);
    line("vn ", values ? values->data() : nullptr, values ? values->size() : 0, " \r\n");
  }
}

void ObjWriter::texCoordLines(const GxElement &list) {
  for (int32_t i = 0; i < list.childCount(); ++i) {
    float uv[2] = {0, 0};
    gxUvAt(list, i, uv[0], uv[1]);
    line("vt ", uv, 2, " 0.0\r\n");
  }
}

void ObjWriter::faces(const GxElement &list, int64_t texCoords) {
  auto *packed = dynamic_cast<const GxFaceList *>(&list);
  if (packed && packed->pending()) {
    const int k = packed->listIndex("vertex-indices");
    for (int32_t f = 0; f < packed->faceCount(); ++f)
      if (const int32_t *indices = k < 0 ? nullptr : packed->list(f, k))
        face(indices, packed->corners(f), texCoords);
    return;
  }
  std::vector<int32_t> indices;
  for (const GxElement *item : list.children())
    for (const GxElement *member : item->children())
      if (member->typeName() == "integer" && member->name() == "vertex-indices") {
        intValues(*member, indices);
        face(indices.data(), int64_t(indices.size()), texCoords);
      }
}

void ObjWriter::face(const int32_t *indices, int64_t n, int64_t texCoords) {
  obj_ += 'f';
  for (int64_t i = n - 1; i >= 0; --i) {
    obj_ += ' ';
    appendInt(obj_, vertexBase_ + indices[i] + 1);
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

} // namespace

int writeObj(const GxElement *tree, const std::string &mtlName, std::string &obj, std::string &mtl,
             std::ostream &diagnostics) {
  if (!tree) {
    diagnostics << "Root node passed to objWriter is NULL" << std::endl;
    return 2;
  }
  obj = "#\r\n# Exported from Morvo v" MORVO_VERSION "\r\n#\r\nmtllib " + mtlName + "\r\n";
  mtl.clear();
  ObjWriter writer(obj, mtl, expectedLines(*tree));
  for (const GxElement *child : tree->children()) {
    if (child->typeName() == "material")
      writer.material(*child);
    else if (child->typeName() == "body")
      writer.body(*child);
  }
  return 0; // obj and mtl take their final lengths as the writer goes out of scope
}
