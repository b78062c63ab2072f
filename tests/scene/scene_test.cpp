#include "core/mesh_validation.h"
#include "tests/scene/scene_fixture.h"

#include <stdexcept>

namespace {

TEST_F(SceneTest, PrimitivesTakeTheLowestEmptySlotAndItsNumber) {
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Cube), 0);
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Sphere), 1);
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Torus), 2);
  EXPECT_EQ(scene.object(1)->name, "sphere1");
  scene.objects.remove(1);
  EXPECT_EQ(scene.objects.count(), 3);
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Cube), 1);
  EXPECT_EQ(scene.object(1)->name, "cube1");
  // Removing the highest slots drops the count past every trailing empty slot.
  scene.objects.remove(1);
  scene.objects.remove(2);
  EXPECT_EQ(scene.objects.count(), 1);
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Grid), 1);
}

TEST_F(SceneTest, CreatingAPrimitiveClearsTheSelection) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  scene.createPrimitive(PrimitiveType::Cube);
  EXPECT_TRUE(scene.selection.Empty());
}

TEST_F(SceneTest, ShadingChangesAllOrOnlySelectedObjects) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cube);
  scene.SetShading(false, false);
  EXPECT_FALSE(scene.object(0)->shaded);
  EXPECT_FALSE(scene.object(1)->shaded);
  select(moVERTICES, {{0, 1}});
  scene.SetShading(true, true); // vertices selected: nothing changes
  EXPECT_FALSE(scene.object(1)->shaded);
  select(moOBJECTS, {{1, 1}});
  scene.SetShading(true, true);
  EXPECT_FALSE(scene.object(0)->shaded);
  EXPECT_TRUE(scene.object(1)->shaded);
}

TEST_F(SceneTest, ShowInfoTellsObjectsOrDumpsElements) {
  scene.ShowInfo();
  EXPECT_EQ(ui.messages.back(), "no elements selected");
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  select(moOBJECTS, {{1, 1}, {0, 0}});
  ui.messages.clear();
  scene.ShowInfo();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "Object: tetrahederon1\nverts: 4\nedges: 6\nfaces: 4");
  EXPECT_EQ(ui.messages[1], "Object: cube0\nverts: 8\nedges: 12\nfaces: 6");

  select(moEDGES, {{3, 0}});
  testing::internal::CaptureStdout();
  scene.ShowInfo();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("edge 3 in object 0\nEdge ", 0), 0u);
  EXPECT_EQ(out.substr(out.size() - 2), "\n\n");
}

TEST_F(SceneTest, OperationOnHiddenObjectsDropsEveryEntryAndChangesNothing) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.SetObjectVisible(0, false);
  select(moFACES, {{0, 0}, {1, 0}});
  bool changed = false;
  EXPECT_FALSE(scene.runOperation({true, modeBit(moFACES)}, [&] {
    for (int32_t i = 0; i < scene.selection.Count(); ++i)
      changed = true;
    return changed;
  }));
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_FALSE(changed);
}

TEST_F(SceneTest, OperationInAnotherModeReturnsFalseSilently) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moEDGES, {{0, 0}});
  bool ran = false;
  EXPECT_FALSE(scene.runOperation({false, modeBit(moFACES)}, [&] { return ran = true; }));
  EXPECT_FALSE(ran);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SceneTest, FailingOperationRestoresTheSceneAndClearsTheSelection) {
  scene.createPrimitive(PrimitiveType::Cube);
  const moObject *before = scene.object(0);
  select(moFACES, {{0, 0}});
  EXPECT_FALSE(scene.runOperation({true, modeBit(moFACES)}, [&] {
    moObject *cube = scene.object(0);
    cube->vertices[0].Coordinates.x = 99; // half-done change
    while (true)
      cube->appendFace(); // runs into the face limit
    return true;
  }));
  EXPECT_EQ(ui.messages.back(), "That would exceed the maximum face count.");
  EXPECT_TRUE(scene.selection.Empty());
  ASSERT_NE(scene.object(0), nullptr);
  EXPECT_EQ(scene.object(0)->faces.count(), 6);
  EXPECT_EQ(scene.object(0)->vertices[0].Coordinates.x, -10);
  EXPECT_NE(scene.object(0), before); // the private copy came back
  EXPECT_TRUE(objectLocallyValid(*scene.object(0), false));
}

// A layer whose one-texel image holds a single colour.
struct FlatLayer : PaintLayer {
  FlatLayer() {
    image.reshape(1, 1);
    image.at(0, 0) = packRgba(10, 20, 30);
  }
  Kind kind() const override { return kPerCorner; }
  std::unique_ptr<PaintLayer> clone() const override { return std::make_unique<FlatLayer>(); }
  void cornerTexCoords(const moObject &, int32_t, float uv[6]) const override {
    std::fill(uv, uv + 6, 0.5f);
  }
};

TEST_F(SceneTest, PaintedObjectGuardAsksNothingAndKeepsOnlyPaintedTriangles) {
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cube);
  moObject *tet = scene.object(0), *cube = scene.object(2);
  tet->paintLayer = std::make_unique<FlatLayer>();
  for (moObject *obj : {tet, cube}) {
    for (int32_t v : {0, 2, 1})
      obj->triangleVertices.append(v);
    obj->triangleFaces.append(0);
  }
  scene.SetObjectVisible(1, false);
  select(moOBJECTS, {{1, 1}, {0, 0}, {2, 2}});

  scene.PaintedObjectGuard();
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{0, 0}, {2, 2}})); // the hidden entry is gone
  EXPECT_NE(tet->paintLayer, nullptr);
  EXPECT_EQ(tet->triangleFaces.count(), 1); // kept for carrying the paint
  EXPECT_EQ(cube->triangleFaces.count(), 0);
}

TEST_F(SceneTest, DeleteAllThenUndoBringsEveryObjectBack) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Sphere);
  moObject *sphere = scene.object(1);
  scene.DeleteAll();
  EXPECT_EQ(scene.objects.count(), 0);
  EXPECT_EQ(scene.objects.objectCount(), 0);
  scene.Undo(false);
  ASSERT_EQ(scene.objects.count(), 2);
  EXPECT_EQ(scene.object(0)->name, "cube0");
  EXPECT_EQ(scene.object(1), sphere);
  // The deleted table was empty, so there is nothing to go back to.
  scene.Undo(false);
  EXPECT_EQ(ui.messages.back(), "No further undo available");
  EXPECT_EQ(scene.objects.count(), 2);
}

} // namespace
