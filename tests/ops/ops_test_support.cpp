#include "tests/ops/ops_test_support.h"

#include <ostream>

std::vector<moVec3> facePoints(const moObject &obj, int32_t f) {
  std::vector<int32_t> corners;
  obj.faceVertices(f, corners);
  std::vector<moVec3> out;
  for (int32_t v : corners)
    out.push_back(obj.vertices[v].Coordinates);
  return out;
}

void OpsSceneTest::select(SelectionMode m, std::initializer_list<ElementRef> refs) {
  scene.SetMode(m);
  for (const ElementRef &r : refs)
    scene.selection.Append(r);
}

void OpsSceneTest::expectAllValid() {
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    if (const moObject *o = scene.object(i)) {
      EXPECT_TRUE(objectLocallyValid(*o, false)) << "object " << i;
    }
  }
}

std::vector<moObject> OpsSceneTest::snapshot() const {
  std::vector<moObject> out;
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    out.push_back(scene.object(i) ? *scene.object(i) : moObject("empty slot"));
  return out;
}

void OpsSceneTest::expectUndoRestores(const std::vector<moObject> &before) {
  scene.Undo(false);
  ASSERT_EQ(scene.objects.count(), static_cast<int32_t>(before.size()));
  for (size_t i = 0; i < before.size(); ++i) {
    const moObject *o = scene.object(static_cast<int32_t>(i));
    if (!o) {
      EXPECT_EQ(before[i].name, "empty slot");
      continue;
    }
    EXPECT_EQ(meshDifference(*o, before[i]), "") << "object " << i;
  }
}
