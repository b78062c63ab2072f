#include "ops/copy_objects.h"

#include "ops/selected_objects.h"

#include <memory>

bool copyObjects(Scene &scene) {
  return scene.runOperation({false, modeBit(moOBJECTS)}, [&] {
    for (int32_t slot : selectedObjects(scene))
      insertObject(scene, std::make_shared<moObject>(*scene.object(slot)), "copy");
    return true;
  });
}
