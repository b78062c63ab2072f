// What one modeling step changed in one object, element by element: the history keeps this
// instead of a whole copy once the step is followed by another. A delta leads an object from
// one state to the other by exchanging values in place, so the same delta, exchanged again,
// leads back.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <memory>
#include <vector>

class ObjectDelta {
public:
  // The delta that leads `after` back to `before`; null when either holds paint (a paint layer is
  // kept whole) or when the delta would not be smaller than a copy.
  static std::unique_ptr<ObjectDelta> between(const moObject &before, const moObject &after);
  // Whether the object is in the state the delta leads from.
  bool fits(const moObject &object) const;
  // Exchanges the kept values with the object's, which must fit: it then is in the other state,
  // and the delta leads back.
  void exchange(moObject &object);
  size_t bytes() const;

private:
  template <class T> struct Values {
    int32_t count = 0;            // the other state's element count
    std::vector<int32_t> indices; // where the states differ, below the larger count
    std::vector<T> values;        // the other state's values there
  };
  Values<moEdge> edges_;
  Values<moFace> faces_;
  Values<moVertex> vertices_;
  Values<int32_t> triangleVertices_, triangleFaces_;
  // The other state's attributes.
  uint8_t visible_ = 1, sensitive_ = 1, shaded_ = 1, showTexture_ = 1;
  std::string name_;
  moMaterial material_;
  moGroupNode *ownerGroup_ = nullptr;
  uint64_t from_ = 0, to_ = 0; // fingerprints of the state the delta leads from and to
};

// A fingerprint of everything a delta keeps: element counts and values, and attributes.
uint64_t objectFingerprint(const moObject &object);
