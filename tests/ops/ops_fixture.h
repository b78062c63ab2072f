// A scene holding test meshes, with helpers to select elements and read vertex positions.
#pragma once

#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "tests/support/mesh_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

class OpsTest : public testing::Test {
protected:
  RecordingUi ui;
  Scene scene{ui};

  int32_t add(const PolygonMesh &mesh) {
    return scene.objects.insert(std::make_shared<moObject>(makeObject(mesh)));
  }
  void select(SelectionMode m, std::initializer_list<ElementRef> refs) {
    scene.SetMode(m);
    for (const ElementRef &r : refs)
      scene.selection.Append(r);
  }
  moVec3 &at(int32_t slot, int32_t v) { return scene.object(slot)->vertices[v].Coordinates; }
};

inline void expectNear(const moVec3 &expected, const moVec3 &actual, float tolerance = 1e-4f) {
  EXPECT_NEAR(expected.x, actual.x, tolerance);
  EXPECT_NEAR(expected.y, actual.y, tolerance);
  EXPECT_NEAR(expected.z, actual.z, tolerance);
}
