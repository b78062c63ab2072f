#include "interchange/gx_properties.h"

#include <ostream>

bool GxLeaf::writeText(std::ostream &out, int level) const {
  out.setf(std::ios::showpoint);
  indent(out, level);
  out << name();
  if (typeName() == "string") {
    out << " \"";
    streamValue(out);
    out << "\";";
  } else if (typeName() == "boolean") {
    out << ' ' << textValue() << ';';
  } else {
    out << ' ';
    streamValue(out);
    out << ';';
  }
  return out.good();
}

GxElement *GxLeaf::cloneInto(GxLeaf *copy) const {
  copy->setTypeName(typeName());
  copy->setName(name());
  return copy;
}

namespace {

template <class Leaf, class Value>
void initLeaf(Leaf &leaf, const GxString &typeName, const GxString &name, Value value) {
  leaf.setTypeName(typeName);
  leaf.setName(name);
  leaf.setValue(std::move(value));
}

} // namespace

GxStringProperty::GxStringProperty(const GxString &typeName, const GxString &name,
                                   const GxString &value) {
  initLeaf(*this, typeName, name, value);
}

GxElement *GxStringProperty::clone() const {
  auto *copy = new GxStringProperty();
  copy->value_ = value_;
  return cloneInto(copy);
}

void GxStringProperty::streamValue(std::ostream &out) const { out << value_; }

GxFloatArrayProperty::GxFloatArrayProperty(const GxString &typeName, const GxString &name,
                                           std::vector<float> values) {
  setTypeName(typeName);
  setName(name);
  values_ = std::move(values);
}

GxElement *GxFloatArrayProperty::clone() const {
  auto *copy = new GxFloatArrayProperty();
  copy->values_ = values_;
  return cloneInto(copy);
}

void GxFloatArrayProperty::streamValue(std::ostream &out) const {
  for (float v : values_)
    out << ' ' << v;
}

GxString GxFloatArrayProperty::textValue() const {
  return GxString::fromFloats(values_.data(), count());
}

GxFloatProperty::GxFloatProperty(const GxString &typeName, const GxString &name, float value) {
  initLeaf(*this, typeName, name, value);
}

GxElement *GxFloatProperty::clone() const {
  auto *copy = new GxFloatProperty();
  copy->value_ = value_;
  return cloneInto(copy);
}

void GxFloatProperty::streamValue(std::ostream &out) const { out << value_; }

GxIntProperty::GxIntProperty(const GxString &typeName, const GxString &name, int32_t value) {
  initLeaf(*this, typeName, name, value);
}

GxElement *GxIntProperty::clone() const {
  auto *copy = new GxIntProperty();
  copy->value_ = value_;
  return cloneInto(copy);
}

void GxIntProperty::streamValue(std::ostream &out) const { out << value_; }
