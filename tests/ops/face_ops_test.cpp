#include "ops/bevel.h"
#include "ops/chip_off.h"
#include "ops/drag.h"
#include "ops/inset.h"
#include "ops/lift.h"
#include "ops/transform_move.h"
#include "tests/ops/ops_test_support.h"

#include <cmath>

namespace {

class FaceOpsTest : public OpsSceneTest {};

float sideLength(const std::vector<moVec3> &corners) { return distance(corners[0], corners[1]); }

TEST_F(FaceOpsTest, InsetMovesEverySideInwardByTheAmount) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Inset(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{12, 20, 10}), countElements(obj()));
  insetStep(scene, 2.0f);
  const std::vector<moVec3> face = facePoints(obj(), 0);
  EXPECT_NEAR(sideLength(face), 16.0f, 1e-4f);
  EXPECT_NEAR(distance(face[0], face[2]), 16.0f * std::sqrt(2.0f), 1e-3f);
  insetStep(scene, -10.0f); // outward without a limit
  EXPECT_NEAR(sideLength(facePoints(obj(), 0)), 36.0f, 1e-3f);
  expectUndoRestores(before);
}

TEST_F(FaceOpsTest, InsetDraggedFarStopsShortOfTheCornersMeeting) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  ASSERT_TRUE(Inset(scene));
  const moVec3 n = obj().faceNormal(0, true), centre = obj().faceCentroid(0);
  for (int i = 0; i < 300; ++i)
    insetStep(scene, 5.0f);
  for (const moVec3 &p : facePoints(obj(), 0)) {
    const float d = distance(p, centre);
    EXPECT_GT(d, 0.0f);
    EXPECT_LT(d, 0.05f);
  }
  EXPECT_GT(dot(obj().faceNormal(0, false), n), 0.0f); // never turned inside out
}

TEST_F(FaceOpsTest, InsetOfObjectsInsetsEveryOldFace) {
  add(PrimitiveType::Cube);
  select(moOBJECTS, {{0, 0}});
  ASSERT_TRUE(Inset(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{32, 60, 30}), countElements(obj()));
  insetStep(scene, 1.0f);
  for (int32_t f = 0; f < 6; ++f)
    EXPECT_NEAR(sideLength(facePoints(obj(), f)), 18.0f, 1e-4f);
}

TEST_F(FaceOpsTest, BevelOfACubeVertexGrowsUntilFortyPercentOfAnEdge) {
  add(PrimitiveType::Cube);
  select(moVERTICES, {{7, 0}});
  const moVec3 corner = obj().vertices[7].Coordinates;
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Bevel(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{10, 15, 7}), countElements(obj()));
  ASSERT_EQ(scene.previousSelection.Count(), 3);
  EXPECT_TRUE(scene.selection.Empty());
  for (const moVec3 &o : scene.elementVectors)
    EXPECT_NEAR(length(o), 0.1f, 1e-5f);
  bevelStep(scene, 1000.0f);
  for (int32_t i = 0; i < 3; ++i) {
    const moVec3 &p = obj().vertices[scene.previousSelection.Get(i).element].Coordinates;
    EXPECT_NEAR(distance(p, corner), 0.1f + 0.4f * 19.9f, 1e-3f);
  }
  expectUndoRestores(before);
}

TEST_F(FaceOpsTest, BevelOfOneCubeEdgeIsAChamfer) {
  add(PrimitiveType::Cube);
  select(moEDGES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Bevel(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{10, 15, 7}), countElements(obj()));
  EXPECT_EQ(scene.previousSelection.Count(), 4);
  bevelStep(scene, 1.0f);
  expectAllValid();
  expectUndoRestores(before);
}

TEST_F(FaceOpsTest, BevelOfEverySharpEdgeChamfersTheWholeCube) {
  add(PrimitiveType::Cube);
  select(moOBJECTS, {{0, 0}});
  ASSERT_TRUE(Bevel(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{24, 48, 26}), countElements(obj()));
  const std::vector<moObject> bevelled = snapshot();
  bevelStep(scene, 1.0f); // no drag in objects mode
  EXPECT_EQ(meshDifference(obj(), bevelled[0]), "");
}

TEST_F(FaceOpsTest, BevelOfAFaceKeepsTheSelection) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  ASSERT_TRUE(Bevel(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{12, 20, 10}), countElements(obj()));
  EXPECT_EQ(scene.selection.Count(), 1);
}

TEST_F(FaceOpsTest, ChipOffMakesATwoFacedObjectThatMoves) {
  add(PrimitiveType::Cube);
  select(moFACES, {{2, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(ChipOff(scene, false));
  expectAllValid();
  ASSERT_NE(scene.object(1), nullptr);
  EXPECT_EQ((ElementCounts{4, 4, 2}), countElements(obj(1)));
  EXPECT_EQ(obj(1).name, "unnamed_object");
  EXPECT_EQ(countElements(obj(0)), countElements(before[0]));
  ASSERT_EQ(scene.selection.Count(), 1);
  EXPECT_EQ(scene.selection.Get(0), (ElementRef{0, 1}));
  translateSelection(scene, {0, 0, 5});
  EXPECT_EQ(meshDifference(obj(0), before[0]), "");
  scene.Undo(false);
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(scene.object(1), nullptr);
}

TEST_F(FaceOpsTest, ChipOffEachNamesEveryChipAfterItsSlot) {
  add(PrimitiveType::Cube);
  select(moFACES, {{2, 0}, {4, 0}});
  ASSERT_TRUE(ChipOffEach(scene, true));
  expectAllValid();
  EXPECT_EQ(obj(1).name, "chipoff1");
  EXPECT_EQ(obj(2).name, "chipoff2");
  EXPECT_EQ(scene.selection.Get(1), (ElementRef{0, 2}));
  EXPECT_EQ(scene.previousSelection.Count(), 8);
}

TEST_F(FaceOpsTest, LiftFromEdgeSwingsTheFaceOpenOnItsHinge) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  const int32_t hinge = obj().faces[0].EdgeIndex;
  const moVec3 n = obj().faceNormal(0, true), centre = obj().faceCentroid(0);
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(LiftFromEdge(scene, {hinge, 0}, false));
  expectAllValid();
  EXPECT_EQ((ElementCounts{10, 17, 9}), countElements(obj()));
  EXPECT_EQ(scene.previousSelection.Count(), 2);
  liftRotateStep(scene, 30.0f);
  expectAllValid();
  EXPECT_GT(dot(subtract(obj().faceCentroid(0), centre), n), 1.0f);
  EXPECT_TRUE(equals(obj().vertices[obj().edges[hinge].Tail].Coordinates,
                     before[0].vertices[before[0].edges[hinge].Tail].Coordinates));
  expectUndoRestores(before);
}

TEST_F(FaceOpsTest, LiftFromVertexPushesTheFaceOutAlongItsNormal) {
  add(PrimitiveType::Cube);
  std::vector<int32_t> corners;
  obj().faceVertices(0, corners);
  select(moFACES, {{0, 0}});
  const moVec3 n = obj().faceNormal(0, true);
  const moVec3 far = obj().vertices[corners[2]].Coordinates;
  ASSERT_TRUE(LiftFromVertex(scene, {corners[0], 0}, true));
  expectAllValid();
  EXPECT_EQ((ElementCounts{11, 19, 10}), countElements(obj()));
  liftMoveStep(scene, 2.0f);
  EXPECT_EQ(obj().faceVertices(0, corners), 4);
  EXPECT_NEAR(dot(subtract(obj().vertices[corners[2]].Coordinates, far), n), 2.0f, 1e-4f);
}

TEST_F(FaceOpsTest, DragTableRunsTheInsetBevelAndLiftSteps) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  ASSERT_TRUE(Inset(scene));
  DragMotion motion;
  motion.dx = motion.accumulatedX = 40; // 2 units at 0.05 per pixel
  applyDragStep(scene, kDragInset, motion);
  EXPECT_NEAR(sideLength(facePoints(obj(), 0)), 16.0f, 1e-4f);
  EXPECT_STREQ(dragPrompt(kDragInset), "Move the mouse to size the inset, then (CLICK-L)");
  EXPECT_STREQ(dragPrompt(kDragBevel),
               "Move the mouse to increase (or decrease) the bevel amount, then (CLICK-L)");
  EXPECT_EQ(dragPrompt(kDragLiftHinge), nullptr);
  const moVec3 n = obj().faceNormal(0, true), centre = obj().faceCentroid(0);
  ASSERT_TRUE(LiftFromEdge(scene, {obj().faces[0].EdgeIndex, 0}, true));
  applyDragStep(scene, kDragLiftVertices, motion);
  EXPECT_GT(dot(subtract(obj().faceCentroid(0), centre), n), 0.5f);
}

TEST_F(FaceOpsTest, LiftRefusals) {
  add(PrimitiveType::Cube);
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}, {1, 0}});
  EXPECT_FALSE(LiftFromEdge(scene, {0, 0}, false));
  select(moFACES, {{0, 0}});
  EXPECT_FALSE(LiftFromVertex(scene, {0, 1}, false));
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{"LiftFromEdge Implemented for one element only",
                                      "can only lift face from vertex on same body!"}));
}

} // namespace
