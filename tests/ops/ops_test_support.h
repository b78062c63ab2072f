// Helpers shared by the operation tests: element counts, exact mesh comparison and a scene with
// a recording user interface holding primitives.
#pragma once

#include "core/mesh.h"
#include "core/mesh_validation.h"
#include "core/primitives.h"
#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <initializer_list>

// The corner positions of face f in face order.
std::vector<moVec3> facePoints(const moObject &obj, int32_t f);

class OpsSceneTest : public testing::Test {
protected:
  RecordingUi ui;
  Scene scene{ui};

  // Adds a primitive (object in the lowest free slot) and returns the slot.
  int32_t add(PrimitiveType type) { return scene.createPrimitive(type); }
  void select(SelectionMode m, std::initializer_list<ElementRef> refs);
  moObject &obj(int32_t slot = 0) { return *scene.object(slot); }
  // Every object in the table passes the quiet local validity test.
  void expectAllValid();
  // Undo brings back every object exactly as `before` held it (slot by slot).
  void expectUndoRestores(const std::vector<moObject> &before);
  std::vector<moObject> snapshot() const;
};
