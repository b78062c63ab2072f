#include "paint/stroke_commit.h"

#include "core/face_triangulation.h"
#include "paint/index_render.h"
#include "paint/mirrored_paint.h"
#include "view/paint_textures.h"

#include <algorithm>
#include <map>

namespace {

// Sets the touched bit of every index a dirty pixel shows.
void markTouched(PaintCanvas &canvas) {
  const DirtyRect &r = canvas.dirtyRect;
  if (r.empty())
    return;
  canvas.touched.resize(canvas.triangleTotal, 0);
  for (int32_t y = r.y0; y <= r.y1; ++y) {
    const size_t row = canvas.offset(0, y);
    for (int32_t x = r.x0; x <= r.x1; ++x) {
      const size_t p = row + size_t(x);
      if (canvas.dirty[p] && canvas.index[p] < canvas.triangleTotal)
        canvas.touched[canvas.index[p]] = 1;
    }
  }
}

// Transfers the touched triangles of one object, and with symmetry repeats them at their mirror
// images; keeps the texels they replace in journal.
void commitObject(Scene &scene, int32_t slot, int64_t base, PaintCanvas &canvas,
                  const Projector &project, TexelJournal &journal) {
  moObject &obj = *scene.object(slot);
  PaintLayer &layer = *obj.paintLayer;
  std::vector<uint32_t> before;
  if (scene.symmetry.any())
    before.assign(layer.image.pixels(), layer.image.pixels() + layer.image.pixelCount());
  std::vector<int32_t> painted;
  std::vector<TexelRect> changed;
  const CanvasPixels pixels = canvas.view();
  const int32_t count = paintTriangleCount(obj);
  for (int32_t t = 0; t < count && base + t < int64_t(canvas.touched.size()); ++t) {
    if (!canvas.touched[size_t(base + t)])
      continue;
    const TexelRect rect = layer.texelRect(obj, t);
    float window[6];
    bool projected = !rect.empty();
    for (int32_t k = 0; k < 3 && projected; ++k) {
      const int32_t v = obj.triangleVertices[3 * t + k];
      moVec3 w;
      projected = obj.vertices.contains(v) && project(obj.vertices[v].Coordinates, w);
      window[2 * k] = w.x;
      window[2 * k + 1] = w.y;
    }
    if (!projected)
      continue;
    const bool kept = journal.keep(slot, layer.image, rect);
    if (!layer.transfer(obj, t, pixels, window, uint32_t(base + t))) {
      if (kept)
        journal.dropLast();
      continue;
    }
    layer.finishTriangle(obj, t);
    painted.push_back(t);
    if (changed.empty() || changed.back().x != rect.x || changed.back().y != rect.y)
      changed.push_back(rect);
  }
  const std::vector<int32_t> mirrored = MirrorStrokeTexels(scene, slot, before, painted, journal);
  for (int32_t t : mirrored)
    changed.push_back(layer.texelRect(obj, t));
  ShowInCanvas(obj, base, mirrored, project, canvas);
  if (showsPaintTexture(obj, true))
    UpdateTextureRects(obj, slot, std::move(changed));
}

} // namespace

void ReloadTexels(const Scene &scene, const TexelJournal &journal) {
  std::map<int32_t, std::vector<TexelRect>> rects;
  for (const TexelBackup &b : journal.rects)
    rects[b.slot].push_back(b.rect);
  for (auto &[slot, list] : rects) {
    const moObject *obj = scene.object(slot);
    if (obj && obj->paintLayer && showsPaintTexture(*obj, true))
      UpdateTextureRects(*obj, slot, std::move(list));
  }
}

bool CommitStroke(Scene &scene, View &view, PaintCanvas &canvas) {
  TexelJournal journal;
  if (!canvas.colour.empty()) {
    markTouched(canvas);
    uint32_t total = 0;
    const std::vector<int64_t> bases = paintIndexBases(scene, total);
    // The canvas holds the frame buffer's own pixels.
    const Projector project(view.camera.viewMatrix(), view.camera.projectionMatrix(),
                            view.camera.deviceViewport());
    for (int32_t i = 0; i < scene.objects.count(); ++i) {
      moObject *obj = scene.object(i);
      if (obj && bases[size_t(i)] >= 0 && obj->paintLayer && !obj->paintLayer->image.empty())
        commitObject(scene, i, bases[size_t(i)], canvas, project, journal);
    }
    std::fill(canvas.touched.begin(), canvas.touched.end(), 0);
    canvas.clearDirty();
  }
  if (journal.empty())
    return false;
  scene.addTexelStep("paint stroke", std::move(journal));
  return true;
}
