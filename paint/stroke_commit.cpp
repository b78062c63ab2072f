#include "paint/stroke_commit.h"

#include "paint/index_render.h"
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

TexelBackup backupOf(int32_t slot, const ImageBuffer &image, const TexelRect &rect) {
  TexelBackup backup{slot, rect, {}};
  backup.texels.reserve(size_t(rect.width) * size_t(rect.height));
  for (int32_t y = rect.y; y < rect.y + rect.height; ++y)
    backup.texels.insert(backup.texels.end(), image.row(y) + rect.x,
                         image.row(y) + rect.x + rect.width);
  return backup;
}

// Transfers the touched triangles of one object; appends the texels they replaced to backups.
void commitObject(moObject &obj, int32_t slot, int64_t base, const PaintCanvas &canvas,
                  const Projector &project, std::vector<TexelBackup> &backups) {
  PaintLayer &layer = *obj.paintLayer;
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
    // Both triangles of an atlas cell share one rectangle: one copy before either changes.
    const bool saved = !backups.empty() && backups.back().slot == slot &&
                       backups.back().rect.x == rect.x && backups.back().rect.y == rect.y &&
                       backups.back().rect.width == rect.width &&
                       backups.back().rect.height == rect.height;
    if (!saved)
      backups.push_back(backupOf(slot, layer.image, rect));
    if (!layer.transfer(obj, t, pixels, window, uint32_t(base + t))) {
      if (!saved)
        backups.pop_back();
      continue;
    }
    layer.finishTriangle(obj, t);
    if (changed.empty() || changed.back().x != rect.x || changed.back().y != rect.y)
      changed.push_back(rect);
  }
  if (showsPaintTexture(obj, true))
    UpdateTextureRects(obj, slot, std::move(changed));
}

// Exchanges kept texels with the layers' (in reverse order when undoing) and reloads them.
void exchangeTexels(Scene &scene, std::vector<TexelBackup> &backups, bool backwards) {
  std::map<int32_t, std::vector<TexelRect>> reload;
  const auto swapOne = [&](TexelBackup &b) {
    moObject *obj = scene.object(b.slot);
    if (!obj || !obj->paintLayer)
      return;
    ImageBuffer &image = obj->paintLayer->image;
    const TexelRect &r = b.rect;
    if (r.x < 0 || r.y < 0 || r.x + r.width > image.width() || r.y + r.height > image.height() ||
        b.texels.size() != size_t(r.width) * size_t(r.height))
      return; // the layer has changed size since
    auto saved = b.texels.begin();
    for (int32_t y = r.y; y < r.y + r.height; ++y, saved += r.width)
      std::swap_ranges(saved, saved + r.width, image.row(y) + r.x);
    reload[b.slot].push_back(r);
  };
  if (backwards)
    std::for_each(backups.rbegin(), backups.rend(), swapOne);
  else
    std::for_each(backups.begin(), backups.end(), swapOne);
  for (auto &[slot, rects] : reload)
    if (showsPaintTexture(*scene.object(slot), true))
      UpdateTextureRects(*scene.object(slot), slot, std::move(rects));
}

} // namespace

bool CommitStroke(Scene &scene, View &view, PaintCanvas &canvas) {
  std::vector<TexelBackup> backups;
  if (!canvas.colour.empty()) {
    markTouched(canvas);
    uint32_t total = 0;
    const std::vector<int64_t> bases = paintIndexBases(scene, total);
    const Projector project(view.camera.viewMatrix(), view.camera.projectionMatrix(),
                            view.camera.viewport());
    for (int32_t i = 0; i < scene.objects.count(); ++i) {
      moObject *obj = scene.object(i);
      if (obj && bases[size_t(i)] >= 0 && obj->paintLayer && !obj->paintLayer->image.empty())
        commitObject(*obj, i, bases[size_t(i)], canvas, project, backups);
    }
    std::fill(canvas.touched.begin(), canvas.touched.end(), 0);
    canvas.clearDirty();
  }
  const bool changed = !backups.empty();
  canvas.undo.closeStroke(std::move(backups));
  return changed;
}

void PaintUndoSave(PaintCanvas &canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
  canvas.undo.save(canvas.colour, x, y, w, h);
}

bool PaintUndo(Scene &scene, View &view, PaintCanvas &canvas) {
  if (!canvas.dirtyRect.empty() || canvas.undo.strokeOpen())
    CommitStroke(scene, view, canvas);
  PaintStroke *stroke = canvas.undo.undo(canvas.colour);
  if (!stroke)
    return false;
  exchangeTexels(scene, stroke->texels, true);
  return true;
}

bool PaintRedo(Scene &scene, View &view, PaintCanvas &canvas) {
  if (!canvas.dirtyRect.empty() || canvas.undo.strokeOpen())
    CommitStroke(scene, view, canvas);
  PaintStroke *stroke = canvas.undo.redo(canvas.colour);
  if (!stroke)
    return false;
  exchangeTexels(scene, stroke->texels, false);
  return true;
}
