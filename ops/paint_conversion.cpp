#include "ops/paint_conversion.h"

#include "ops/selected_objects.h"

bool convertPaint(Scene &scene, bool convert) {
  return scene.runOperation({false, modeBit(moOBJECTS)}, [&] {
    for (int32_t slot : selectedObjects(scene)) {
      moObject &obj = *scene.object(slot);
      if (convert && obj.paintLayer)
        convertPaintToCornerColors(obj);
      obj.paintLayer.reset();
      obj.triangleVertices.clear(false);
      obj.triangleFaces.clear(false);
    }
    return true;
  });
}
