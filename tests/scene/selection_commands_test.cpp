#include "tests/scene/scene_fixture.h"

namespace {

TEST_F(SceneTest, DeselectThenReselectRestoresEntriesOrderAndMode) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moEDGES, {{5, 0}, {2, 0}, {9, 0}});
  scene.DeselectReselect();
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(scene.mode, moFREE);
  scene.DeselectReselect();
  EXPECT_EQ(scene.mode, moEDGES);
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{5, 0}, {2, 0}, {9, 0}}));

  Scene empty(ui);
  empty.mode = moFACES;
  empty.DeselectReselect();
  EXPECT_EQ(empty.mode, moFREE);
}

TEST_F(SceneTest, SelectAllListsEachObjectOnceFromTheHighestIndex) {
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  scene.createPrimitive(PrimitiveType::Cube);
  select(moVERTICES, {{0, 0}, {1, 1}, {2, 0}});
  EXPECT_TRUE(scene.SelectAll(moVERTICES));
  const auto all = selected();
  ASSERT_EQ(all.size(), 12u);
  // Walking from the last entry: object 0 first, its vertices from the highest down.
  EXPECT_EQ(all[0], (ElementRef{3, 0}));
  EXPECT_EQ(all[3], (ElementRef{0, 0}));
  EXPECT_EQ(all[4], (ElementRef{7, 1}));
  EXPECT_EQ(scene.previousSelection.Count(), 3);
  EXPECT_EQ(scene.previousMode, moVERTICES);

  EXPECT_TRUE(scene.SelectAll(moOBJECTS));
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{0, 0}, {1, 1}}));
  EXPECT_TRUE(scene.SelectAll(moFREE));
  EXPECT_EQ(ui.messages.back(), "select all has mode of moFREE!");
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(scene.mode, moFREE);
  EXPECT_FALSE(scene.SelectAll(moFACES));
  EXPECT_EQ(ui.messages.back(), "no elements selected");

  Scene none(ui);
  EXPECT_FALSE(none.SelectAll(moOBJECTS));
  EXPECT_EQ(ui.messages.back(), "no objects in scene");
}

TEST_F(SceneTest, SelectAdjacentFromACubeVertex) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moVERTICES, {{0, 0}});
  EXPECT_TRUE(scene.SelectAdjacent(moVERTICES));
  EXPECT_EQ(scene.selection.Count(), 4);
  EXPECT_EQ(scene.selection.Get(0), (ElementRef{0, 0}));
  select(moVERTICES, {{0, 0}});
  EXPECT_TRUE(scene.SelectAdjacent(moFACES));
  EXPECT_EQ(scene.selection.Count(), 3);
  EXPECT_EQ(scene.mode, moFACES);
  select(moVERTICES, {{0, 0}});
  EXPECT_TRUE(scene.SelectAdjacent(moEDGES));
  EXPECT_EQ(scene.selection.Count(), 3);
  select(moVERTICES, {{0, 0}});
  ui.messages.clear();
  scene.SelectAdjacent(moNONE);
  EXPECT_EQ(ui.messages, std::vector<std::string>(3, "select neighbor of mode moNONE"));
  select(moOBJECTS, {{0, 0}});
  EXPECT_FALSE(scene.SelectAdjacent(moVERTICES));
}

TEST_F(SceneTest, GrowFromACubeFaceThenShrinkBack) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  EXPECT_TRUE(scene.Grow());
  EXPECT_EQ(scene.selection.Count(), 5);
  EXPECT_FALSE(scene.selection.Contains({1, 0})); // the opposite face
  EXPECT_TRUE(scene.Shrink());
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{0, 0}}));
}

TEST_F(SceneTest, GrowVerticesAndEdgesOnACube) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moVERTICES, {{0, 0}});
  scene.Grow();
  EXPECT_EQ(scene.selection.Count(), 4);
  select(moEDGES, {{0, 0}});
  scene.Grow();
  EXPECT_EQ(scene.selection.Count(), 5); // itself and two more at each end
  EXPECT_EQ(scene.selection.Get(0), (ElementRef{0, 0}));
  EXPECT_TRUE(scene.Shrink()); // only the first edge has its whole neighbourhood selected
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{0, 0}}));
}

TEST_F(SceneTest, EdgeLoopRunsRoundATorusButStopsOnACube) {
  scene.createPrimitive(PrimitiveType::Torus);
  select(moEDGES, {{0, 0}});
  EXPECT_TRUE(scene.EdgeLoop());
  const int32_t loop = scene.selection.Count();
  EXPECT_TRUE(loop == 8 || loop == 16) << loop; // a ring of the 16 x 8 torus
  // Every edge of the loop continues straight through its ends.
  scene.createPrimitive(PrimitiveType::Cube);
  select(moEDGES, {{3, 1}});
  EXPECT_TRUE(scene.EdgeLoop());
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{3, 1}}));
  select(moFACES, {{3, 1}});
  EXPECT_FALSE(scene.EdgeLoop());
}

TEST_F(SceneTest, SetModeEmptyKeepsTheOldSelectionAsPrevious) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moFACES, {{2, 0}});
  EXPECT_TRUE(scene.SetModeEmpty(moVERTICES));
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(scene.mode, moVERTICES);
  EXPECT_EQ(scene.previousSelection.Count(), 1);
  EXPECT_FALSE(scene.SetModeEmpty(moEDGES));
  EXPECT_EQ(ui.messages.back(), "no elements selected");
}

TEST_F(SceneTest, ClickTogglesAndDragFollowsTheFirstClick) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.mode = moFREE;
  EXPECT_TRUE(scene.ClickSelect({3, 0}, moFACES, true));
  EXPECT_EQ(scene.mode, moFACES);
  scene.DragSelect({4, 0}, true);
  scene.DragSelect({4, 0}, true);
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{3, 0}, {4, 0}}));
  EXPECT_FALSE(scene.ClickSelect({3, 0}, moFACES, true));
  scene.DragSelect({4, 0}, false);
  EXPECT_TRUE(scene.selection.Empty());
}

TEST_F(SceneTest, EntriesNamingMissingObjectsOrElementsAreSkipped) {
  scene.createPrimitive(PrimitiveType::Cube);
  select(moFACES, {{99, 0}, {0, 7}, {-5, 0}, {1, 0}});
  EXPECT_TRUE(scene.Grow());
  EXPECT_EQ(scene.selection.Count(), 5);
  select(moEDGES, {{500, 0}, {2, 3}});
  EXPECT_TRUE(scene.EdgeLoop());
  EXPECT_TRUE(scene.selection.Empty());
  select(moVERTICES, {{100, 0}});
  EXPECT_TRUE(scene.SelectAdjacent(moFACES));
  EXPECT_TRUE(scene.selection.Empty());
}

} // namespace
