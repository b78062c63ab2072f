#include "layers/texel_layer.h"

#include <algorithm>
#include <cmath>

namespace {

// Weighted sums of the four bytes of canvas pixels.
struct ColourSum {
  float channel[4] = {0, 0, 0, 0};
  float weight = 0;

  void add(uint32_t p, float w) {
    for (int b = 0; b < 4; ++b)
      channel[b] += w * float((p >> (8 * b)) & 0xFFu);
    weight += w;
  }
  uint32_t mean() const {
    uint32_t p = 0;
    for (int b = 0; b < 4; ++b)
      p |= uint32_t(std::clamp(std::lround(channel[b] / weight), 0L, 255L)) << (8 * b);
    return p;
  }
};

size_t pixelAt(const CanvasPixels &canvas, int32_t x, int32_t y) {
  return size_t(std::clamp(y, 0, canvas.height - 1)) * size_t(canvas.width) +
         size_t(std::clamp(x, 0, canvas.width - 1));
}

// The pixels of k on the first ring around (X, Y), radius 1 to 3, that has any; returns whether
// one of them is dirty.
bool ringSearch(const CanvasPixels &canvas, int32_t X, int32_t Y, uint32_t k, ColourSum &sum) {
  bool dirty = false;
  for (int32_t r = 1; r <= 3 && sum.weight == 0; ++r)
    for (int32_t dy = -r; dy <= r; ++dy)
      for (int32_t dx = -r; dx <= r; dx += (dy == -r || dy == r) ? 1 : 2 * r) {
        const size_t i = pixelAt(canvas, X + dx, Y + dy);
        if (canvas.index[i] == k) {
          sum.add(canvas.colour[i], 1);
          dirty = dirty || canvas.dirty[i];
        }
      }
  return dirty;
}

} // namespace

bool sampleStroke(const CanvasPixels &canvas, float px, float py, uint32_t k, bool border,
                  uint32_t &colour) {
  if (!std::isfinite(px) || !std::isfinite(py) || canvas.width <= 0 || canvas.height <= 0)
    return false;
  const int32_t X = int32_t(std::lround(std::clamp(px, -4.0f, float(canvas.width) + 4)));
  const int32_t Y = int32_t(std::lround(std::clamp(py, -4.0f, float(canvas.height) + 4)));
  if (X < -1 || X > canvas.width || Y < -1 || Y > canvas.height)
    return false;
  ColourSum sum;
  bool found = false, dirty = false;
  for (int32_t y = Y - 1; y <= Y; ++y)
    for (int32_t x = X - 1; x <= X; ++x) {
      const size_t i = pixelAt(canvas, x, y);
      if (canvas.index[i] != k)
        continue;
      found = true;
      dirty = dirty || canvas.dirty[i];
      const float w =
          (1 - std::fabs(py - (float(y) + 0.5f))) * (1 - std::fabs(px - (float(x) + 0.5f)));
      sum.add(canvas.colour[i], std::max(w, 0.0f));
    }
  // A border texel whose point falls just off the triangle's pixels (at a silhouette or a
  // sliver) takes the nearest pixels of the triangle when those changed.
  if (!found && border)
    dirty = ringSearch(canvas, X, Y, k, sum);
  if (!dirty || sum.weight <= 0)
    return false;
  colour = sum.mean();
  return true;
}

bool TexelLayer::transfer(const moObject &obj, int32_t t, const CanvasPixels &canvas,
                          const float window[6], uint32_t k) {
  thread_local std::vector<TexelSample> texels;
  texelsOf(obj, t, texels);
  bool changed = false;
  for (const TexelSample &s : texels) {
    const float w0 = 1 - s.w1 - s.w2;
    const float px = w0 * window[0] + s.w1 * window[2] + s.w2 * window[4];
    const float py = w0 * window[1] + s.w1 * window[3] + s.w2 * window[5];
    uint32_t colour;
    if (sampleStroke(canvas, px, py, k, s.border, colour)) {
      image.at(s.x, s.y) = colour;
      changed = true;
    }
  }
  return changed;
}

void TexelLayer::fillTriangle(const moObject &obj, int32_t t, const moColor corners[3]) {
  thread_local std::vector<TexelSample> texels;
  texelsOf(obj, t, texels);
  for (const TexelSample &s : texels) {
    ColourSum sum;
    const float weights[3] = {1 - s.w1 - s.w2, s.w1, s.w2};
    for (int c = 0; c < 3; ++c)
      sum.add(packRgba(corners[c].r, corners[c].g, corners[c].b, corners[c].a),
              std::max(weights[c], 0.0f));
    if (sum.weight > 0)
      image.at(s.x, s.y) = sum.mean();
  }
  finishTriangle(obj, t);
}
