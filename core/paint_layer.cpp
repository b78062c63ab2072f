#include "core/paint_layer.h"

#include "core/mesh.h"

void convertPaintToCornerColors(moObject &obj) {
  if (!obj.paintLayer)
    return;
  const int32_t triangles = obj.triangleFaces.count();
  for (int32_t t = 0; t < triangles && 3 * t + 2 < obj.triangleVertices.count(); ++t) {
    moColor colors[3];
    obj.paintLayer->triangleCornerColors(t, colors);
    for (int32_t k = 0; k < 3; ++k)
      obj.setCornerColor(obj.triangleVertices[3 * t + k], obj.triangleFaces[t], colors[k]);
  }
}
