#include "paint/layer_commands.h"

#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "paint/index_render.h"
#include "paint/paint_surface.h"
#include "view/paint_textures.h"

#include <algorithm>

namespace {

bool removeLayers(Scene &scene, SceneRenderer &renderer, bool keepAsColours) {
  const bool done = scene.runOperation({false, modeBit(moOBJECTS)}, [&] {
    for (int32_t i = 0; i < scene.selection.Count(); ++i) {
      const int32_t slot = scene.selection.Get(i).object;
      moObject *obj = scene.object(slot);
      if (!obj || !obj->paintLayer)
        continue;
      if (keepAsColours)
        convertPaintToCornerColors(*obj);
      DeleteTexture(slot);
      obj->paintLayer.reset();
      obj->triangleVertices.clear(false);
      obj->triangleFaces.clear(false);
      renderer.RebuildObject(scene, slot, true);
    }
    return true;
  });
  if (done)
    scene.nameStep(keepAsColours ? "Paint Layer to Color" : "Delete Paint Layer");
  return done;
}

// Fills the layer, keeping its texels in journal first.
void fillImage(moObject &obj, int32_t slot, moColor colour, TexelJournal &journal) {
  ImageBuffer &image = obj.paintLayer->image;
  journal.keep(slot, image, {0, 0, image.width(), image.height()});
  std::fill_n(image.pixels(), image.pixelCount(), packRgba(colour.r, colour.g, colour.b, colour.a));
  if (showsPaintTexture(obj, true))
    UploadTexture(obj, slot);
}

} // namespace

void fillLayerFromCornerColors(moObject &obj) {
  if (!obj.paintLayer)
    return;
  const int32_t count = paintTriangleCount(obj);
  for (int32_t t = 0; t < count; ++t) {
    moColor colours[3];
    for (int32_t k = 0; k < 3; ++k) {
      try {
        colours[k] = obj.cornerColorAt(obj.triangleVertices[3 * t + k], obj.triangleFaces[t]);
      } catch (const moInvalidTopologyException &) {
        colours[k] = kWhite; // a stale triangle list: the corner is no longer the face's
      }
    }
    obj.paintLayer->fillTriangle(obj, t, colours);
  }
}

bool PaintLayerToColor(Scene &scene, SceneRenderer &renderer) {
  return removeLayers(scene, renderer, true);
}

bool DeletePaintLayer(Scene &scene, SceneRenderer &renderer) {
  return removeLayers(scene, renderer, false);
}

bool EraseAllPaint(Scene &scene, View &view, PaintCanvas &canvas, moColor colour) {
  if (!scene.ui().askYesNo("This will erase the paint on all object(s). Continue?"))
    return false;
  TexelJournal journal;
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    moObject *obj = scene.object(i);
    if (obj && obj->visible && obj->sensitive && obj->paintLayer)
      fillImage(*obj, i, colour, journal);
  }
  if (!journal.empty())
    scene.addTexelStep("Erase paint", std::move(journal));
  RefreshCanvas(scene, view, canvas);
  return true;
}

bool FillObjectPaint(Scene &scene, View &view, PaintCanvas &canvas, int32_t slot, moColor colour) {
  moObject *obj = scene.object(slot);
  if (!obj || !obj->paintLayer)
    return false;
  TexelJournal journal;
  fillImage(*obj, slot, colour, journal);
  scene.addTexelStep("Fill object", std::move(journal));
  RefreshCanvas(scene, view, canvas);
  return true;
}

bool SetTextureSize(Scene &scene, View &view, int32_t slot, int32_t width, int32_t height) {
  moObject *obj = scene.object(slot);
  if (!obj || !obj->paintLayer)
    return false;
  std::unique_ptr<PaintLayer> layer = obj->paintLayer->clone();
  if (!resizePaintLayer(*layer, width, height))
    return false;
  scene.beginObjectStep({slot}, "Texture size");
  obj->paintLayer = std::move(layer);
  scene.markChanged();
  view.renderer.RebuildObject(scene, slot, true);
  return true;
}
