#include "paint/mirrored_paint.h"

#include "core/face_triangulation.h"
#include "layers/texel_layer.h"
#include "scene/mirror_index.h"

#include <algorithm>

namespace {

moVec3 at(const moVec3 corners[3], float w1, float w2) {
  const float w0 = 1 - w1 - w2;
  return {w0 * corners[0].x + w1 * corners[1].x + w2 * corners[2].x,
          w0 * corners[0].y + w1 * corners[1].y + w2 * corners[2].y,
          w0 * corners[0].z + w1 * corners[1].z + w2 * corners[2].z};
}

// The weights of corners 1 and 2 at the point of the triangle's plane nearest p; false for a
// degenerate triangle or a point outside it (beyond a small margin).
bool weightsOf(const moVec3 corners[3], const moVec3 &p, float &w1, float &w2) {
  const moVec3 a = subtract(corners[1], corners[0]), b = subtract(corners[2], corners[0]);
  const moVec3 d = subtract(p, corners[0]);
  const float aa = dot(a, a), ab = dot(a, b), bb = dot(b, b), da = dot(d, a), db = dot(d, b);
  const float det = aa * bb - ab * ab;
  if (!(det > 0))
    return false;
  w1 = (bb * da - ab * db) / det;
  w2 = (aa * db - ab * da) / det;
  constexpr float kMargin = -1e-3f;
  return w1 >= kMargin && w2 >= kMargin && 1 - w1 - w2 >= kMargin;
}

// The texel of paint triangle t at the point with corner weights w1 and w2 (nearest texel).
void texelAt(const PaintLayer &layer, const moObject &obj, int32_t t, float w1, float w2,
             int32_t &x, int32_t &y) {
  float uv[6];
  layer.cornerTexCoords(obj, t, uv);
  const float u = (1 - w1 - w2) * uv[0] + w1 * uv[2] + w2 * uv[4];
  const float v = (1 - w1 - w2) * uv[1] + w1 * uv[3] + w2 * uv[5];
  x = std::clamp(int32_t(u * float(layer.image.width())), 0, layer.image.width() - 1);
  y = std::clamp(int32_t(v * float(layer.image.height())), 0, layer.image.height() - 1);
}

void cornersOf(const moObject &obj, int32_t t, moVec3 out[3]) {
  for (int32_t k = 0; k < 3; ++k)
    out[k] = obj.vertices[obj.triangleVertices[3 * t + k]].Coordinates;
}

} // namespace

std::vector<int32_t> MirrorStrokeTexels(Scene &scene, int32_t slot,
                                        const std::vector<uint32_t> &before,
                                        const std::vector<int32_t> &changed,
                                        TexelJournal &journal) {
  std::vector<int32_t> written;
  moObject *obj = scene.object(slot);
  auto *layer = obj ? dynamic_cast<TexelLayer *>(obj->paintLayer.get()) : nullptr;
  if (!layer || !scene.symmetry.any() || changed.empty() ||
      before.size() != size_t(layer->image.pixelCount()))
    return written;
  ImageBuffer &image = layer->image;
  const int32_t count = paintTriangleCount(*obj);
  // The paint triangles of each face, and the faces the stroke changed.
  std::vector<std::vector<int32_t>> ofFace(size_t(obj->faces.count()));
  for (int32_t t = 0; t < count; ++t)
    if (obj->faces.contains(obj->triangleFaces[t]))
      ofFace[size_t(obj->triangleFaces[t])].push_back(t);
  std::vector<int32_t> faces;
  for (int32_t t : changed)
    faces.push_back(obj->triangleFaces[t]);
  std::sort(faces.begin(), faces.end());
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());

  // Read from while the image is written.
  const std::vector<uint32_t> after(image.pixels(), image.pixels() + image.pixelCount());
  const auto texel = [&](const std::vector<uint32_t> &pixels, int32_t x, int32_t y) {
    return pixels[size_t(y) * size_t(image.width()) + size_t(x)];
  };
  const MirrorIndex index(*obj);
  std::vector<TexelSample> samples;
  std::vector<uint8_t> done(size_t(count), 0);
  for (MirrorFlips flips : scene.symmetry.mirrors())
    for (int32_t f : faces) {
      int32_t imageFace = -1;
      try {
        imageFace = index.faceImage(f, flips);
      } catch (const moInvalidTopologyException &) {
        // a broken ring: no image
      }
      if (imageFace < 0)
        continue;
      for (int32_t target : ofFace[size_t(imageFace)]) {
        moVec3 to[3];
        cornersOf(*obj, target, to);
        layer->texels(*obj, target, samples);
        bool kept = false;
        for (const TexelSample &s : samples) {
          const moVec3 p = mirrored(at(to, s.w1, s.w2), flips);
          for (int32_t source : ofFace[size_t(f)]) {
            moVec3 from[3];
            cornersOf(*obj, source, from);
            float w1, w2;
            if (!weightsOf(from, p, w1, w2))
              continue;
            int32_t x, y;
            texelAt(*layer, *obj, source, w1, w2, x, y);
            const uint32_t painted = texel(after, x, y);
            if (painted != texel(before, x, y) && image.at(s.x, s.y) != painted) {
              if (!kept)
                journal.keep(slot, image, layer->texelRect(*obj, target));
              kept = true;
              image.at(s.x, s.y) = painted;
            }
            break;
          }
        }
        if (kept)
          done[size_t(target)] = 1;
      }
    }
  for (int32_t t = 0; t < count; ++t)
    if (done[size_t(t)]) {
      layer->finishTriangle(*obj, t);
      written.push_back(t);
    }
  return written;
}

void ShowInCanvas(const moObject &obj, int64_t base, const std::vector<int32_t> &triangles,
                  const Projector &project, PaintCanvas &canvas) {
  const PaintLayer &layer = *obj.paintLayer;
  for (int32_t t : triangles) {
    moVec3 w[3];
    bool projected = true;
    for (int32_t k = 0; k < 3 && projected; ++k)
      projected = project(obj.vertices[obj.triangleVertices[3 * t + k]].Coordinates, w[k]);
    const float det = (w[1].x - w[0].x) * (w[2].y - w[0].y) - (w[2].x - w[0].x) * (w[1].y - w[0].y);
    if (!projected || det == 0)
      continue;
    const int32_t x0 = std::max(0, int32_t(std::min({w[0].x, w[1].x, w[2].x})));
    const int32_t x1 = std::min(canvas.width() - 1, int32_t(std::max({w[0].x, w[1].x, w[2].x})));
    const int32_t y0 = std::max(0, int32_t(std::min({w[0].y, w[1].y, w[2].y})));
    const int32_t y1 = std::min(canvas.height() - 1, int32_t(std::max({w[0].y, w[1].y, w[2].y})));
    const uint32_t k = uint32_t(base + t);
    for (int32_t y = y0; y <= y1; ++y)
      for (int32_t x = x0; x <= x1; ++x) {
        if (canvas.index[canvas.offset(x, y)] != k)
          continue;
        const float px = float(x) + 0.5f - w[0].x, py = float(y) + 0.5f - w[0].y;
        const float w1 = (px * (w[2].y - w[0].y) - py * (w[2].x - w[0].x)) / det;
        const float w2 = (py * (w[1].x - w[0].x) - px * (w[1].y - w[0].y)) / det;
        int32_t tx, ty;
        texelAt(layer, obj, t, w1, w2, tx, ty);
        canvas.colour.at(x, y) = layer.image.at(tx, ty) | 0xFF000000u;
      }
  }
}
