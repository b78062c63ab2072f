#include "paint/projection_paint.h"

#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "paint/paint_surface.h"
#include "view/paint_textures.h"
#include "view/projection.h"

namespace {

constexpr int32_t kDefaultSide = 512;

// The object's new layer: the image at the size of its present one, with one coordinate pair
// per vertex slot. Null when the layer cannot be made.
std::unique_ptr<PaintLayer> projectedLayer(const moObject &obj, const ImageBuffer &image,
                                           const Camera &camera, int32_t type) {
  const bool sized = obj.paintLayer && !obj.paintLayer->image.empty();
  const int32_t width = sized ? obj.paintLayer->image.width() : kDefaultSide;
  const int32_t height = sized ? obj.paintLayer->image.height() : kDefaultSide;
  std::unique_ptr<PaintLayer> layer =
      makePaintLayer(PaintLayer::kPerVertex, width, height, obj.vertices.count(), &image);
  if (!layer)
    return nullptr;
  const moMatrix4 modelview = camera.viewMatrix(), projection = camera.projectionMatrix();
  const WindowRect unit{0, 0, 1, 1};
  moProject(obj, layer->coordinates, type, &modelview, &projection, &unit, false);
  return layer;
}

} // namespace

bool ProjectImage(Scene &scene, View &view, PaintCanvas &canvas, const ImageBuffer &image,
                  int32_t type) {
  if (image.empty() || type < moPLANAR || type > moCYLINDRICAL)
    return false;
  std::vector<std::pair<int32_t, std::unique_ptr<PaintLayer>>> layers;
  std::vector<int32_t> slots;
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (!obj || !obj->visible || !obj->sensitive || paintTriangleCount(*obj) == 0)
      continue;
    if (std::unique_ptr<PaintLayer> layer = projectedLayer(*obj, image, view.camera, type)) {
      layers.emplace_back(i, std::move(layer));
      slots.push_back(i);
    }
  }
  scene.beginObjectStep(slots, "Project image");
  for (auto &[slot, layer] : layers) {
    scene.object(slot)->paintLayer = std::move(layer);
    view.renderer.RebuildObject(scene, slot, true); // loads the whole texture again
  }
  if (!layers.empty())
    scene.markChanged();
  RefreshCanvas(scene, view, canvas);
  return true;
}
