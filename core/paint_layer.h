// The paint an object carries: a texture image plus the rule that maps the object's paint
// triangles (moObject::triangleVertices/triangleFaces) into it. The kinds live with the painting
// code; the mesh owns, copies and converts one through this interface.
#pragma once

#include "core/mesh_elements.h"

#include <cstdint>
#include <memory>

class moObject;

class PaintLayer {
public:
  virtual ~PaintLayer() = default;
  virtual std::unique_ptr<PaintLayer> clone() const = 0;
  // The colours of the paint at the three corners of paint triangle t.
  virtual void triangleCornerColors(int32_t t, moColor out[3]) const = 0;
};

// Turns an object's paint into corner colours: each paint triangle's three corner colours become
// the colours of (corner vertex, triangle's face); where several triangles of a face share a
// corner, the last one wins. The layer and the triangle lists are left as they are.
void convertPaintToCornerColors(moObject &obj);
