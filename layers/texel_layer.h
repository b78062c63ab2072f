// What the layer kinds share: each kind lists the texels of a paint triangle with where they lie
// in the triangle, and transfer and fill work on that list the same way for every kind.
#pragma once

#include "core/paint_layer.h"

#include <vector>

// One texel of a paint triangle: its image position, the weights of corners 1 and 2 at its
// point (corner 0 weighs 1 - w1 - w2) and whether it lies on the triangle's border, where a
// stroke may have to be looked for a little further away.
struct TexelSample {
  int32_t x = 0, y = 0;
  float w1 = 0, w2 = 0;
  bool border = false;
};

class TexelLayer : public PaintLayer {
public:
  bool transfer(const moObject &obj, int32_t t, const CanvasPixels &canvas, const float window[6],
                uint32_t k) override;
  void fillTriangle(const moObject &obj, int32_t t, const moColor corners[3]) override;
  // The texels of triangle t with their weights, as texelsOf lists them.
  void texels(const moObject &obj, int32_t t, std::vector<TexelSample> &out) const {
    texelsOf(obj, t, out);
  }

protected:
  // Replaces out with the texels of triangle t, all inside the image (none without an image).
  virtual void texelsOf(const moObject &obj, int32_t t, std::vector<TexelSample> &out) const = 0;
};

// The colour a texel whose point lies at window (px, py) takes from the pixels of triangle k, or
// false when it keeps its value: the pixels of k among the four around the point, weighted
// bilinearly, when one of them is dirty; for a border texel with none of k's pixels among the
// four, the pixels of k on the nearest ring (radius 1 to 3) around it, when one of them is
// dirty.
bool sampleStroke(const CanvasPixels &canvas, float px, float py, uint32_t k, bool border,
                  uint32_t &colour);
