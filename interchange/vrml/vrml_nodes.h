// The node model of the VRML 2.0 reader: the standard node types with their fields, and the nodes
// a file is parsed into. A node keeps the fields the file gave it; every other field has its
// standard default, which the code reading the node supplies.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The value types of fields. SFLong and MFLong are VRML's SFInt32 and MFInt32.
enum moFieldType : uint8_t {
  moSFBool,
  moSFColor,
  moSFFloat,
  moSFImage,
  moSFLong,
  moSFNode,
  moSFRotation,
  moSFString,
  moSFTime,
  moSFVec2f,
  moSFVec3f,
  moMFColor,
  moMFFloat,
  moMFLong,
  moMFNode,
  moMFRotation,
  moMFString,
  moMFTime,
  moMFVec2f,
  moMFVec3f,
};

// The type a field name in a file stands for ("SFInt32", "MFVec3f"); false when there is none.
bool fieldTypeNamed(std::string_view name, moFieldType &type);
// Whether values of the type come in brackets.
bool isMultiValued(moFieldType type);
// Numbers per value of a numeric type (3 for a colour, 4 for a rotation); 0 for the others.
int numbersPerValue(moFieldType type);
// Whether the values of the type are integers (SFLong, MFLong, SFBool) rather than floats.
bool isIntegerValued(moFieldType type);

struct moFieldSpec {
  std::string name;
  moFieldType type;
};

struct moNodeType {
  std::string name;
  std::vector<moFieldSpec> fields;
  // The field called name, or null.
  const moFieldSpec *field(std::string_view fieldName) const;
};

// The standard node type called name ("Shape", "IndexedFaceSet"), or null.
const moNodeType *findNodeType(std::string_view name);

class moNode;
using moNodePtr = std::shared_ptr<const moNode>;

// One field as the file gave it. Numeric values are flattened: an MFVec3f of n values holds 3n
// floats. Booleans are the integers 0 and 1.
struct moField {
  const moFieldSpec *spec = nullptr;
  std::vector<float> floats;
  std::vector<int32_t> ints;
  std::vector<std::string> strings;
  std::vector<moNodePtr> nodes; // an SFNode holds one entry, null for NULL
};

class moNode {
public:
  explicit moNode(const moNodeType &type) : type_(&type) {}
  const moNodeType &type() const { return *type_; }
  // The DEF name; empty when the node has none.
  const std::string &name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  // The longest chain of nodes from this one down, itself included.
  int32_t height() const { return height_; }
  // Stores a field, replacing an earlier value of the same field; keeps height up to date.
  void setField(moField field);
  // The field called name as the file gave it, or null.
  const moField *field(std::string_view fieldName) const;
  // The node held by the SFNode field called name, or null.
  const moNode *nodeField(std::string_view fieldName) const;
  // The first value of a boolean field, or fallback when it was not given.
  bool boolField(std::string_view fieldName, bool fallback) const;

private:
  const moNodeType *type_;
  std::string name_;
  std::vector<moField> fields_;
  int32_t height_ = 1;
};
