// The leaves of the interchange tree. A leaf is created empty and then given its type name, name
// and value by the producer. Which kind carries which type name is fixed: "string" values are
// GxStringProperty, "vec3f"/"vec4f" GxFloatArrayProperty, "float" GxFloatProperty and "integer"
// GxIntProperty; consumers read the value of the kind they expect.
#pragma once

#include "interchange/gx_element.h"

#include <vector>

// Common part of the leaves: no children, and the dump line "<name> <value>;".
class GxLeaf : public GxElement {
public:
  // Writes the indentation and the name, then by type name: "string" gives ` "value";`,
  // "boolean" a blank, the value in its GxString form and ";", anything else a blank, the value
  // as the stream formats it and ";".
  bool writeText(std::ostream &out, int level) const override;

protected:
  GxLeaf() = default;
  ~GxLeaf() override = default;
  // The value as the stream formats it (showpoint on: 1.0f is "1.00000").
  virtual void streamValue(std::ostream &out) const = 0;
  // The value in its GxString text form.
  virtual GxString textValue() const = 0;
  // Copies name, type name and flags onto `copy` for clone().
  GxElement *cloneInto(GxLeaf *copy) const;
};

class GxStringProperty : public GxLeaf {
public:
  GxStringProperty() = default;
  GxStringProperty(const GxString &typeName, const GxString &name, const GxString &value);
  const GxString &value() const { return value_; }
  void setValue(const GxString &value) { value_ = value; }
  GxElement *clone() const override;

protected:
  ~GxStringProperty() override = default; // released through destroy()
  void streamValue(std::ostream &out) const override;
  GxString textValue() const override { return value_; }

private:
  GxString value_;
};

class GxFloatArrayProperty : public GxLeaf {
public:
  GxFloatArrayProperty() = default;
  GxFloatArrayProperty(const GxString &typeName, const GxString &name, std::vector<float> values);
  const std::vector<float> &values() const { return values_; }
  int32_t count() const { return int32_t(values_.size()); }
  void setValues(std::vector<float> values) { values_ = std::move(values); }
  GxElement *clone() const override;

protected:
  ~GxFloatArrayProperty() override = default; // released through destroy()
  // Each value preceded by a blank.
  void streamValue(std::ostream &out) const override;
  GxString textValue() const override;

private:
  std::vector<float> values_;
};

class GxFloatProperty : public GxLeaf {
public:
  GxFloatProperty() = default;
  GxFloatProperty(const GxString &typeName, const GxString &name, float value);
  float value() const { return value_; }
  void setValue(float value) { value_ = value; }
  GxElement *clone() const override;

protected:
  ~GxFloatProperty() override = default; // released through destroy()
  void streamValue(std::ostream &out) const override;
  GxString textValue() const override { return GxString(value_); }

private:
  float value_ = 0.0f;
};

class GxIntProperty : public GxLeaf {
public:
  GxIntProperty() = default;
  GxIntProperty(const GxString &typeName, const GxString &name, int32_t value);
  int32_t value() const { return value_; }
  void setValue(int32_t value) { value_ = value; }
  GxElement *clone() const override;

protected:
  ~GxIntProperty() override = default; // released through destroy()
  void streamValue(std::ostream &out) const override;
  GxString textValue() const override { return GxString(value_); }

private:
  int32_t value_ = 0;
};
