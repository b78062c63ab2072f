#include "ops/drag.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"
#include "tests/ops/ops_fixture.h"

// Drives drag kinds as the controller does: accumulated motion since the press, Shift changes
// replayed as motions of size 0.
class DragTest : public OpsTest {
protected:
  DragMotion motion;
  int32_t slot = -1;

  void SetUp() override { slot = add(cubeMesh()); }
  void drag(int32_t kind, int32_t dx, int32_t dy = 0) {
    motion.dx = dx;
    motion.dy = dy;
    motion.accumulatedX += dx;
    motion.snap.cause = MotionCause::Pointer;
    applyDragStep(scene, kind, motion);
  }
  void pixels(int32_t kind, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
      drag(kind, 1);
  }
  void shift(int32_t kind, bool down) {
    motion.snap = {down, MotionCause::Shift};
    motion.dx = motion.dy = 0;
    applyDragStep(scene, kind, motion);
  }
};

TEST_F(DragTest, MoveAxisWithShiftHeldJumpsAfterAHundredPixels) {
  select(moVERTICES, {{7, slot}});
  ASSERT_TRUE(Move(scene, false));
  motion.snap.snap = true;
  pixels(kDragMoveAxis, 99);
  EXPECT_EQ(1.0f, at(slot, 7).x);
  pixels(kDragMoveAxis, 1);
  EXPECT_NEAR(11.0f, at(slot, 7).x, 1e-5f);
}

TEST_F(DragTest, ShiftPressSnapsBackAndReleaseGivesTheRemainderBack) {
  select(moVERTICES, {{7, slot}});
  ASSERT_TRUE(Move(scene, false));
  drag(kDragMoveAxis, 130);
  EXPECT_NEAR(14.0f, at(slot, 7).x, 1e-4f);
  shift(kDragMoveAxis, true);
  EXPECT_NEAR(11.0f, at(slot, 7).x, 1e-4f);
  shift(kDragMoveAxis, false);
  EXPECT_NEAR(14.0f, at(slot, 7).x, 1e-4f);
  motion.axis = {0, 0, -1};
  drag(kDragMoveAxis, -30); // leftward along -z
  EXPECT_NEAR(4.0f, at(slot, 7).z, 1e-4f);
}

TEST_F(DragTest, FreeMoveFollowsTheWorldStepAndSnapsEachComponent) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Move(scene, false));
  motion.worldStep = {2, -3, 0.5f};
  drag(kDragMoveFree, 4, 6);
  expectNear({3, -2, 1.5f}, at(slot, 7));
  motion.snap.snap = true;
  for (int i = 0; i < 3; ++i)
    drag(kDragMoveFree, 4, 6); // x crosses 10 at the fifth unit of 2; y reaches -12
  expectNear({3, -12, 1.5f}, at(slot, 7));
  drag(kDragMoveFree, 4, 6);
  expectNear({13, -12, 1.5f}, at(slot, 7));
}

TEST_F(DragTest, MoveNormalFollowsVertexNormals) {
  select(moVERTICES, {{7, slot}});
  ASSERT_TRUE(Move(scene, true));
  drag(kDragMoveNormal, 10 * 3); // 3 units along (1, 1, 1) / sqrt 3
  expectNear({1 + std::sqrt(3.0f), 1 + std::sqrt(3.0f), 1 + std::sqrt(3.0f)}, at(slot, 7));
}

TEST_F(DragTest, ExtrudeKindsMoveThenShrinkAboutTheMovedCentres) {
  select(moFACES, {{0, slot}}); // x = +1
  ASSERT_TRUE(Move(scene, true));
  drag(kDragExtrudeNormal, 20); // out by 1, shrunk by 5 %
  expectNear({2, 0.95f, 0.95f}, at(slot, 7));
  motion.axis = {0, 1, 0};
  drag(kDragExtrudeAxis, 20); // up by 1, shrunk by 5 % about the new centre (2, 1, 0)
  expectNear({2, 1 + 0.95f * 0.95f, 0.95f * 0.95f}, at(slot, 7));
  drag(kDragExtrudeFree, 0, 20); // (0, 1, 0) then 5 %
  expectNear({2, 2 + 0.95f * 0.95f * 0.95f, 0.95f * 0.95f * 0.95f}, at(slot, 7), 2e-4f);
}

TEST_F(DragTest, ScaleKindsDoubleAfterSixHundredNinetyThreePixels) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Scale(scene));
  drag(kDragScaleUniform, 693);
  expectNear({2, 2, 2}, at(slot, 7), 2e-3f);
  motion = {};
  motion.axis = {0, 1, 0};
  drag(kDragScaleAxis, 693);
  expectNear({2, 4, 2}, at(slot, 7), 5e-3f);
  motion = {};
  motion.axis = {0, 1, 0};
  drag(kDragScaleRadial, -693);
  expectNear({1, 4, 1}, at(slot, 7), 5e-3f);
}

TEST_F(DragTest, SnappedScaleChangesOnlyAtPowersOfTwo) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Scale(scene));
  motion.snap.snap = true;
  drag(kDragScaleUniform, 690);
  EXPECT_EQ(1.0f, at(slot, 7).x);
  drag(kDragScaleUniform, 10); // the accumulated factor passes 2
  EXPECT_NEAR(2.0f, at(slot, 7).x, 1e-5f);
  drag(kDragScaleUniform, -1000); // 1.001^-300 is 0.74: back to 1
  EXPECT_NEAR(1.0f, at(slot, 7).x, 1e-5f);
  drag(kDragScaleUniform, -500); // 1.001^-800 is 0.45: down to 1/2
  EXPECT_NEAR(0.5f, at(slot, 7).x, 1e-5f);
}

TEST_F(DragTest, RotateKindsTurnByATenthOfADegreePerPixel) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Rotate(scene, false, true));
  motion.axis = {0, 0, 1};
  drag(kDragRotateAxis, 900);
  expectNear({-1, 1, 1}, at(slot, 7));
  motion = {};
  motion.viewDirection = {0, 0, 2}; // normalised by the step
  motion.snap.snap = true;
  pixels(kDragRotateFree, 149);
  expectNear({-1, 1, 1}, at(slot, 7));
  pixels(kDragRotateFree, 1); // 15 degrees
  const float c = std::cos(15 * float(kDegreesToRadians)),
              s = std::sin(15 * float(kDegreesToRadians));
  expectNear({-c - s, c - s, 1}, at(slot, 7));
}

TEST_F(DragTest, RotateNormalTurnsAFaceAboutItsOwnNormal) {
  select(moFACES, {{4, slot}}); // z = +1
  ASSERT_TRUE(Rotate(scene, true, true));
  drag(kDragRotateNormal, 900);
  expectNear({-1, 1, 1}, at(slot, 7));
  expectNear({1, 1, -1}, at(slot, 3)); // not on the face
}

TEST_F(DragTest, TightenAndTwistStepsUseTheSmallAmount) {
  select(moVERTICES, {{7, slot}});
  ASSERT_TRUE(Tighten(scene));
  drag(kDragTighten, 100); // M = 5, half-way to the neighbours' mean
  expectNear({2 / 3.0f, 2 / 3.0f, 2 / 3.0f}, at(slot, 7));

  const int32_t other = add(cubeMesh());
  select(moOBJECTS, {{other, other}});
  ASSERT_TRUE(Twist(scene));
  motion = {};
  motion.axis = {0, 1, 0};
  drag(kDragTwist, 1800); // M = 90 degrees per unit: y = +1 turns by 90
  expectNear({-1, 1, 1}, at(other, 2));
}

TEST_F(DragTest, NoiseGivesTheSameOffsetsForTheSameAmount) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Move(scene, false));
  const moObject before = *scene.object(slot);
  motion.axis = {0, 1, 0};
  for (int32_t kind : {int32_t(kDragNoiseAxis), int32_t(kDragNoiseRandom)}) {
    drag(kind, 40);
    EXPECT_FALSE(meshDifference(before, *scene.object(slot)).empty());
    drag(kind, -40); // the same draws with the opposite amount
    for (int32_t v = 0; v < 8; ++v)
      expectNear(before.vertices[v].Coordinates, at(slot, v), 1e-5f);
  }
}

TEST_F(DragTest, KindsWithoutARowChangeNothingAndKeepTheStatusLine) {
  select(moOBJECTS, {{slot, slot}});
  ASSERT_TRUE(Move(scene, false));
  const moObject before = *scene.object(slot);
  for (int32_t kind : {int32_t(kDragLiftHinge), int32_t(kDragBevel), int32_t(kDragInset),
                       int32_t(kDragPuff), 99, -7})
    drag(kind, 50);
  EXPECT_EQ("", meshDifference(before, *scene.object(slot)));
  EXPECT_EQ(nullptr, dragPrompt(kDragRotateFree));
  EXPECT_STREQ("Use the mouse to move, then (CLICK-L)", dragPrompt(kDragMoveNormal));
}
