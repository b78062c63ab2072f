#include "interchange/gx_build.h"
#include "interchange/vrml/vrml_format.h"
#include "interchange/vrml/vrml_lexer.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace {

// Appends a number as C's "%g" writes it (6 significant digits), whatever the locale.
void appendNumber(std::string &out, float value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  out.append(buffer, result.ptr);
}

// The first three values of a float leaf, or the fallback when it has fewer.
std::vector<float> threeOf(const GxElement *leaf, float fallback) {
  const std::vector<float> *values = floatValues(leaf);
  return values && values->size() >= 3 ? std::vector<float>(values->begin(), values->begin() + 3)
                                       : std::vector<float>(3, fallback);
}

std::string quoted(const std::string &text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\';
    out += c;
  }
  return out + '"';
}

// The data lists of a body and the node each becomes.
enum DataList { kVertices, kColors, kUvs, kNormals, kDataLists };
struct DataNode {
  const char *member, *field, *suffix, *type, *values, *indices, *indexList;
};
const DataNode kDataNodes[kDataLists] = {
    {"vertices", "coord", "_coord", "Coordinate", "point [ ", "coordIndex [ ", "vertex-indices"},
    {"vertex-color", "color", "_color", "Color", "color [ ", "colorIndex [ ",
     "vertex-color-indices"},
    {"uv-array", "texCoord", "_texCoord", "TextureCoordinate", "point [ ", "texCoordIndex [ ",
     "uv-indices"},
    {"normals", "normal", "_normal", "Normal", "vector [ ", "normalIndex [ ",
     "vertex-normal-indices"},
};
// The index fields come in this order.
const DataList kIndexOrder[kDataLists] = {kColors, kVertices, kUvs, kNormals};

class VrmlWriter {
public:
  explicit VrmlWriter(std::string &out) : out_(out) {}
  void write(const GxElement &tree);

private:
  void indent() { out_.append(size_t(2 * level_), ' '); }
  void line(const std::string &text) {
    indent();
    out_ += text;
    out_ += "\r\n";
  }
  void body(const GxElement &body);
  void shape(const GxElement &part, bool first);
  void appearance(const std::string &materialName);
  void materialNode(const GxElement &shading);
  void indexField(const DataNode &data, const GxElement &faceIndices);
  void dataNode(DataList which);
  void item(DataList which, const GxElement &item);

  std::string &out_;
  int level_ = 0;
  std::string bodyName_;
  std::unordered_map<std::string, const GxElement *> materials_;
  const GxElement *faces_ = nullptr;
  const GxElement *lists_[kDataLists] = {};
};

void VrmlWriter::write(const GxElement &tree) {
  out_ = "#VRML V2.0 utf8\n\nDEF MocRoot Group {\n";
  level_ = 1;
  line("children [ ");
  indent(); // stays at the start of the first body's line
  for (const GxElement *child : tree.children())
    if (child->typeName() == "material")
      materials_[child->name().str()] = child;
  for (const GxElement *child : tree.children())
    if (child->typeName() == "body")
      body(*child);
  line("]");
  out_ += "}\r\n";
}

void VrmlWriter::body(const GxElement &body) {
  bodyName_ = vrmlName(body.name().str());
  faces_ = nullptr;
  std::fill(std::begin(lists_), std::end(lists_), nullptr);
  for (const GxElement *member : body.children()) {
    if (member->childCount() > 0 && member->name() == "faces")
      faces_ = member;
    for (int d = 0; d < kDataLists; ++d)
      if (member->childCount() > 0 && member->name() == kDataNodes[d].member)
        lists_[d] = member;
    if (member->name() != "face-parts")
      continue;
    line("DEF " + bodyName_ + "_grp Group { ");
    ++level_;
    line("children [");
    ++level_;
    bool first = true;
    for (const GxElement *part : member->children()) {
      shape(*part, first);
      first = false;
      line(",");
    }
    --level_;
    line("]");
    --level_;
    line("},");
  }
}

void VrmlWriter::shape(const GxElement &part, bool first) {
  line("DEF " + bodyName_ + " Shape { ");
  level_ += 2;
  if (const GxString *material = stringMember(part, "material"))
    appearance(material->str());
  line("geometry IndexedFaceSet { ");
  ++level_;
  line("colorPerVertex TRUE");
  line("normalPerVertex TRUE");
  if (const GxElement *faceIndices = part.findChild("face-indices"))
    for (DataList d : kIndexOrder)
      if (lists_[d])
        indexField(kDataNodes[d], *faceIndices);
  for (int d = 0; d < kDataLists; ++d)
    if (lists_[d] && first)
      dataNode(DataList(d));
    else if (lists_[d])
      line(std::string(kDataNodes[d].field) + " USE " + bodyName_ + kDataNodes[d].suffix);
  --level_;
  line("} ");
  --level_;
  line("} ");
  --level_;
}

// A material missing from the tree gives an appearance without a material node.
void VrmlWriter::appearance(const std::string &materialName) {
  line("appearance DEF " + vrmlName(materialName) + " Appearance { ");
  ++level_;
  const auto found = materials_.find(materialName);
  if (found != materials_.end())
    for (const GxElement *shading : found->second->children())
      if (shading->name() == "GL_Shade")
        materialNode(*shading);
  --level_;
  line("}");
}

// Members a shading block lacks take VRML's defaults, and a missing opacity means opaque.
void VrmlWriter::materialNode(const GxElement &shading) {
  const std::vector<float> diffuse = threeOf(shading.findChild("DIFFUSE-COLOR"), 0.8f);
  const std::vector<float> emission = threeOf(shading.findChild("EMISSION-COLOR"), 0.0f);
  float shininess = 0.0f, opacity = 1.0f;
  std::string texture;
  for (const GxElement *entry : shading.children()) {
    if (auto *value = dynamic_cast<const GxFloatProperty *>(entry)) {
      if (entry->name() == "SHININESS")
        shininess = value->value();
      else if (entry->name() == "OPACITY")
        opacity = value->value();
    }
    if (entry->name() == "TEXTURE-MAP")
      for (const GxElement *name : entry->children())
        if (auto *text = dynamic_cast<const GxStringProperty *>(name))
          if (name->name() == "name" && !text->value().empty())
            texture = text->value().str();
  }
  line("material Material { ");
  ++level_;
  const std::pair<const char *, const std::vector<float> *> colors[] = {
      {"diffuseColor ", &diffuse}, {"emissiveColor ", &emission}};
  for (const auto &[label, rgb] : colors) {
    indent();
    out_ += label;
    for (float v : *rgb) {
      appendNumber(out_, v);
      out_ += ' ';
    }
    out_ += "\r\n";
  }
  indent();
  out_ += "shininess ";
  appendNumber(out_, shininess);
  out_ += "\r\n";
  indent();
  out_ += "transparency ";
  appendNumber(out_, 1.0f - opacity);
  out_ += "\r\n";
  --level_;
  line("} ");
  if (!texture.empty())
    line("texture ImageTexture { url [ " + quoted(texture) + " ] } ");
}

// Per face the indices from the last to the first, each followed by ", ", and "-1, " and a line
// end after a list of more than one index.
void VrmlWriter::indexField(const DataNode &data, const GxElement &faceIndices) {
  line(data.indices);
  ++level_;
  std::vector<int32_t> faceNumbers, values;
  intValues(faceIndices, faceNumbers);
  for (int32_t f : faceNumbers) {
    const GxElement *face = faces_ ? faces_->childAt(f) : nullptr;
    const GxElement *list = face ? face->findChild(data.indexList) : nullptr;
    if (!list)
      continue;
    intValues(*list, values);
    indent();
    for (auto v = values.rbegin(); v != values.rend(); ++v) {
      out_ += std::to_string(*v);
      out_ += ", ";
    }
    if (values.size() > 1)
      out_ += "-1, \r\n";
  }
  --level_;
  line("] ");
}

void VrmlWriter::dataNode(DataList which) {
  const DataNode &data = kDataNodes[which];
  line(std::string(data.field) + " DEF " + bodyName_ + data.suffix + " " + data.type + " { ");
  ++level_;
  line(data.values);
  ++level_;
  for (const GxElement *entry : lists_[which]->children())
    item(which, *entry);
  --level_;
  line("]");
  --level_;
  line("}");
}

// One line of a data node: u and v of a coordinate item, the three values of a colour or
// normal, the three values of a vertex item's first member.
void VrmlWriter::item(DataList which, const GxElement &entry) {
  indent();
  std::vector<float> values;
  if (which == kUvs) {
    values.assign(2, 0.0f);
    uvOf(entry, values[0], values[1]);
  } else {
    values = threeOf(which == kVertices ? entry.childAt(0) : &entry, 0.0f);
  }
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0)
      out_ += ' ';
    appendNumber(out_, values[i]);
  }
  out_ += ", \r\n";
}

bool reserved(const std::string &name) {
  static const char *const kWords[] = {"DEF",   "USE",     "PROTO",    "EXTERNPROTO", "ROUTE",
                                       "TO",    "IS",      "NULL",     "TRUE",        "FALSE",
                                       "field", "eventIn", "eventOut", "exposedField"};
  for (const char *word : kWords)
    if (name == word)
      return true;
  return false;
}

} // namespace

std::string vrmlName(const std::string &name) {
  std::string out = name;
  for (char &c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7f ||
        std::string_view("\"#',.[\\]{}").find(c) != std::string_view::npos)
      c = '_';
  }
  if (out.empty() || looksNumeric(out) || reserved(out))
    out.insert(out.begin(), '_');
  return out;
}

int writeVrml(const GxElement *tree, std::string &out, std::ostream &diagnostics) {
  if (!tree) {
    diagnostics << "Root node passed to vrmlWriter is NULL" << std::endl;
    return 2;
  }
  VrmlWriter(out).write(*tree);
  return 0;
}
