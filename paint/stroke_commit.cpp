#include "paint/stroke_commit.h"

#include "core/face_triangulation.h"
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

// Keeps the texels of rect unless the last rectangle kept is the same one (both triangles of an
// atlas cell): one copy before either changes is enough. Returns whether it kept them.
bool keepTexels(TexelJournal &journal, int32_t slot, const ImageBuffer &image,
                const TexelRect &rect) {
  if (!journal.rects.empty()) {
    const TexelBackup &last = journal.rects.back();
    if (last.slot == slot && last.rect.x == rect.x && last.rect.y == rect.y &&
        last.rect.width == rect.width && last.rect.height == rect.height)
      return false;
  }
  if (journal.texels.empty())
    journal.texels.reserve(size_t(image.pixelCount())); // an atlas keeps each texel once at most
  journal.rects.push_back({slot, rect});
  for (int32_t y = rect.y; y < rect.y + rect.height; ++y)
    journal.texels.insert(journal.texels.end(), image.row(y) + rect.x,
                          image.row(y) + rect.x + rect.width);
  return true;
}

void dropLastKept(TexelJournal &journal) {
  const TexelRect &r = journal.rects.back().rect;
  journal.texels.resize(journal.texels.size() - size_t(r.width) * size_t(r.height));
  journal.rects.pop_back();
}

// Transfers the touched triangles of one object; keeps the texels they replace in journal.
void commitObject(moObject &obj, int32_t slot, int64_t base, const PaintCanvas &canvas,
                  const Projector &project, TexelJournal &journal) {
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
    const bool kept = keepTexels(journal, slot, layer.image, rect);
    if (!layer.transfer(obj, t, pixels, window, uint32_t(base + t))) {
      if (kept)
        dropLastKept(journal);
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
// Rectangles of a layer that has since changed size are left alone.
void exchangeTexels(Scene &scene, TexelJournal &journal, bool backwards) {
  std::vector<size_t> offsets(journal.rects.size());
  size_t offset = 0;
  for (size_t i = 0; i < journal.rects.size(); ++i) {
    offsets[i] = offset;
    offset += size_t(journal.rects[i].rect.width) * size_t(journal.rects[i].rect.height);
  }
  if (offset != journal.texels.size())
    return;
  std::map<int32_t, std::vector<TexelRect>> reload;
  for (size_t n = 0; n < journal.rects.size(); ++n) {
    const size_t i = backwards ? journal.rects.size() - 1 - n : n;
    const TexelBackup &b = journal.rects[i];
    moObject *obj = b.slot >= 0 ? scene.object(b.slot) : nullptr;
    if (!obj || !obj->paintLayer)
      continue;
    ImageBuffer &image = obj->paintLayer->image;
    const TexelRect &r = b.rect;
    if (r.x < 0 || r.y < 0 || r.x + r.width > image.width() || r.y + r.height > image.height())
      continue;
    auto saved = journal.texels.begin() + ptrdiff_t(offsets[i]);
    for (int32_t y = r.y; y < r.y + r.height; ++y, saved += r.width)
      std::swap_ranges(saved, saved + r.width, image.row(y) + r.x);
    reload[b.slot].push_back(r);
  }
  for (auto &[slot, rects] : reload)
    if (showsPaintTexture(*scene.object(slot), true))
      UpdateTextureRects(*scene.object(slot), slot, std::move(rects));
}

} // namespace

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
        commitObject(*obj, i, bases[size_t(i)], canvas, project, journal);
    }
    std::fill(canvas.touched.begin(), canvas.touched.end(), 0);
    canvas.clearDirty();
  }
  const bool changed = !journal.empty();
  canvas.undo.closeStroke(std::move(journal));
  if (changed)
    scene.markChanged();
  return changed;
}

namespace {

// One undo or redo step: an unfinished stroke is committed first, then the stroke's canvas
// rectangles and texels are exchanged.
bool stepThroughStrokes(Scene &scene, View &view, PaintCanvas &canvas, bool undo) {
  if (!canvas.dirtyRect.empty() || canvas.undo.strokeOpen())
    CommitStroke(scene, view, canvas);
  PaintStroke *stroke = undo ? canvas.undo.undo(canvas.colour) : canvas.undo.redo(canvas.colour);
  if (!stroke)
    return false;
  exchangeTexels(scene, stroke->texels, undo);
  scene.markChanged();
  return true;
}

} // namespace

void PaintUndoSave(PaintCanvas &canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
  canvas.undo.save(canvas.colour, x, y, w, h);
}

bool PaintUndo(Scene &scene, View &view, PaintCanvas &canvas) {
  return stepThroughStrokes(scene, view, canvas, true);
}

bool PaintRedo(Scene &scene, View &view, PaintCanvas &canvas) {
  return stepThroughStrokes(scene, view, canvas, false);
}
