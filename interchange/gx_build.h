// Short hands for the producers and consumers of interchange trees: adding typed members in one
// call, and reading members of the expected leaf kind. Readers of a tree never trust it: a
// member of the wrong kind counts as missing.
#pragma once

#include "interchange/gx_properties.h"

#include <string>
#include <vector>

// A container added to parent: an ARRAY with array set, otherwise a STRUCT.
GxNode *addNode(GxElement &parent, const char *typeName, const char *name, bool array = false);
// Leaves added to parent with the type names the well-known layout gives them.
void addString(GxElement &parent, const char *name, const std::string &value);
void addVec3(GxElement &parent, const char *name, float x, float y, float z);
void addFloat(GxElement &parent, const char *name, float value);
void addInt(GxElement &parent, const char *name, int32_t value);
// A coordinate item (STRUCT, by default with empty type name and name "uv-array") holding the
// "uv" pair, added to list.
void addUv(GxElement &list, float u, float v, const char *itemTypeName = "",
           const char *itemName = "uv-array");

// The value of the first string member called name, or null.
const GxString *stringMember(const GxElement &parent, const char *name);
// The values of a float-array leaf (null when e is none).
const std::vector<float> *floatValues(const GxElement *e);
// The values of the "integer" leaves of an index list, in order; other children are skipped.
void intValues(const GxElement &list, std::vector<int32_t> &out);
// u and v of a coordinate item: the first two "float" leaves of its first member; false when
// the item does not hold them.
bool uvOf(const GxElement &item, float &u, float &v);
