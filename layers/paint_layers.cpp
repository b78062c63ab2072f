#include "layers/paint_layers.h"

#include "layers/texel_layer.h"

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

class AtlasLayer : public TexelLayer {
public:
  Kind kind() const override { return kAtlas; }
  std::unique_ptr<PaintLayer> clone() const override {
    auto copy = std::make_unique<AtlasLayer>();
    copy->copyFrom(*this);
    return copy;
  }
  void cornerTexCoords(const moObject &, int32_t t, float uv[6]) const override {
    std::fill(uv, uv + 6, 0.0f);
    Cell cell;
    if (!cellOf(t, cell))
      return;
    const float x0 = float(cell.x0), y0 = float(cell.y0), fc = float(cell.c);
    const float even[6] = {1.625f, 1.625f, fc - 3.725f, 1.625f, 1.625f, fc - 3.725f};
    const float odd[6] = {fc - 1.625f, fc - 1.625f, 3.725f, fc - 1.625f, fc - 1.625f, 3.725f};
    const float *offsets = cell.odd ? odd : even;
    for (int k = 0; k < 3; ++k) {
      uv[2 * k] = (x0 + offsets[2 * k]) / float(image.width());
      uv[2 * k + 1] = (y0 + offsets[2 * k + 1]) / float(image.height());
    }
  }
  TexelRect texelRect(const moObject &, int32_t t) const override {
    Cell cell;
    return cellOf(t, cell) ? TexelRect{cell.x0, cell.y0, cell.c, cell.c} : TexelRect{};
  }
  void finishTriangle(const moObject &, int32_t t) override;

protected:
  void texelsOf(const moObject &, int32_t t, std::vector<TexelSample> &out) const override;

private:
  // Cell of a triangle: lower-left texel, size, and whether the triangle is the upper-right
  // (odd) half, whose texels mirror those of the lower-left half through the cell's centre.
  struct Cell {
    int32_t x0 = 0, y0 = 0, c = 0;
    bool odd = false;
    // Rows of the triangle's painted texels; row i holds rows() - i of them (at least one).
    int32_t rows() const { return std::max(c - 4, 1); }
    // Image texel of the cell-local position (u, v) of the lower-left half.
    void texel(int32_t u, int32_t v, int32_t &x, int32_t &y) const {
      u = std::min(u, c - 1);
      v = std::min(v, c - 1);
      x = odd ? x0 + c - 1 - u : x0 + u;
      y = odd ? y0 + c - 1 - v : y0 + v;
    }
  };
  // The layout of the image's current size, worked out again only when that size changes.
  const AtlasLayout &cachedLayout() const {
    if (layoutKey_[0] != image.width() || layoutKey_[1] != image.height() ||
        layoutKey_[2] != elementCount) {
      layout_ = atlasLayout(image.width(), image.height(), elementCount);
      layoutKey_[0] = image.width();
      layoutKey_[1] = image.height();
      layoutKey_[2] = elementCount;
    }
    return layout_;
  }
  mutable AtlasLayout layout_;
  mutable int32_t layoutKey_[3] = {-1, -1, -1};

  bool cellOf(int32_t t, Cell &cell) const {
    const AtlasLayout &layout = cachedLayout();
    if (layout.columns == 0 || t < 0 || image.empty())
      return false;
    const int32_t m = t / 2;
    cell = {(m % layout.columns) * layout.cellSize, (m / layout.columns) * layout.cellSize,
            layout.cellSize, t % 2 == 1};
    return cell.y0 + cell.c <= image.height(); // no room for triangles beyond the layout
  }
};

void AtlasLayer::texelsOf(const moObject &, int32_t t, std::vector<TexelSample> &out) const {
  out.clear();
  Cell cell;
  if (!cellOf(t, cell))
    return;
  const int32_t rows = cell.rows();
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t n = std::max(rows - i, 1);
    const float s = rows > 1 ? float(i) / float(rows - 1) : 0.0f;
    for (int32_t j = 0; j < n; ++j) {
      const float u = n > 1 ? float(j) / float(n - 1) : 0.0f;
      TexelSample sample{0, 0, (1 - s) * u, s, j < 2 || j == n - 1 || i < 2};
      cell.texel(1 + j, 1 + i, sample.x, sample.y);
      out.push_back(sample);
    }
  }
}

void AtlasLayer::finishTriangle(const moObject &, int32_t t) {
  Cell cell;
  if (!cellOf(t, cell) || cell.c < 2)
    return;
  // The margin is every texel of the half outside the painted rows (u, v >= 1, u + v <= rows + 1);
  // each takes the nearest painted texel. The diagonal u + v = c - 1 belongs to the even half.
  const int32_t rows = cell.rows(), last = cell.odd ? cell.c - 2 : cell.c - 1;
  for (int32_t v = 0; v <= last; ++v)
    for (int32_t u = 0; u + v <= last; ++u) {
      if (u >= 1 && v >= 1 && u + v <= rows + 1)
        continue;
      int32_t nu = std::max(u, 1), nv = std::max(v, 1);
      const int32_t excess = nu + nv - (rows + 1);
      if (excess > 0) { // back onto the diagonal, half from each side where both have room
        const int32_t fromU =
            std::min(nu - 1, (excess + 1) / 2 + std::max(0, excess / 2 - (nv - 1)));
        nu -= fromU;
        nv -= excess - fromU;
      }
      int32_t x, y, sx, sy;
      cell.texel(u, v, x, y);
      cell.texel(nu, nv, sx, sy);
      image.at(x, y) = image.at(sx, sy);
    }
}

// Coordinates looked up per entry: the per-vertex kind by the corner's vertex, the per-corner
// kind by the corner's position in the triangle list.
class CoordinateLayer : public TexelLayer {
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
  TexelRect texelRect(const moObject &obj, int32_t t) const override;

protected:
  void texelsOf(const moObject &obj, int32_t t, std::vector<TexelSample> &out) const override;

private:
  // The triangle's corners in texel units; false when it has no image or a corner is not finite.
  bool texelCorners(const moObject &obj, int32_t t, double p[6]) const {
    if (image.empty())
      return false;
    float uv[6];
    cornerTexCoords(obj, t, uv);
    for (int k = 0; k < 6; ++k) {
      p[k] = double(uv[k]) * (k % 2 == 0 ? image.width() : image.height());
      if (!std::isfinite(p[k]))
        return false;
    }
    return true;
  }

  Kind kind_;
};

// Clamps a texel-unit coordinate to an index range without overflowing.
int32_t clampedIndex(double c, int32_t size) { return int32_t(std::clamp(c, -1.0, double(size))); }

TexelRect CoordinateLayer::texelRect(const moObject &obj, int32_t t) const {
  double p[6];
  if (!texelCorners(obj, t, p))
    return {};
  const int32_t x0 =
      std::max(clampedIndex(std::floor(std::min({p[0], p[2], p[4]})) - 1, image.width()), 0);
  const int32_t y0 =
      std::max(clampedIndex(std::floor(std::min({p[1], p[3], p[5]})) - 1, image.height()), 0);
  const int32_t x1 = std::min(
      clampedIndex(std::floor(std::max({p[0], p[2], p[4]})) + 1, image.width()), image.width() - 1);
  const int32_t y1 =
      std::min(clampedIndex(std::floor(std::max({p[1], p[3], p[5]})) + 1, image.height()),
               image.height() - 1);
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Scanline walk over the texels whose centres lie in the triangle; a triangle too small to hold
// a centre still gets the texel under its centroid.
void CoordinateLayer::texelsOf(const moObject &obj, int32_t t,
                               std::vector<TexelSample> &out) const {
  out.clear();
  double p[6];
  if (!texelCorners(obj, t, p))
    return;
  const double ax = p[2] - p[0], ay = p[3] - p[1], bx = p[4] - p[0], by = p[5] - p[1];
  const double det = ax * by - ay * bx;
  const auto weights = [&](double x, double y, TexelSample &s) {
    const double dx = x - p[0], dy = y - p[1];
    s.w1 = float((dx * by - dy * bx) / det);
    s.w2 = float((ax * dy - ay * dx) / det);
    return s.w1 >= -1e-4f && s.w2 >= -1e-4f && s.w1 + s.w2 <= 1 + 1e-4f;
  };
  if (std::fabs(det) > 1e-12) {
    const int32_t y0 =
        std::max(clampedIndex(std::floor(std::min({p[1], p[3], p[5]})), image.height()), 0);
    const int32_t y1 = std::min(
        clampedIndex(std::floor(std::max({p[1], p[3], p[5]})), image.height()), image.height() - 1);
    const int32_t x0 =
        std::max(clampedIndex(std::floor(std::min({p[0], p[2], p[4]})), image.width()), 0);
    const int32_t x1 = std::min(
        clampedIndex(std::floor(std::max({p[0], p[2], p[4]})), image.width()), image.width() - 1);
    for (int32_t y = y0; y <= y1; ++y) {
      const size_t rowStart = out.size();
      for (int32_t x = x0; x <= x1; ++x) {
        TexelSample s{x, y, 0, 0, false};
        if (weights(x + 0.5, y + 0.5, s))
          out.push_back(s);
      }
      for (size_t i = rowStart; i < out.size(); ++i)
        out[i].border = i < rowStart + 2 || i + 1 == out.size() || y < y0 + 2 || y == y1;
    }
  }
  if (out.empty()) {
    const double cx = (p[0] + p[2] + p[4]) / 3, cy = (p[1] + p[3] + p[5]) / 3;
    const int32_t x = std::clamp(clampedIndex(std::floor(cx), image.width()), 0, image.width() - 1);
    const int32_t y =
        std::clamp(clampedIndex(std::floor(cy), image.height()), 0, image.height() - 1);
    out.push_back({x, y, 1.0f / 3, 1.0f / 3, true});
  }
}

// Every target pixel takes the source pixel at the same relative position.
void resample(const ImageBuffer &source, ImageBuffer &target) {
  const int32_t w = target.width(), h = target.height();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      target.at(x, y) = source.at(int32_t(int64_t(x) * source.width() / w),
                                  int32_t(int64_t(y) * source.height() / h));
}

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
  if (pixels && !pixels->empty())
    resample(*pixels, layer->image);
  else
    std::fill_n(layer->image.pixels(), layer->image.pixelCount(), packRgba(255, 255, 255));
  return layer;
}

bool resizePaintLayer(PaintLayer &layer, int32_t width, int32_t height) {
  const int32_t w = roundToPowerOfTwo(width), h = roundToPowerOfTwo(height);
  ImageBuffer resized;
  if (w == 0 || h == 0 || layer.image.empty() || !resized.reshape(w, h))
    return false;
  resample(layer.image, resized);
  layer.image = std::move(resized);
  return true;
}
