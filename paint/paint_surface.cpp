#include "paint/paint_surface.h"

#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "paint/index_render.h"
#include "paint/layer_commands.h"
#include "view/frame.h"
#include "view/window_drawing.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kDefaultLayerSize = 512;

// Triangulates obj for painting; false when its mesh cannot be walked.
bool ensurePaintTriangles(moObject &obj) {
  if (paintTriangleCount(obj) > 0)
    return true;
  try {
    triangulateFaces(obj, kTriangulateDelaunay);
  } catch (const moInvalidTopologyException &) {
    return false;
  }
  return paintTriangleCount(obj) > 0;
}

// Divides the lighting out of a pixel drawn lit: channel * 255 / shade, opaque.
uint32_t unshade(uint32_t p, uint8_t shade) {
  if (shade == 0)
    return packRgba(0, 0, 0);
  const auto channel = [&](uint8_t c) {
    return uint8_t(std::min<uint32_t>(255, (uint32_t(c) * 255 + shade / 2) / shade));
  };
  return packRgba(channel(redOf(p)), channel(greenOf(p)), channel(blueOf(p)));
}

// The scene as the paint window shows it. Outlines would put black into the canvas and from
// there into the textures.
void drawTexturedScene(const Scene &scene, View &view) {
  const bool outlines = view.renderer.outlines();
  view.renderer.setOutlines(false);
  drawFrame(view, scene, {InteractionMode::Select, FrameLists::Kept, false, true});
  view.renderer.setOutlines(outlines);
}

void drawReveal(const PaintCanvas &canvas) {
  const ImageBuffer &reveal = canvas.revealImage;
  if ((canvas.revealFlags & PaintCanvas::kRevealShown) && !reveal.empty())
    DrawPixelsAt(canvas.revealX, canvas.revealY, reveal.width(), reveal.height(),
                 reinterpret_cast<const uint8_t *>(reveal.pixels()), 0, 0, 0, true);
}

} // namespace

void PreparePaintSurfaces(Scene &scene, View &view, PaintCanvas &canvas) {
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *shown = scene.object(i);
    if (!shown || !shown->visible || !shown->sensitive ||
        (shown->paintLayer && paintTriangleCount(*shown) > 0))
      continue;
    // Made outside the history, so the steps keep the object as it was.
    moObject *obj = scene.privateObject(i);
    if (!ensurePaintTriangles(*obj) || obj->paintLayer)
      continue;
    obj->paintLayer = makePaintLayer(PaintLayer::kAtlas, kDefaultLayerSize, kDefaultLayerSize,
                                     paintTriangleCount(*obj));
    fillLayerFromCornerColors(*obj);
    scene.markChanged(); // the scene file now keeps a texture for it
    view.renderer.RebuildObject(scene, i, true);
  }
  paintIndexBases(scene, canvas.triangleTotal);
  canvas.touched.assign(canvas.triangleTotal, 0);
}

bool PrepareCanvas(Scene &scene, View &view, PaintCanvas &canvas, int32_t width, int32_t height) {
  if (!canvas.resize(width, height))
    return false;
  PreparePaintSurfaces(scene, view, canvas);
  RefreshCanvas(scene, view, canvas);
  return true;
}

void DrawPaintView(const Scene &scene, View &view, const PaintCanvas &canvas) {
  drawTexturedScene(scene, view);
  drawReveal(canvas);
}

void RefreshCanvas(const Scene &scene, View &view, PaintCanvas &canvas) {
  if (canvas.colour.empty())
    return;
  IndexRender(scene, view, canvas);
  ShadeRender(scene, view, canvas);
  drawTexturedScene(scene, view);
  ReadPixelsRGBA(0, 0, canvas.width(), canvas.height(),
                 reinterpret_cast<uint8_t *>(canvas.colour.pixels()), 0, 0, 0);
  uint32_t *pixels = canvas.colour.pixels();
  for (size_t p = 0; p < canvas.shade.size(); ++p)
    pixels[p] = unshade(pixels[p], canvas.shade[p]);
  drawReveal(canvas);
  canvas.clearDirty();
}
