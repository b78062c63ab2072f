#include "view/vertex_snap.h"

#include "view/transforms.h"

#include <algorithm>

namespace {

bool before(const ElementRef &a, const ElementRef &b) {
  return a.object != b.object ? a.object < b.object : a.element < b.element;
}

} // namespace

SnapTarget nearestVertex(const Scene &scene, const Camera &camera, int32_t x, int32_t y,
                         float radius, std::vector<ElementRef> excluded) {
  std::sort(excluded.begin(), excluded.end(), before);
  const Projector project(camera.viewMatrix(), camera.projectionMatrix(), camera.viewport());
  const double px = x, py = double(camera.height) - y; // the projection's y grows upward
  double best = double(radius) * double(radius);
  SnapTarget target;
  for (int32_t slot = 0; slot < scene.objects.count(); ++slot) {
    const moObject *obj = scene.object(slot);
    if (!obj || !obj->visible)
      continue;
    for (int32_t v = 0; v < obj->vertices.count(); ++v) {
      const moVertex &vertex = obj->vertices[v];
      moVec3 w;
      if (!vertex.active() || !project(vertex.Coordinates, w) || w.z < 0 || w.z > 1)
        continue;
      const double d = (w.x - px) * (w.x - px) + (w.y - py) * (w.y - py);
      if (d > best || (d == best && target.found()))
        continue;
      if (std::binary_search(excluded.begin(), excluded.end(), ElementRef{v, slot}, before))
        continue;
      best = d;
      target = {slot, v, vertex.Coordinates};
    }
  }
  return target;
}
