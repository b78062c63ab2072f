#include "paint/layers/paint_layers.h"

#include "core/mesh.h"

#include <algorithm>
#include <cmath>

int32_t roundToPowerOfTwo(int32_t n) {
  if (n <= 1)
    return 0;
  int32_t below = 1;
  while (below <= n / 2)
    below *= 2;
  if (below == n)
    return n;
  const int64_t above = int64_t(below) * 2;
  return above - n <= n - below && above <= INT32_MAX ? int32_t(above) : below;
}

AtlasLayout atlasLayout(int32_t width, int32_t height, int32_t triangles) {
  AtlasLayout layout;
  if (width <= 0 || height <= 0)
    return layout;
  const int64_t cells = std::max<int64_t>(1, (int64_t(triangles) + 1) / 2);
  int32_t c = int32_t(std::min<double>(256, std::floor(std::sqrt(double(width) * height / cells))));
  // Shrink the cells until they all fit; a single texel is the smallest cell there is.
  while (c > 1 && int64_t(height / c) * (width / c) < cells)
    --c;
  layout.cellSize = std::max(c, 1);
  layout.columns = width / layout.cellSize;
  return layout;
}

namespace {

class AtlasLayer : public PaintLayer {
public:
  Kind kind() const override { return kAtlas; }
  std::unique_ptr<PaintLayer> clone() const override {
    auto copy = std::make_unique<AtlasLayer>();
    copy->copyFrom(*this);
    return copy;
  }
  void cornerTexCoords(const moObject &, int32_t t, float uv[6]) const override {
    std::fill(uv, uv + 6, 0.0f);
    const AtlasLayout layout = atlasLayout(image.width(), image.height(), elementCount);
    if (layout.columns == 0 || t < 0)
      return;
    const int32_t cell = t / 2, c = layout.cellSize;
    const float x0 = float((cell % layout.columns) * c), y0 = float((cell / layout.columns) * c);
    const float fc = float(c);
    const float even[6] = {1.625f, 1.625f, fc - 3.725f, 1.625f, 1.625f, fc - 3.725f};
    const float odd[6] = {fc - 1.625f, fc - 1.625f, 3.725f, fc - 1.625f, fc - 1.625f, 3.725f};
    const float *offsets = t % 2 == 0 ? even : odd;
    for (int k = 0; k < 3; ++k) {
      uv[2 * k] = (x0 + offsets[2 * k]) / float(image.width());
      uv[2 * k + 1] = (y0 + offsets[2 * k + 1]) / float(image.height());
    }
  }
};

// Coordinates looked up per entry: the per-vertex kind by the corner's vertex, the per-corner
// kind by the corner's position in the triangle list.
class CoordinateLayer : public PaintLayer {
public:
  explicit CoordinateLayer(Kind k) : kind_(k) {}
  Kind kind() const override { return kind_; }
  std::unique_ptr<PaintLayer> clone() const override {
    auto copy = std::make_unique<CoordinateLayer>(kind_);
    copy->copyFrom(*this);
    return copy;
  }
  void cornerTexCoords(const moObject &obj, int32_t t, float uv[6]) const override {
    std::fill(uv, uv + 6, 0.0f);
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t corner = 3 * t + k;
      if (corner < 0 || corner >= obj.triangleVertices.count())
        continue;
      const int64_t entry = kind_ == kPerVertex ? obj.triangleVertices[corner] : corner;
      if (entry < 0 || 2 * entry + 1 >= int64_t(coordinates.size()))
        continue;
      uv[2 * k] = coordinates[size_t(2 * entry)];
      uv[2 * k + 1] = coordinates[size_t(2 * entry + 1)];
    }
  }

private:
  Kind kind_;
};

} // namespace

std::unique_ptr<PaintLayer> makePaintLayer(PaintLayer::Kind kind, int32_t width, int32_t height,
                                           int32_t elementCount, const ImageBuffer *pixels) {
  std::unique_ptr<PaintLayer> layer;
  if (kind == PaintLayer::kAtlas)
    layer = std::make_unique<AtlasLayer>();
  else
    layer = std::make_unique<CoordinateLayer>(kind);
  layer->elementCount = std::max(elementCount, 0);
  if (kind != PaintLayer::kAtlas)
    layer->coordinates.assign(size_t(layer->elementCount) * 2, 0.0f);
  const int32_t w = roundToPowerOfTwo(width), h = roundToPowerOfTwo(height);
  if (w == 0 || h == 0)
    return layer; // a layer without an image
  if (!layer->image.reshape(w, h))
    return nullptr;
  ImageBuffer &image = layer->image;
  const bool copy = pixels && !pixels->empty();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      image.at(x, y) = copy ? pixels->at(int32_t(int64_t(x) * pixels->width() / w),
                                         int32_t(int64_t(y) * pixels->height() / h))
                            : packRgba(255, 255, 255);
  return layer;
}
