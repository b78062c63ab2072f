// The paint an object carries: a texture image plus the rule that maps the object's paint
// triangles into it. The kinds live with the painting code; the mesh only owns and copies one.
#pragma once

#include <memory>

class PaintLayer {
public:
  virtual ~PaintLayer() = default;
  virtual std::unique_ptr<PaintLayer> clone() const = 0;
};
