// The paint an object carries: one texture image plus the rule that maps each of the object's
// paint triangles (moObject::triangleVertices/triangleFaces) to a triangle of that image. The
// kinds and their rules live with the painting code; the mesh owns, copies and converts a layer
// through this interface.
#pragma once

#include "core/mesh_elements.h"
#include "image/image_buffer.h"

#include <cstdint>
#include <memory>
#include <vector>

class moObject;

class PaintLayer {
public:
  enum Kind : uint8_t {
    kAtlas = 0,     // square cells of the image, two triangles per cell
    kPerVertex = 1, // one coordinate pair per vertex
    kPerCorner = 2, // one coordinate pair per triangle corner
  };

  virtual ~PaintLayer() = default;
  virtual Kind kind() const = 0;
  virtual std::unique_ptr<PaintLayer> clone() const = 0;
  // Texture coordinates (u, v in 0..1) of the three corners of paint triangle t of obj, the
  // object that owns the layer. Coordinates the layer does not hold come back as 0.
  virtual void cornerTexCoords(const moObject &obj, int32_t t, float uv[6]) const = 0;
  // The colours of the image at the three corners of paint triangle t (nearest texel; white
  // where the layer has no image).
  virtual void triangleCornerColors(const moObject &obj, int32_t t, moColor out[3]) const;

  ImageBuffer image;
  int32_t elementCount = 0;       // triangles (atlas), vertices or triangle corners it was made for
  std::vector<float> coordinates; // two floats per entry; empty for the atlas

protected:
  PaintLayer() = default;
  // Copies the image, count and coordinates of another layer (for clone).
  void copyFrom(const PaintLayer &other);
};

// Turns an object's paint into corner colours: each paint triangle's three corner colours become
// the colours of (corner vertex, triangle's face); where several triangles of a face share a
// corner, the last one wins. The layer and the triangle lists are left as they are.
void convertPaintToCornerColors(moObject &obj);
