#include "core/mesh_validation.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/mesh_fixtures.h"

#include <random>

namespace {

TEST_F(SceneTest, UndoAtStartHasNothingToGoBackTo) {
  scene.Undo(false);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No further undo available"});
}

TEST_F(SceneTest, UndoTwiceReturnsToTheChangedState) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moVERTICES, {{0, 0}});
  scene.SaveUndo();
  scene.object(0)->vertices[0].Coordinates.x = 5; // a vertex moved by an operation
  scene.Undo(false);
  EXPECT_EQ(scene.object(0)->vertices[0].Coordinates.x, -10);
  scene.Undo(false);
  EXPECT_EQ(scene.object(0)->vertices[0].Coordinates.x, 5);
}

TEST_F(SceneTest, UnselectedObjectsAreSharedNotCopied) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Sphere);
  moObject *a = scene.object(0), *b = scene.object(1);
  select(moFACES, {{0, 0}});
  scene.SaveUndo();
  EXPECT_EQ(scene.backup.get(1), b);
  EXPECT_NE(scene.backup.get(0), a);
  EXPECT_EQ(meshDifference(*scene.backup.get(0), *a), "");
  a->setFaceColor(0, {1, 2, 3, 4});
  scene.Undo(false);
  EXPECT_EQ(scene.object(1), b);
  EXPECT_EQ(scene.object(0)->cornerColorAt(1, 0), kWhite);
}

TEST_F(SceneTest, ClearSelectionOnUndoEmptiesBothLists) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  scene.previousSelection.Append({1, 0});
  scene.SaveUndo();
  scene.clearSelectionOnUndo = true;
  scene.Undo(false);
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_TRUE(scene.previousSelection.Empty());
}

TEST_F(SceneTest, UndoCommandLeavesModeFreeAndNoSelection) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  select(moFACES, {{0, 0}});
  scene.UndoCommand();
  EXPECT_EQ(scene.mode, moFREE);
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(scene.objects.objectCount(), 1); // back to before the cone
  scene.UndoCommand();                       // toggles back to after the cone
  EXPECT_EQ(scene.objects.objectCount(), 2);
  // The state before the first object was an empty table, which is no undo state at all.
  Scene fresh(ui);
  fresh.createPrimitive(PrimitiveType::Cube);
  fresh.UndoCommand();
  EXPECT_EQ(fresh.objects.objectCount(), 1);
  EXPECT_EQ(ui.messages.back(), "No further undo available");
}

TEST_F(SceneTest, NewObjectAfterUndoTakesTheLowestEmptySlot) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cube);
  scene.UndoCommand();
  EXPECT_EQ(scene.createPrimitive(PrimitiveType::Cube), 1);
  EXPECT_EQ(scene.object(1)->name, "cube1");
  EXPECT_EQ(scene.objects.count(), 2);
}

// Long random runs of creation, selection commands, changes, DeleteAll and Undo: every object in
// both tables stays valid, and undoing twice gives back identical meshes.
TEST_F(SceneTest, RandomCommandSequencesKeepBothTablesValid) {
  std::mt19937 rng(1234);
  const auto pick = [&](int32_t n) { return n > 0 ? int32_t(rng() % uint32_t(n)) : 0; };
  for (int step = 0; step < 600; ++step) {
    switch (rng() % 11) {
    case 0:
    case 1:
      if (scene.objects.objectCount() < 6) {
        int32_t lowestEmpty = 0;
        while (scene.object(lowestEmpty))
          ++lowestEmpty;
        ASSERT_EQ(scene.createPrimitive(PrimitiveType(pick(kPrimitiveTypeCount))), lowestEmpty)
            << "step " << step;
      }
      break;
    case 2: {
      scene.SetMode(SelectionMode(pick(4)));
      const int32_t slot = pick(scene.objects.count());
      if (moObject *obj = scene.object(slot))
        scene.selection.Append(
            {scene.mode == moOBJECTS ? slot : pick(obj->vertices.count()), slot});
      break;
    }
    case 3:
      scene.Grow();
      break;
    case 4:
      scene.SelectAdjacent(pick(4));
      break;
    case 5:
      scene.SelectAll(pick(4));
      break;
    case 6:
      scene.DeselectReselect();
      break;
    case 7: // an operation that recolours selected faces
      scene.runOperation({false, modeBit(moFACES)}, [&] {
        for (int32_t i = 0; i < scene.selection.Count(); ++i) {
          const ElementRef ref = scene.selection.Get(i);
          if (scene.elementExists(ref, moFACES))
            scene.object(ref.object)->setFaceColor(ref.element, {uint8_t(step), 0, 0, 255});
        }
        return true;
      });
      break;
    case 8:
      if (rng() % 4 == 0)
        scene.DeleteAll();
      break;
    case 9: {
      if (scene.objects.count() == 0 || scene.backup.count() == 0)
        break; // a swap with an empty table cannot be undone twice
      std::vector<moObject> before;
      for (int32_t i = 0; i < scene.objects.count(); ++i)
        if (scene.object(i))
          before.push_back(*scene.object(i));
      scene.Undo(false);
      scene.Undo(false);
      std::vector<moObject> after;
      for (int32_t i = 0; i < scene.objects.count(); ++i)
        if (scene.object(i))
          after.push_back(*scene.object(i));
      ASSERT_EQ(before.size(), after.size()) << "step " << step;
      for (size_t k = 0; k < before.size(); ++k)
        ASSERT_EQ(meshDifference(before[k], after[k]), "") << "step " << step;
      break;
    }
    default:
      scene.UndoCommand();
    }
    for (const ObjectTable *table : {&scene.objects, &scene.backup})
      for (int32_t i = 0; i < table->count(); ++i)
        if (const moObject *obj = table->get(i)) {
          ASSERT_TRUE(objectLocallyValid(*obj, false)) << "step " << step << " slot " << i;
        }
  }
}

} // namespace
