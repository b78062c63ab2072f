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

// A rectangle of texels (x, y its lower-left texel).
struct TexelRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};

// The canvas a stroke is transferred from, all arrays width x height with row 0 at the bottom:
// the colour of every pixel (RGBA, red in the lowest byte), the global paint index of the
// triangle it shows and whether it changed since the last transfer (non-zero).
struct CanvasPixels {
  int32_t width = 0, height = 0;
  const uint32_t *colour = nullptr;
  const uint32_t *index = nullptr;
  const uint8_t *dirty = nullptr;
};

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
  // The texel operations below belong to the layer kinds; a layer that maps no texels (the
  // defaults) has none to show, change or fill.

  // The texels paint triangle t occupies in the image, margins included; empty when it has none
  // (no image, or a triangle the layer has no room for). Always inside the image.
  virtual TexelRect texelRect(const moObject &, int32_t) const { return {}; }
  // Writes the canvas pixels of paint triangle t, whose corners the window shows at
  // window[0..5] (x, y pairs) and whose pixels carry index k, into its texels: only texels
  // whose screen footprint holds a dirty pixel of the triangle change. Returns whether any
  // texel changed. Never writes outside the image.
  virtual bool transfer(const moObject &, int32_t, const CanvasPixels &, const float[6], uint32_t) {
    return false;
  }
  // Completes triangle t after its texels changed (the atlas copies them into the margins that
  // texture filtering reads; the other kinds need nothing).
  virtual void finishTriangle(const moObject &, int32_t) {}
  // Fills triangle t's texels by interpolating the colours of its three corners, then finishes
  // it.
  virtual void fillTriangle(const moObject &, int32_t, const moColor[3]) {}

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
